// What both file storages promise about saves: a save that returns without a
// report is in the file and reads back after reopening; a save that fails is
// reported and leaves the file as it was; bytes the storage did not just
// write are never removed without a report.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "QXDataFile.h"
#include "QXMatlabDataFile.h"
#include "QXTestSupport.h"

namespace {

using Texts = std::vector<std::string>;

// What the tests need to know of each format: the report prefix of its
// saves, where the records of a file of one-number variables "a", "b", "c"
// ... start, and how to damage a record's size field.
struct QXMatlabFormat {
  using Storage = QXMatlabDataFile;
  static constexpr const char* save = "QXMatlabDataFile::Save: ";
  static constexpr const char* extension = ".mat";
  static constexpr const char* record = "record";
  // 20-byte header, a one-letter name with its zero byte, one double.
  static long RecordStart(int i) { return 30L * i; }
  // The record's row count (in the machine's order) grows by 2^16.
  static void DamageSize(std::string& bytes, int i) { bytes[RecordStart(i) + 4 + 2] ^= 1; }
  static std::string ForeignText() {
    return "The file is not a Matlab version 4 file; nothing was saved.";
  }
};

struct QXBinaryFormat {
  using Storage = QXDataFile;
  static constexpr const char* save = "QXDataFile::Save: ";
  static constexpr const char* extension = ".vbf";
  static constexpr const char* record = "entry";
  // The 24-byte file header, then 28-byte entry headers, name and double.
  static long RecordStart(int i) { return 24 + 38L * i; }
  // The big-endian block length grows by 2^16.
  static void DamageSize(std::string& bytes, int i) { bytes[RecordStart(i) + 5] ^= 1; }
  static std::string ForeignText() { return "Not a valid Varnholm binary format; nothing was saved."; }
};

template <class Format>
class QXStorageSafetyTest : public testing::Test {
 protected:
  using Storage = typename Format::Storage;

  // A file of one-number variables named "a", "b", ... holding 1, 2, ...
  void WriteNumbers(int count) {
    Storage storage(path, QXFile::NewReadWrite);
    for (int i = 0; i < count; i++) storage.Save(i + 1.0, std::string(1, static_cast<char>('a' + i)));
  }
  // The reports of saving value under name in the file, opened to append.
  Texts SaveReports(double value, const std::string& name) {
    QXReportCapture capture;
    Storage storage(path, QXFile::ExistingReadWrite);
    storage.Save(value, name);
    capture.Finish();
    return capture.errors;
  }
  // The number under name after opening the file afresh; NaN when missing.
  double Reopened(const std::string& name) {
    QXReportCapture capture;
    Storage storage(path, QXFile::ReadOnly);
    if (!storage.Contains(name)) return std::nan("");
    return storage.ReadNumber(name);
  }

  QXTempPath file{"safety", Format::extension};
  const std::string& path = file.path;
};

using QXFormats = testing::Types<QXMatlabFormat, QXBinaryFormat>;
TYPED_TEST_SUITE(QXStorageSafetyTest, QXFormats);

// --- Write failures -----------------------------------------------------------

TYPED_TEST(QXStorageSafetyTest, AFailedWriteIsReportedAndLeavesTheFileAsItWas) {
  this->WriteNumbers(2);
  const std::string before = this->file.Read();
  QXMutableDoubleArray big(1000, 1, 1);
  big = 3.0;
  QXReportCapture capture;
  {
    typename TypeParam::Storage storage(this->path, QXFile::ExistingReadWrite);
    QXFileSizeLimit limit(static_cast<rlim_t>(before.size() + 100));
    storage.Save(big, "big");
    EXPECT_FALSE(storage.Contains("big"));
  }
  capture.Finish();
  const Texts expected = {std::string(TypeParam::save) +
                          "Could not write \"big\" to the file (File too large); nothing was saved."};
  EXPECT_EQ(capture.errors, expected);
  EXPECT_EQ(this->file.Read(), before);
}

TYPED_TEST(QXStorageSafetyTest, SavesAfterAFailedWriteLandWhenThereIsRoomAgain) {
  this->WriteNumbers(1);
  QXMutableDoubleArray big(1000, 1, 1);
  big = 3.0;
  {
    QXReportCapture capture;
    typename TypeParam::Storage storage(this->path, QXFile::ExistingReadWrite);
    {
      QXFileSizeLimit limit(static_cast<rlim_t>(this->file.Read().size() + 100));
      storage.Save(big, "big");
    }
    storage.Save(5.0, "e");
  }
  EXPECT_EQ(this->Reopened("e"), 5.0);
  EXPECT_EQ(this->Reopened("a"), 1.0);
}

// --- Damage in the middle -----------------------------------------------------

TYPED_TEST(QXStorageSafetyTest, ADamagedSizeMidFileRefusesSavesAndKeepsTheRecordsAfterIt) {
  this->WriteNumbers(4);
  std::string bytes = this->file.Read();
  TypeParam::DamageSize(bytes, 1);
  this->file.Write(bytes);
  const Texts expected = {std::string(TypeParam::save) + "The file is damaged at byte " +
                          std::to_string(TypeParam::RecordStart(1)) + "; nothing was saved."};
  EXPECT_EQ(this->SaveReports(9.0, "z"), expected);
  EXPECT_EQ(this->file.Read(), bytes);
}

TYPED_TEST(QXStorageSafetyTest, RecordsBeforeMidFileDamageStayReadable) {
  this->WriteNumbers(4);
  std::string bytes = this->file.Read();
  TypeParam::DamageSize(bytes, 2);
  this->file.Write(bytes);
  EXPECT_EQ(this->Reopened("b"), 2.0);
}

TYPED_TEST(QXStorageSafetyTest, AForeignFileRefusesSaves) {
  this->file.Write("Just some text, not a data file of ours at all.\n");
  const Texts expected = {std::string(TypeParam::save) + TypeParam::ForeignText()};
  const Texts reports = this->SaveReports(1.0, "a");
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), expected.back());
  EXPECT_EQ(this->file.Read(), "Just some text, not a data file of ours at all.\n");
}

// --- A record cut short at the end ------------------------------------------------

// An interrupted save leaves the last record cut short, at any byte; the
// first save removes it with a report and lands after the whole records.
// The earlier whole record of the same name is the one read, before the
// save, after it and after reopening.
TYPED_TEST(QXStorageSafetyTest, EveryCutOfTheLastRecordIsRemovedByTheFirstSave) {
  this->WriteNumbers(2);
  {
    typename TypeParam::Storage storage(this->path, QXFile::ExistingReadWrite);
    QXMutableDoubleArray A(3, 1, 1);
    A = 7.0;
    storage.Save(A, "a");
  }
  const std::string whole = this->file.Read();
  const size_t cutStart = static_cast<size_t>(TypeParam::RecordStart(2));
  for (size_t cut = cutStart + 1; cut < whole.size(); cut++) {
    SCOPED_TRACE("cut at byte " + std::to_string(cut));
    this->file.Write(whole.substr(0, cut));
    QXReportCapture capture;
    typename TypeParam::Storage storage(this->path, QXFile::ExistingReadWrite);
    EXPECT_EQ(storage.ReadNumber("a"), 1.0);
    storage.Save(9.0, "z");
    EXPECT_EQ(storage.ReadNumber("a"), 1.0);
    capture.Finish();
    ASSERT_EQ(capture.errors.size(), 1u);
    EXPECT_NE(capture.errors[0].find(std::string(TypeParam::save) + "Removed "), std::string::npos);
    EXPECT_NE(capture.errors[0].find(std::to_string(cut - cutStart) + " bytes"), std::string::npos);
    EXPECT_EQ(this->Reopened("a"), 1.0);
    EXPECT_EQ(this->Reopened("z"), 9.0);
  }
}

TYPED_TEST(QXStorageSafetyTest, TheCutReportNamesTheRecordWhenItsNameIsThere) {
  this->WriteNumbers(3);
  const std::string whole = this->file.Read();
  this->file.Write(whole.substr(0, whole.size() - 3));
  const Texts expected = {std::string(TypeParam::save) + "Removed the " + TypeParam::record +
                          " \"c\" cut short at the end of the file (" +
                          std::to_string(whole.size() - 3 - TypeParam::RecordStart(2)) +
                          " bytes)."};
  EXPECT_EQ(this->SaveReports(9.0, "z"), expected);
}

TYPED_TEST(QXStorageSafetyTest, AReadOnlyOpenNeverCutsTheTail) {
  this->WriteNumbers(2);
  const std::string cut = this->file.Read().substr(0, static_cast<size_t>(TypeParam::RecordStart(1)) + 5);
  this->file.Write(cut);
  {
    QXReportCapture capture;
    typename TypeParam::Storage storage(this->path, QXFile::ReadOnly);
    EXPECT_EQ(storage.ReadNumber("a"), 1.0);
  }
  EXPECT_EQ(this->file.Read(), cut);
}

// --- Two writers --------------------------------------------------------------

TYPED_TEST(QXStorageSafetyTest, ASecondWriterIsToldAndCannotSave) {
  this->WriteNumbers(1);
  typename TypeParam::Storage first(this->path, QXFile::ExistingReadWrite);
  QXReportCapture capture;
  typename TypeParam::Storage second(this->path, QXFile::ExistingReadWrite);
  second.Save(2.0, "b");
  capture.Finish();
  const Texts expected = {"QXFile(name,type): The file \"" + this->path +
                              "\" is open for writing elsewhere; it was opened read-only.",
                          std::string(TypeParam::save) + "File is read only."};
  EXPECT_EQ(capture.errors, expected);
  EXPECT_EQ(second.ReadNumber("a"), 1.0);
}

TYPED_TEST(QXStorageSafetyTest, NewReadWriteLeavesAFileAnotherWriterHolds) {
  this->WriteNumbers(1);
  typename TypeParam::Storage first(this->path, QXFile::ExistingReadWrite);
  first.Save(2.0, "b");
  const std::string before = this->file.Read();
  {
    QXReportCapture capture;
    typename TypeParam::Storage second(this->path, QXFile::NewReadWrite);
    EXPECT_FALSE(second.Contains("a"));
  }
  EXPECT_EQ(this->file.Read(), before);
}

TYPED_TEST(QXStorageSafetyTest, TheWriteLockGoesWithTheLastHandle) {
  this->WriteNumbers(1);
  { typename TypeParam::Storage first(this->path, QXFile::ExistingReadWrite); }
  EXPECT_EQ(this->SaveReports(2.0, "b"), Texts());
}

TYPED_TEST(QXStorageSafetyTest, BytesAppendedByAnotherProgramAreNeverOverwritten) {
  this->WriteNumbers(1);
  typename TypeParam::Storage storage(this->path, QXFile::ExistingReadWrite);
  const std::string appended = this->file.Read() + "foreign tail";
  this->file.Write(appended);
  QXReportCapture capture;
  storage.Save(2.0, "b");
  capture.Finish();
  const Texts expected = {std::string(TypeParam::save) +
                          "The file has changed since it was opened; nothing was saved."};
  EXPECT_EQ(capture.errors, expected);
  EXPECT_EQ(this->file.Read(), appended);
}

// --- Names and paths ----------------------------------------------------------

TYPED_TEST(QXStorageSafetyTest, ANameWithAZeroByteIsRefused) {
  this->WriteNumbers(1);
  const Texts expected = {std::string(TypeParam::save) + "The name contains a zero byte."};
  EXPECT_EQ(this->SaveReports(5.0, std::string("a\0b", 3)), expected);
  EXPECT_EQ(this->Reopened("a"), 1.0);
}

TYPED_TEST(QXStorageSafetyTest, NewReadWriteNeverRemovesADirectory) {
  const std::string directory = this->path + ".dir";
  ASSERT_EQ(mkdir(directory.c_str(), 0700), 0);
  QXReportCapture capture;
  typename TypeParam::Storage storage(directory, QXFile::NewReadWrite);
  capture.Finish();
  struct stat status;
  EXPECT_EQ(stat(directory.c_str(), &status), 0);
  EXPECT_TRUE(S_ISDIR(status.st_mode));
  const Texts expected = {"QXFile(name,type): Could not open the file \"" + directory +
                          "\": it is a directory."};
  EXPECT_EQ(capture.errors, expected);
  rmdir(directory.c_str());
}

// --- The 3-D companion of the Matlab file ------------------------------------------

TEST(QXMatlabCompanion, A2DSaveAfterA3DSaveReadsBackIn2D) {
  QXTempPath file("companion");
  QXMutableDoubleArray volume(2, 2, 5);
  volume = 1.0;
  QXMutableDoubleArray plane(4, 5, 1);
  plane = 2.0;
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    storage.Save(volume, "A");
    storage.Save(plane, "A");
    EXPECT_EQ(storage.ReadDoubleArray("A").m(), 4);
  }
  QXMatlabDataFile reopened(file.path, QXFile::ReadOnly);
  const QXDoubleArray A = reopened.ReadDoubleArray("A");
  EXPECT_EQ(A.m(), 4);
  EXPECT_EQ(A.n(), 5);
  EXPECT_EQ(A.o(), 1);
  EXPECT_EQ(reopened.ReadNumber("A_3D"), 0.0);
}

TEST(QXMatlabCompanion, ASaveWithoutACompanionWritesNoneWhenThereWasNone) {
  QXTempPath file("companion");
  QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
  storage.Save(1.0, "A");
  storage.Save(2.0, "A");
  EXPECT_FALSE(storage.Contains("A_3D"));
}

}  // namespace
