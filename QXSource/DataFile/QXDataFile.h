// The library's own binary data file ("Varnholm Binary File v1"): named,
// typed arrays of up to three dimensions and strings, appended one after
// another and indexed by name when the file is opened. Every number in the
// file is big-endian, so a file reads the same on every machine.
//
//   QXDataFile file("results.vbf", QXFile::NewReadWrite);
//   file.Save(A, "grid");                          // appends an entry
//   QXIntArray I = file.ReadIntArray("grid");      // converted on reading
//
// Saving never rewrites the file: a name saved again gets a new entry at the
// end, and the last entry of a name is the one that counts. Copies of a
// QXDataFile share one index and one file; use them from one thread at a time.
// A handle opened for writing holds the file's write lock (see QXFile): a
// second writer, in this process or another, is told and gets a read-only
// handle.
//
// What a save promises:
// - A save that returns without a report is in the file and reads back
//   after reopening: each entry goes to the file in one write (large arrays
//   in a few), with no buffer left to flush.
// - A save that fails is reported and leaves the file as it was: what did
//   arrive is taken back, and the index never names bytes that are not there.
// - Bytes the storage did not just write are never removed without a report.
//   A last entry cut short by an interrupted save is removed by the first
//   save, which reports its name and size, and only when no intact entry
//   follows it (a damaged block length looks the same). A file damaged in
//   the middle, a file without the data-file header, and a file that grew
//   since it was opened refuse every save with one report each; reads of
//   what was indexed work.
#ifndef QXDATAFILE_H
#define QXDATAFILE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "QXDataStorage.h"
#include "QXFile.h"

struct QXDataEntry;
struct QXDataFileContent;

class QXDataFile : public QXDataStorage {
 public:
  // Takes the opened handle and indexes the file. An empty file that may be
  // written gets the file header. A file that does not start with the header
  // is reported and gives an empty index; a damaged entry is reported and
  // ends the index, a truncated last entry ends it silently.
  explicit QXDataFile(QXFile file);
  // Opens the path in the given mode, then as above: NewReadWrite starts a
  // new, empty data file, ExistingReadWrite appends to one.
  QXDataFile(std::string path, QXFile::OpenType type);
  QXDataFile(const QXDataFile& other);
  QXDataFile& operator=(const QXDataFile& other);
  ~QXDataFile() override;

  QXMutablePointer<QXDataStorage> AsPointer() override;
  // Every name, in ascending byte-wise order.
  QXList<std::string> AllVariableNames() const override;
  bool Contains(std::string name) const override;
  bool IsReadOnly() const override;

  // Each save appends one entry at the end of the file. Reports under
  // "QXDataFile::Save" and saves nothing for: "File is read only.", "File is
  // not open.", "The name is longer than 254 characters.", "The name contains
  // a zero byte.", "Not a valid Varnholm binary format; nothing was saved.",
  // "The file is damaged at byte N; nothing was saved.", "The file has
  // changed since it was opened; nothing was saved." and a failed write,
  // "Could not write "name" to the file (reason); nothing was saved.".
  // Numbers are 1 x 1 x 1 int or double arrays.
  void Save(int v, std::string name) override;
  void Save(double v, std::string name) override;
  void Save(const QXDoubleArray& A, std::string name) override;
  void Save(const QXFloatArray& A, std::string name) override;
  void Save(const QXIntArray& A, std::string name) override;
  void Save(const QXCharArray& A, std::string name) override;
  void Save(const QXUCharArray& A, std::string name) override;
  void Save(const QXShortIntArray& A, std::string name) override;
  void Save(const QXUShortIntArray& A, std::string name) override;
  void Save(std::string theString, std::string name) override;

  bool SavedAsDouble(std::string name) const override;
  bool SavedAsString(std::string name) const override;

  void Flush() const override;

  // The stored array converted to the requested element type. A missing name
  // or a string entry is reported and gives the empty array; the char reads
  // return the bytes of a string entry instead.
  QXDoubleArray ReadDoubleArray(std::string name) const override;
  QXFloatArray ReadFloatArray(std::string name) const override;
  QXIntArray ReadIntArray(std::string name) const override;
  QXCharArray ReadCharArray(std::string name) const override;
  QXUCharArray ReadUCharArray(std::string name) const override;
  QXShortIntArray ReadShortIntArray(std::string name) const override;
  QXUShortIntArray ReadUShortIntArray(std::string name) const override;

  // The text of a string entry up to its zero byte; a missing name or another
  // type is reported and gives "".
  std::string ReadString(std::string name) const override;

  // The listing on standard error: a title with the path and the count, then
  // one line per entry in file order. Of more than 400 entries the first 390
  // and the last nine are shown, the cut marked by a "Skipping" line.
  void printInfo() const override;
  // The names that begin with prefix, sorted after they are picked.
  QXList<std::string> NamesWithPrefix(const std::string& prefix) const override;

  // The stream of the file; null when it is not open.
  FILE* GetFILE() const;

 private:
  // Builds the index from the file (construction only).
  void ReadInContent();
  // The entry of the name, or null.
  const QXDataEntry* Find(const std::string& name) const;
  // The data of a small entry as the index keeps them, or null.
  const unsigned char* SmallData(const QXDataEntry& entry) const;
  // Reports and returns false when nothing may be saved under the name.
  bool CanSave(const std::string& name);
  // Appends the entry and indexes it once it is in the file.
  template <class T>
  void AppendEntry(const std::string& name, int type, int m, int n, int o, const T* data,
                   size_t count);
  // The one save and the one read of every array type.
  template <class T>
  void SaveArray(const QXArray<T>& A, const std::string& name);
  template <class T>
  QXArray<T> ReadArray(const std::string& name) const;
  // The entry's elements, stored as Stored, in an array of T.
  template <class Stored, class T>
  QXArray<T> ReadEntry(const QXDataEntry& entry) const;
  // One listing line for the entry, and the value of a one-element entry.
  std::string Describe(const std::string& name, const QXDataEntry& entry) const;
  std::string NumberText(const std::string& name, const QXDataEntry& entry) const;

  QXDataFileContent* content;
};

#endif
