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
#ifndef QXDATAFILE_H
#define QXDATAFILE_H

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

  // Each save appends one entry at the end of the file; the first save drops
  // a last entry that was cut short, which could never be read. A read-only
  // storage, one without an open file, a file that is not a data file, and a
  // name longer than 254 bytes or holding a zero byte are reported and save
  // nothing. Numbers are 1 x 1 x 1 int or double arrays.
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

  // The stream of the file; null when it is not open.
  FILE* GetFILE() const;

 private:
  // Drops this copy's share of the content; the last one deletes it.
  void Release();
  // Builds the index from the file (construction only).
  void ReadInContent();
  // The entry of the name, or null.
  const QXDataEntry* Find(const std::string& name) const;
  // Removes a last entry that was cut short, so that appends follow the last
  // whole entry (first save only).
  void DropPartialTail();
  // Reports and returns false when nothing may be appended under the name.
  bool CanAppend(const std::string& name) const;
  // Indexes the name and appends its entry header, the name and inlineData;
  // an array's data of dataLength bytes follow separately. False when the
  // write failed (reported by the file).
  bool AppendEntry(const std::string& name, int type, int m, int n, int o, int64_t dataLength,
                   const std::string& inlineData);
  // The one save and the one read of every array type.
  template <class T>
  void SaveArray(const QXArray<T>& A, const std::string& name);
  template <class T>
  QXArray<T> ReadArray(const std::string& name) const;
  // The entry's data as stored, in the machine's byte order.
  template <class T>
  QXArray<T> ReadStored(const QXDataEntry& entry) const;
  // One listing line for the entry.
  std::string Describe(const std::string& name, const QXDataEntry& entry) const;

  QXDataFileContent* content;
};

#endif
