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
// A handle opened for writing holds the file's write lock (see QXFile): a
// second writer, in this process or another, is told and gets a read-only
// handle. Failures report through QXErrorMessage and give empty values.
//
// What a save promises:
// - A save that returns without a report is in the file and reads back
//   after reopening: each save goes to the file in one write (large arrays
//   in a few), with no buffer left to flush.
// - A save that fails is reported and leaves the file as it was: what did
//   arrive is taken back, and the index never names bytes that are not there.
// - Bytes the storage did not just write are never removed without a report.
//   A last record cut short by an interrupted save is removed by the first
//   save, which reports its name and size, and only when no intact record
//   follows it (a damaged size field looks the same). A file damaged in the
//   middle, a file of another kind, and a file that grew since it was opened
//   refuse every save with one report each; reads of what was indexed work.
// - A save replaces the whole variable: saving a name that had a "_3D"
//   companion without one sets the companion to 0, which reads as none.
//
// A damaged or hostile file yields the records before the damage, and
// never more memory than its records really hold.
#ifndef QXMATLABDATAFILE_H
#define QXMATLABDATAFILE_H

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "QXDataStorage.h"
#include "QXFile.h"

struct QXMatlabDataFileContent;
struct QXMatlabDataEntry;
struct QXMatlabPendingRecord;
class QXAppendWriter;
class QXByteReader;
enum class QXByteOrder;

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

  // Each save appends one record, or two for a 3-D array (the array as
  // (m*n) x o, then its "_3D" companion holding m), and leaves the old record
  // of the name in the file unreferenced. Reports under
  // "QXMatlabDataFile::Save" and saves nothing for: "File is read only.",
  // "File is not open.", "The name is longer than 254 characters.", "The name
  // contains a zero byte.", "The file is not a Matlab version 4 file; nothing
  // was saved.", "The file is damaged at byte N; nothing was saved.", "The
  // file has changed since it was opened; nothing was saved." and a failed
  // write, "Could not write "name" to the file (reason); nothing was saved.".
  // Numbers are 1 x 1 doubles.
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
  // The names that begin with prefix, sorted after they are picked.
  QXList<std::string> NamesWithPrefix(const std::string& prefix) const override;

  bool IsOpen() const;
  // The file's stream; null when it is not open.
  FILE* GetFile() const;

 private:
  // Walks the file once and builds the index.
  void IndexFile();
  // Indexes one record (a QXIndexStep of the walk).
  int IndexRecord(QXByteReader& reader);
  QXByteOrder FileOrder() const;
  // The entry of the name, or null.
  const QXMatlabDataEntry* Find(const std::string& name) const;
  // The data of a small record as the index keeps them, or null.
  const unsigned char* SmallData(const QXMatlabDataEntry& entry) const;
  // The value of a 1 x 1 numeric record, or 0; reports nothing.
  double NumberOf(const std::string& name) const;
  // The row count that the name's "_3D" companion holds, or 0.
  double CompanionOf(const std::string& name) const;
  // Indexes a record found by the walk or just saved, counting companions.
  void Index(std::string_view name, const QXMatlabDataEntry& entry, bool walking);
  // Reports and returns false when nothing may be saved under the name.
  bool CanSave(const std::string& name, const std::string& longestName);
  template <class T>
  void AddRecord(QXAppendWriter& writer, int typeCode, int mrows, int ncols,
                 const std::string& name, const T* data, size_t count,
                 std::vector<QXMatlabPendingRecord>& pending) const;
  void AddCompanion(QXAppendWriter& writer, const std::string& name, int rows,
                    std::vector<QXMatlabPendingRecord>& pending) const;
  void Commit(QXAppendWriter& writer, const std::string& name,
              std::vector<QXMatlabPendingRecord>& pending);
  template <class T>
  void SaveArray(const QXArray<T>& A, const std::string& name);
  template <class T>
  QXArray<T> ReadArray(const std::string& name) const;
  // The listing line of one entry.
  std::string Describe(const std::string& name, const QXMatlabDataEntry& entry) const;

  QXMatlabDataFileContent* content;
};

#endif
