// What both file storages promise about saves: a save that returns without a
// report is in the file and reads back after reopening; a save that fails is
// reported and leaves the file as it was; bytes the storage did not just
// write are never removed without a report.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>

#include "QXDataFile.h"
#include "QXMatlabDataFile.h"
#include "QXMatlabFileBytes.h"

namespace {

// What the tests need to know of each format: the report prefix of its
// saves, where the records of a file of one-number variables "a", "b", "c"
// ... start, where the name of such a record ends, how to damage a record's
// size field, and the reports of opening a foreign file and saving into it.
struct QXMatlabFormat {
  using Storage = QXMatlabDataFile;
  static constexpr const char* save = "QXMatlabDataFile::Save: ";
  static constexpr const char* extension = ".mat";
  static constexpr const char* record = "record";
  // 20-byte header, a one-letter name with its zero byte, one double.
  static long RecordStart(int i) { return 30L * i; }
  static constexpr long nameEnd = 22;
  // The record's row count (in the machine's order) grows by 2^16.
  static void DamageSize(std::string& bytes, int i) { bytes[RecordStart(i) + 4 + 2] ^= 1; }
  static constexpr const char* foreignOpen =
      "Reading In File Content: Invalid file format, make sure you used the -v4 in matlab.";
  static constexpr const char* foreign =
      "The file is not a Matlab version 4 file; nothing was saved.";
};

struct QXBinaryFormat {
  using Storage = QXDataFile;
  static constexpr const char* save = "QXDataFile::Save: ";
  static constexpr const char* extension = ".vbf";
  static constexpr const char* record = "entry";
  // The 24-byte file header, then 28-byte entry headers, name and double.
  static long RecordStart(int i) { return 24 + 38L * i; }
  static constexpr long nameEnd = 30;
  // The big-endian block length grows by 2^16.
  static void DamageSize(std::string& bytes, int i) { bytes[RecordStart(i) + 5] ^= 1; }
  static constexpr const char* foreignOpen =
      "QXDataFile::ReadInContent: Not a valid Varnholm binary format.";
  static constexpr const char* foreign = "Not a valid Varnholm binary format; nothing was saved.";
};

template <class Format>
class QXStorageSafetyTest : public QXReportingTest {
 protected:
  using Storage = typename Format::Storage;

  // A file of one-number variables named "a", "b", ... holding 1, 2, ...
  void WriteNumbers(int count) {
    Storage storage(path, QXFile::NewReadWrite);
    for (int i = 0; i < count; i++)
      storage.Save(i + 1.0, std::string(1, static_cast<char>('a' + i)));
  }
  // Opens the file to append and saves the number under the name.
  void SaveInto(double value, const std::string& name) {
    Storage(path, QXFile::ExistingReadWrite).Save(value, name);
  }
  // The number under name after opening the file afresh; NaN when missing.
  double Reopened(const std::string& name) {
    const Storage storage(path, QXFile::ReadOnly);
    return storage.Contains(name) ? storage.ReadNumber(name) : std::nan("");
  }
  // The report of the storage's Save, after the one of opening when given.
  static Texts SaveReports(const std::string& message, const std::string& opening = "") {
    const std::string report = Format::save + message;
    return opening.empty() ? Texts{report} : Texts{opening, report};
  }
  // A report of opening the file: the words before its quoted path and after.
  std::string OpenReport(const std::string& before, const std::string& after) const {
    return "QXFile(name,type): " + before + " \"" + path + "\"" + after;
  }

  QXTempPath file{"safety", Format::extension};
  const std::string& path = file.path;
};

using QXFormats = testing::Types<QXMatlabFormat, QXBinaryFormat>;
TYPED_TEST_SUITE(QXStorageSafetyTest, QXFormats);

// --- Write failures -----------------------------------------------------------

// Lowers the process's file-size limit while it lives, so that writes beyond
// it fail (EFBIG) as on a full disk.
struct QXFileSizeLimit {
  explicit QXFileSizeLimit(rlim_t bytes) : previous(signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit lowered{bytes, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~QXFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
  }
  void (*previous)(int);
  rlimit saved{};
};

// What did arrive is taken back: the file is as it was, the index does not
// point at it, and the next save lands once there is room again.
TYPED_TEST(QXStorageSafetyTest, AFailedWriteIsReportedAndTakenBack) {
  this->WriteNumbers(2);
  const std::string before = this->file.Read();
  QXMutableDoubleArray big(1000, 1, 1);
  big = 3.0;
  typename TypeParam::Storage storage(this->path, QXFile::ExistingReadWrite);
  {
    QXFileSizeLimit limit(static_cast<rlim_t>(before.size() + 100));
    storage.Save(big, "big");
  }
  EXPECT_EQ(this->Reports(), this->SaveReports("Could not write \"big\" to the file (File too "
                                               "large); nothing was saved."));
  EXPECT_EQ(this->file.Read(), before);
  EXPECT_FALSE(storage.Contains("big"));
  storage.Save(5.0, "e");
  EXPECT_EQ(this->Reopened("e"), 5.0);
}

// --- Damage in the middle -----------------------------------------------------

// The records before the damage stay readable; the bytes after it are not
// taken for a cut-short tail and removed.
TYPED_TEST(QXStorageSafetyTest, DamageMidFileRefusesSavesAndRemovesNothing) {
  this->WriteNumbers(4);
  std::string bytes = this->file.Read();
  TypeParam::DamageSize(bytes, 1);
  this->file.Write(bytes);
  this->SaveInto(9.0, "z");
  const std::string damage =
      "The file is damaged at byte " + std::to_string(TypeParam::RecordStart(1));
  EXPECT_EQ(this->Reports(), this->SaveReports(damage + "; nothing was saved."));
  EXPECT_EQ(this->file.Read(), bytes);
  EXPECT_EQ(this->Reopened("a"), 1.0);
}

TYPED_TEST(QXStorageSafetyTest, AForeignFileRefusesSaves) {
  const std::string text = "Just some text, not a data file of ours at all.\n";
  this->file.Write(text);
  this->SaveInto(1.0, "a");
  EXPECT_EQ(this->Reports(), this->SaveReports(TypeParam::foreign, TypeParam::foreignOpen));
  EXPECT_EQ(this->file.Read(), text);
}

// --- A record cut short at the end ------------------------------------------------

// An interrupted save leaves the last record cut short, at any byte; the
// first save removes it with a report, naming it once its name is whole, and
// lands after the whole records. The earlier whole record of the same name is
// the one read, before the save, after it and after reopening.
TYPED_TEST(QXStorageSafetyTest, EveryCutOfTheLastRecordIsRemovedByTheFirstSave) {
  this->WriteNumbers(2);
  QXMutableDoubleArray A(3, 1, 1);
  A = 7.0;
  typename TypeParam::Storage(this->path, QXFile::ExistingReadWrite).Save(A, "a");
  const std::string whole = this->file.Read();
  const long start = TypeParam::RecordStart(2);
  for (long cut = start + 1; cut < static_cast<long>(whole.size()); cut++) {
    SCOPED_TRACE("cut at byte " + std::to_string(cut));
    this->file.Write(whole.substr(0, static_cast<size_t>(cut)));
    typename TypeParam::Storage storage(this->path, QXFile::ExistingReadWrite);
    EXPECT_EQ(storage.ReadNumber("a"), 1.0);
    storage.Save(9.0, "z");
    EXPECT_EQ(storage.ReadNumber("a"), 1.0);
    const std::string which = cut >= start + TypeParam::nameEnd
                                  ? std::string("the ") + TypeParam::record + " \"a\""
                                  : std::string("a ") + TypeParam::record;
    const std::string bytes = " (" + std::to_string(cut - start) + " bytes).";
    EXPECT_EQ(this->Reports(),
              this->SaveReports("Removed " + which + " cut short at the end of the file" + bytes));
    EXPECT_EQ(this->Reopened("a"), 1.0);
    EXPECT_EQ(this->Reopened("z"), 9.0);
  }
}

TYPED_TEST(QXStorageSafetyTest, AReadOnlyOpenNeverCutsTheTail) {
  this->WriteNumbers(2);
  const std::string cut =
      this->file.Read().substr(0, static_cast<size_t>(TypeParam::RecordStart(1)) + 5);
  this->file.Write(cut);
  EXPECT_EQ(this->Reopened("a"), 1.0);
  EXPECT_EQ(this->file.Read(), cut);
}

// --- Two writers --------------------------------------------------------------

TYPED_TEST(QXStorageSafetyTest, ASecondWriterIsToldAndCannotSave) {
  this->WriteNumbers(1);
  const typename TypeParam::Storage first(this->path, QXFile::ExistingReadWrite);
  typename TypeParam::Storage second(this->path, QXFile::ExistingReadWrite);
  second.Save(2.0, "b");
  const std::string held =
      this->OpenReport("The file", " is open for writing elsewhere; it was opened read-only.");
  EXPECT_EQ(this->Reports(), this->SaveReports("File is read only.", held));
  EXPECT_EQ(second.ReadNumber("a"), 1.0);
}

TYPED_TEST(QXStorageSafetyTest, NewReadWriteLeavesAFileAnotherWriterHolds) {
  this->WriteNumbers(1);
  typename TypeParam::Storage first(this->path, QXFile::ExistingReadWrite);
  first.Save(2.0, "b");
  const std::string before = this->file.Read();
  const typename TypeParam::Storage second(this->path, QXFile::NewReadWrite);
  EXPECT_EQ(
      this->Reports(),
      Texts{this->OpenReport("The file", " is open for writing elsewhere; it was left as it is.")});
  EXPECT_EQ(this->file.Read(), before);
}

TYPED_TEST(QXStorageSafetyTest, BytesAppendedByAnotherProgramAreNeverOverwritten) {
  this->WriteNumbers(1);
  typename TypeParam::Storage storage(this->path, QXFile::ExistingReadWrite);
  const std::string appended = this->file.Read() + "foreign tail";
  this->file.Write(appended);
  storage.Save(2.0, "b");
  EXPECT_EQ(this->Reports(),
            this->SaveReports("The file has changed since it was opened; nothing was saved."));
  EXPECT_EQ(this->file.Read(), appended);
}

// --- Names and paths ----------------------------------------------------------

// The name would end at the zero byte and, after reopening, replace "a".
TYPED_TEST(QXStorageSafetyTest, ANameWithAZeroByteIsRefused) {
  this->WriteNumbers(1);
  this->SaveInto(5.0, std::string("a\0b", 3));
  EXPECT_EQ(this->Reports(), this->SaveReports("The name contains a zero byte."));
  EXPECT_EQ(this->Reopened("a"), 1.0);
}

// A longer name field would make the record, and every one after it, unreadable.
TYPED_TEST(QXStorageSafetyTest, ANameOf254CharactersIsTheLongestSaved) {
  this->WriteNumbers(1);
  this->SaveInto(2.0, std::string(255, 'n'));
  EXPECT_EQ(this->Reports(), this->SaveReports("The name is longer than 254 characters."));
  EXPECT_TRUE(std::isnan(this->Reopened(std::string(255, 'n'))));
  this->SaveInto(3.0, std::string(254, 'n'));
  EXPECT_EQ(this->Reopened(std::string(254, 'n')), 3.0);
}

TYPED_TEST(QXStorageSafetyTest, ASaveIntoAFileThatDidNotOpenWritesNothing) {
  this->SaveInto(1.0, "x");
  EXPECT_EQ(this->Reports(), this->SaveReports("File is not open.",
                                               this->OpenReport("Could not open the file", "")));
  EXPECT_FALSE(std::ifstream(this->path).good());
}

// rmdir succeeds only on a directory, so the path is still one.
TYPED_TEST(QXStorageSafetyTest, NewReadWriteNeverRemovesADirectory) {
  ASSERT_EQ(mkdir(this->path.c_str(), 0700), 0);
  const typename TypeParam::Storage storage(this->path, QXFile::NewReadWrite);
  EXPECT_EQ(this->Reports(),
            Texts{this->OpenReport("Could not open the file", ": it is a directory.")});
  EXPECT_EQ(rmdir(this->path.c_str()), 0);
}

// --- The 3-D companion of the Matlab file ------------------------------------------

// A save replaces the whole variable: the old companion is overwritten with 0.
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
    EXPECT_EQ(SizeOf(storage, "A"), (std::vector<int>{4, 5, 1}));
  }
  const QXMatlabDataFile reopened(file.path, QXFile::ReadOnly);
  EXPECT_EQ(SizeOf(reopened, "A"), (std::vector<int>{4, 5, 1}));
  EXPECT_EQ(reopened.ReadNumber("A_3D"), 0.0);
}

}  // namespace
