// A storage of named variables in a Matlab version 4 matrix file: a plain
// sequence of records, each a 20-byte header, the name and the data. Opening
// walks the file once and indexes every name; reads seek straight to the
// record, and saves append a record and point the index at it. A file of the
// other byte order is recognised from its first record and swapped on reading.
//
//   QXMatlabDataFile storage("results.mat", QXFile::NewReadWrite);
//   storage.Save(A, "speed");                      // any typed array, string or number
//   QXDoubleArray speed = storage.ReadDoubleArray("speed");
//
// Copies of a handle share the index and the file; the last one closes it.
// Failures report through QXErrorMessage and give empty values; a damaged
// file yields the records before the damage.
#ifndef QXMATLABDATAFILE_H
#define QXMATLABDATAFILE_H

#include <cstdio>
#include <string>

#include "QXDataStorage.h"
#include "QXFile.h"

struct QXMatlabDataFileContent;
struct QXMatlabDataEntry;

class QXMatlabDataFile : public QXDataStorage {
 public:
  // Opens the file in the given mode and indexes it. A file that does not
  // open gives an empty index and IsOpen() false.
  QXMatlabDataFile(std::string name, QXFile::OpenType oType);
  // Indexes a file opened by the caller; the handle is shared with the caller.
  explicit QXMatlabDataFile(QXFile file);
  // Copies share the index and the file.
  QXMatlabDataFile(const QXMatlabDataFile& other);
  QXMatlabDataFile& operator=(const QXMatlabDataFile& other);

  // The storage interface, in its order.
  ~QXMatlabDataFile() override;
  QXMutablePointer<QXDataStorage> AsPointer() override;
  // In ascending byte-wise order.
  QXList<std::string> AllVariableNames() const override;
  bool Contains(std::string name) const override;
  bool IsReadOnly() const override;

  // Each save appends one record (a 3-D array also its "_3D" companion) and
  // leaves the old record of the name in the file unreferenced. A read-only
  // or unopened file reports and changes nothing. Numbers are 1 x 1 doubles.
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

  // The record converted to the requested element type, 3-D when a fitting
  // "_3D" companion holds the row count. A missing name, a text record or a
  // record that the file does not hold in full is reported and gives the
  // empty array (a type the read cannot take: a zero-filled one).
  QXDoubleArray ReadDoubleArray(std::string name) const override;
  QXFloatArray ReadFloatArray(std::string name) const override;
  QXIntArray ReadIntArray(std::string name) const override;
  QXCharArray ReadCharArray(std::string name) const override;
  QXUCharArray ReadUCharArray(std::string name) const override;
  QXShortIntArray ReadShortIntArray(std::string name) const override;
  QXUShortIntArray ReadUShortIntArray(std::string name) const override;
  double ReadNumber(std::string name) const override;
  int ReadInt(std::string name) const override;
  // The text up to its first zero byte; "" for an empty record.
  std::string ReadString(std::string name) const override;
  // The listing of every variable, in file order, on standard error.
  void printInfo() const override;

  bool IsOpen() const;
  // The file's stream; null when it is not open.
  FILE* GetFile() const;

 private:
  // Drops this handle's share of the content; the last one deletes it.
  void Release();
  // Walks the file once and builds the index.
  void IndexFile();
  void DropPartialTail();
  // The entry of the name, or null.
  const QXMatlabDataEntry* Find(const std::string& name) const;
  // Reports and returns false when nothing may be saved under the name.
  bool CanSave(const std::string& longestName) const;
  // Appends a record's header and name at the end of the file and indexes it.
  bool AppendHeader(int typeCode, int mrows, int ncols, const std::string& name);
  template <class T>
  void SaveArray(const QXArray<T>& A, const std::string& name);
  template <class T>
  QXArray<T> ReadArray(const std::string& name) const;
  // The listing line of one entry.
  std::string Describe(const std::string& name, const QXMatlabDataEntry& entry) const;

  QXMatlabDataFileContent* content;
};

#endif
