// A shared handle on an open file: positioning, whole-array binary reads and
// writes, lines, fixed-length strings and text numbers. Copies of a handle
// share one stream and one position; the last copy to go closes the stream.
// Binary values move in the byte order of the running machine.
//
//   QXFile file("data.bin", QXFile::ReadOnly);
//   QXMutableDoubleArray values(100, 1, 1);
//   if (!file.ReadBinary(values)) ...  // reported; the values read are kept
//
// Failures report through QXErrorMessage and return false, "", 0 or NaN.
// Handles are not locked: use a handle and its copies from one thread at a time.
#ifndef QXFILE_H
#define QXFILE_H

#include <cstdio>
#include <string>

#include "QXCharArray.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXShortIntArray.h"
#include "QXUCharArray.h"
#include "QXUShortIntArray.h"

class QXFile {
 public:
  enum OpenType {
    ReadOnly = 0,           // existing file, mode "r"
    ExistingReadWrite = 1,  // existing file, mode "r+b", nothing truncated
    NewReadWrite = 2        // any old file removed, then mode "w+b"
  };

  // A handle without a stream: read-only, empty name.
  QXFile();
  // Opens the path; when that fails, reports and keeps a handle without a
  // stream (IsOpen() false) whose flag still follows the mode.
  QXFile(const std::string& path, OpenType type);
  QXFile(const QXFile& other);
  QXFile& operator=(const QXFile& other);
  ~QXFile();

  bool IsOpen() const { return file != nullptr; }
  bool IsReadOnly() const { return readOnly; }
  std::string Name() const { return name; }
  // The stream for callers that use it directly; null when not open.
  FILE* GetFILE() const { return file; }

  // Positioning does nothing on a handle without a stream. Position() and
  // Length() return 0 then, and also when the stream cannot tell or seek.
  long Position() const;
  void SetPosition(long offset) const;
  // Seeks relative to the current position; 0 does not seek at all.
  void MovePosition(long offset) const;
  void MoveToEnd() const;
  // The offset of the end; the position is left where it was.
  long Length() const;
  void Flush() const;

  // The bytes up to the next LF or CR, which is consumed but not returned; a
  // CR LF pair therefore yields the line and then an empty line. Returns ""
  // at the end of the file.
  std::string ReadLine() const;
  // Exactly length bytes (zeros kept); "" for length <= 0 without reading.
  // A file holding fewer bytes is reported and gives "".
  std::string ReadString(int length) const;
  // Two bytes in host order; reports and returns 0 when they are not there.
  unsigned short ReadUnsignedShort() const;

  // Fill the array's whole buffer from the file in host order. An empty
  // array gives true without reading. A short read is reported and gives
  // false; the elements read so far stay in the array.
  bool ReadBinary(QXMutableDoubleArray& array) const;
  bool ReadBinary(QXMutableFloatArray& array) const;
  bool ReadBinary(QXMutableIntArray& array) const;
  bool ReadBinary(QXMutableShortIntArray& array) const;
  bool ReadBinary(QXMutableUShortIntArray& array) const;
  bool ReadBinary(QXMutableCharArray& array) const;
  bool ReadBinary(QXMutableUCharArray& array) const;
  // Read length bytes into the start of the array; a length outside
  // [0, array.Length()] is reported as "Invalid length".
  bool ReadBinary(QXMutableCharArray& array, int length) const;
  bool ReadBinary(QXMutableUCharArray& array, int length) const;
  // Reads length bytes into the array from element start on; a range that
  // does not fit the array is reported as "Invalid range".
  bool ReadBinary(QXMutableUCharArray& array, int start, int length) const;

  // Fill the array from white-space or junk separated text numbers; true
  // when every element was filled. The double form gives up at the second
  // unreadable character in a row; the float form skips any run of them.
  bool ReadAscii(QXMutableDoubleArray& array) const;
  bool ReadAscii(QXMutableFloatArray& array) const;
  // The next text number, skipping unreadable characters; NaN when none is left.
  double ReadAsciiNumber() const;

  // Writes report "No file" or "Read only" before trying, and return false.
  // The string's bytes only: no terminator, no length.
  bool WriteString(const std::string& text);
  bool WriteUnsignedShort(unsigned short value);
  bool WriteBinary(const QXDoubleArray& array);
  bool WriteBinary(const QXFloatArray& array);
  bool WriteBinary(const QXIntArray& array);
  bool WriteBinary(const QXShortIntArray& array);
  bool WriteBinary(const QXUShortIntArray& array);
  bool WriteBinary(const QXCharArray& array);
  bool WriteBinary(const QXUCharArray& array);

  // "File = <path>", " [read only]" when read-only, and a line end on standard error.
  void pinfo() const;

 private:
  // Drops this handle's share; the last one closes the stream.
  void Release();
  // Reports under operation and returns false unless the handle may write.
  bool CanWrite(const char* operation) const;
  // The whole-array read and write of every element type.
  template <class T>
  bool ReadArray(QXMutableArray<T>& array) const;
  template <class T>
  bool WriteArray(const QXArray<T>& array);

  std::string name;
  FILE* file;
  bool readOnly;
  int* retainCount;
};

#endif
