// A shared handle on an open file: positioning, whole-array binary reads and
// writes, lines, fixed-length strings and text numbers. Copies of a handle
// share one stream and one position; the last copy to go closes the stream.
// Binary values move in the byte order of the running machine.
//
//   QXFile file("data.bin", QXFile::ReadOnly);
//   QXMutableDoubleArray values(100, 1, 1);
//   if (!file.ReadBinary(values)) ...  // reported; the values read are kept
//
// Only regular files open: a directory, a pipe or a device is reported and
// gives a handle without a stream, and opening never waits for a writer. A
// handle opened for writing holds an exclusive advisory lock (flock) on the
// file until its last copy goes; a second writer is told so and gets a
// read-only handle, and NewReadWrite leaves a file that another writer holds
// as it is.
//
// Failures report through QXErrorMessage and return false, "", 0 or NaN.
// Handles are not locked: use a handle and its copies from one thread at a time.
#ifndef QXFILE_H
#define QXFILE_H

#include <cstddef>
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
  // Opens the path; when that fails, reports "Could not open the file
  // "<path>"" under "QXFile(name,type)" and keeps a handle without a stream
  // (IsOpen() false) whose flag still follows the mode. A path that is not a
  // regular file adds the reason (": it is a directory.", ": it is a pipe.",
  // ...); a directory is never removed. When another handle holds the file
  // for writing, ExistingReadWrite reports "The file "<path>" is open for
  // writing elsewhere; it was opened read-only." and gives a read-only
  // handle, and NewReadWrite reports "... elsewhere; it was left as it is."
  // and gives no stream.
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

  // Positioned access for the storages, which report under their own names:
  // these report nothing, leave errno telling why they failed, and neither
  // use nor move the stream's position and buffer. Do not mix them with the
  // stream calls above on one handle without a Flush() in between.
  //
  // True when all count bytes were read from offset on.
  bool ReadAt(long offset, void* bytes, size_t count) const;
  // The bytes read from offset on, fewer at the end of the file; -1 on an
  // error or a handle without a stream.
  long ReadSomeAt(long offset, void* bytes, size_t count) const;
  // True when all count bytes were written from offset on; false without
  // writing for a handle that is not open or read-only.
  bool WriteAt(long offset, const void* bytes, size_t count);
  // Cuts the file to length bytes; false for a handle that may not write.
  bool Truncate(long length);
  // The file's size as the system has it now; -1 when it cannot be told.
  long Size() const;

 private:
  // Drops this handle's share; the last one closes the stream.
  void Release();
  // Reports under operation and returns false unless the handle may write.
  bool CanWrite(const std::string& operation) const;
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
