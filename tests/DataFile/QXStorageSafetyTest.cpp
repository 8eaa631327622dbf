// What both file storages promise about saves: a save that returns without a
// report is in the file and reads back after reopening; a save that fails is
// reported and leaves the file as it was; bytes the storage did not just
// write are never removed without a report.
#include <sys/stat.h>

#include <cmath>

#include "QXDataFile.h"
#include "QXMatlabDataFile.h"
#include "QXMatlabFileBytes.h"

namespace {

// What the tests need to know of a format, for a file of one-number
// variables "a", "b", "c" ...: the prefix of its save reports, what it calls
// a record (with its article too), where the records start and their length, where a record's name
// ends, the byte whose lowest bit grows a record's size field, and the
// reports of opening a foreign file and of saving into it.
struct QXFormat {
  const char* save;
  const char* record;
  const char* aRecord;
  long first, length, nameEnd, sizeByte;
  const char* foreignOpen;
  const char* foreign;
};

// clang-format off
template <class Storage>
constexpr QXFormat kFormat{};
// 20-byte headers, a one-letter name with its zero byte, one double; the size
// byte is in the row count.
template <>
constexpr QXFormat kFormat<QXMatlabDataFile>{"QXMatlabDataFile::Save: ", "record", "a record", 0, 30, 22, 4 + 2,
    "Reading In File Content: Invalid file format, make sure you used the -v4 in matlab.",
    "The file is not a Matlab version 4 file; nothing was saved."};
// The 24-byte file header, then 28-byte entry headers, name and double; the
// size byte is in the big-endian block length.
template <>
constexpr QXFormat kFormat<QXDataFile>{"QXDataFile::Save: ", "entry", "an entry", 24, 38, 30, 5,
    "QXDataFile::ReadInContent: Not a valid Varnholm binary format.",
    "Not a valid Varnholm binary format; nothing was saved."};
// clang-format on

template <class Storage>
class QXStorageSafetyTest : public QXReportingTest {
 protected:
  static constexpr const QXFormat& format = kFormat<Storage>;

  // A file of one-number variables named "a", "b", ... holding 1, 2, ...
  void WriteNumbers(int count) {
    Storage storage(path, QXFile::NewReadWrite);
    for (char c = 'a'; c < 'a' + count; c++) storage.Save(c - 'a' + 1.0, std::string(1, c));
  }
  static long RecordStart(int i) { return format.first + format.length * i; }
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
    const std::string report = format.save + message;
    return opening.empty() ? Texts{report} : Texts{opening, report};
  }
  // A report of opening the file: the words before its quoted path and after.
  std::string OpenReport(const std::string& before, const std::string& after) const {
    return "QXFile(name,type): " + before + " \"" + path + "\"" + after;
  }

  QXTempPath file{"safety", ".bin"};
  const std::string& path = file.path;
};

using QXFileStorages = testing::Types<QXMatlabDataFile, QXDataFile>;
TYPED_TEST_SUITE(QXStorageSafetyTest, QXFileStorages);

// --- Write failures -----------------------------------------------------------

// The file-size limit makes the write fail (EFBIG) as on a full disk. What
// did arrive is taken back: the file is as it was, the index does not point
// at it, and the next save lands once there is room again.
TYPED_TEST(QXStorageSafetyTest, AFailedWriteIsReportedAndTakenBack) {
  this->WriteNumbers(2);
  const std::string before = this->file.Read();
  TypeParam storage(this->path, QXFile::ExistingReadWrite);
  {
    QXFileSizeLimit limit(before.size() + 100);
    storage.Save(MakeArray(1000, 1, 1, std::vector<double>(1000, 3.0)), "big");
  }
  const std::string failure = "Could not write \"big\" to the file (File too large)";
  EXPECT_EQ(this->Reports(), this->SaveReports(failure + "; nothing was saved."));
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
  bytes[this->RecordStart(1) + this->format.sizeByte] ^= 1;
  this->file.Write(bytes);
  this->SaveInto(9.0, "z");
  const std::string damage = "The file is damaged at byte " + std::to_string(this->RecordStart(1));
  EXPECT_EQ(this->Reports(), this->SaveReports(damage + "; nothing was saved."));
  EXPECT_EQ(this->file.Read(), bytes);
  EXPECT_EQ(this->Reopened("a"), 1.0);
}

TYPED_TEST(QXStorageSafetyTest, AForeignFileRefusesSaves) {
  const std::string text = "Just some text, not a data file of ours at all.\n";
  this->file.Write(text);
  this->SaveInto(1.0, "a");
  EXPECT_EQ(this->Reports(), this->SaveReports(this->format.foreign, this->format.foreignOpen));
  EXPECT_EQ(this->file.Read(), text);
}

// --- A record cut short at the end ------------------------------------------------

// An interrupted save leaves the last record cut short, at any byte; the
// first save removes it with a report, naming it once its name is whole, and
// lands after the whole records. The earlier whole record of the same name is
// the one read, before the save, after it and after reopening.
TYPED_TEST(QXStorageSafetyTest, EveryCutOfTheLastRecordIsRemovedByTheFirstSave) {
  this->WriteNumbers(2);
  TypeParam(this->path, QXFile::ExistingReadWrite).Save(MakeArray<double>(3, 1, 1, {7, 7, 7}), "a");
  const std::string whole = this->file.Read();
  const long start = this->RecordStart(2);
  const std::string record = this->format.record;
  for (long cut = start + 1; cut < static_cast<long>(whole.size()); cut++) {
    SCOPED_TRACE("cut at byte " + std::to_string(cut));
    this->file.Write(whole.substr(0, cut));
    TypeParam storage(this->path, QXFile::ExistingReadWrite);
    EXPECT_EQ(storage.ReadNumber("a"), 1.0);
    storage.Save(9.0, "z");
    EXPECT_EQ(storage.ReadNumber("a"), 1.0);
    const std::string which =
        cut >= start + this->format.nameEnd ? "the " + record + " \"a\"" : this->format.aRecord;
    const std::string bytes = " (" + std::to_string(cut - start) + " bytes).";
    EXPECT_EQ(this->Reports(),
              this->SaveReports("Removed " + which + " cut short at the end of the file" + bytes));
    EXPECT_EQ(this->Reopened("a"), 1.0);
    EXPECT_EQ(this->Reopened("z"), 9.0);
  }
}

TYPED_TEST(QXStorageSafetyTest, AReadOnlyOpenNeverCutsTheTail) {
  this->WriteNumbers(2);
  const std::string cut = this->file.Read().substr(0, this->RecordStart(1) + 5);
  this->file.Write(cut);
  EXPECT_EQ(this->Reopened("a"), 1.0);
  EXPECT_EQ(this->file.Read(), cut);
}

// --- Two writers --------------------------------------------------------------

TYPED_TEST(QXStorageSafetyTest, ASecondWriterIsToldAndCannotSave) {
  this->WriteNumbers(1);
  const TypeParam first(this->path, QXFile::ExistingReadWrite);
  TypeParam second(this->path, QXFile::ExistingReadWrite);
  second.Save(2.0, "b");
  const std::string held =
      this->OpenReport("The file", " is open for writing elsewhere; it was opened read-only.");
  EXPECT_EQ(this->Reports(), this->SaveReports("File is read only.", held));
  EXPECT_EQ(second.ReadNumber("a"), 1.0);
}

TYPED_TEST(QXStorageSafetyTest, NewReadWriteLeavesAFileAnotherWriterHolds) {
  this->WriteNumbers(1);
  TypeParam first(this->path, QXFile::ExistingReadWrite);
  first.Save(2.0, "b");
  const std::string before = this->file.Read();
  const TypeParam second(this->path, QXFile::NewReadWrite);
  const std::string held =
      this->OpenReport("The file", " is open for writing elsewhere; it was left as it is.");
  EXPECT_EQ(this->Reports(), Texts{held});
  EXPECT_EQ(this->file.Read(), before);
}

TYPED_TEST(QXStorageSafetyTest, BytesAppendedByAnotherProgramAreNeverOverwritten) {
  this->WriteNumbers(1);
  TypeParam storage(this->path, QXFile::ExistingReadWrite);
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
  const std::string missing = this->OpenReport("Could not open the file", "");
  EXPECT_EQ(this->Reports(), this->SaveReports("File is not open.", missing));
  EXPECT_FALSE(std::ifstream(this->path).good());
}

// rmdir succeeds only on a directory, so the path is still one.
TYPED_TEST(QXStorageSafetyTest, NewReadWriteNeverRemovesADirectory) {
  ASSERT_EQ(mkdir(this->path.c_str(), 0700), 0);
  const TypeParam storage(this->path, QXFile::NewReadWrite);
  EXPECT_EQ(this->Reports(),
            Texts{this->OpenReport("Could not open the file", ": it is a directory.")});
  EXPECT_EQ(rmdir(this->path.c_str()), 0);
}

// --- The 3-D companion of the Matlab file ------------------------------------------

// A save replaces the whole variable: the old companion is overwritten with 0.
TEST(QXMatlabCompanion, A2DSaveAfterA3DSaveReadsBackIn2D) {
  QXTempPath file("companion");
  QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
  storage.Save(MakeArray(2, 2, 5, std::vector<double>(20, 1.0)), "A");
  storage.Save(MakeArray(4, 5, 1, std::vector<double>(20, 2.0)), "A");
  EXPECT_EQ(SizeOf(storage, "A"), (std::vector<int>{4, 5, 1}));
  const QXMatlabDataFile reopened(file.path, QXFile::ReadOnly);
  EXPECT_EQ(SizeOf(reopened, "A"), (std::vector<int>{4, 5, 1}));
  EXPECT_EQ(reopened.ReadNumber("A_3D"), 0.0);
}

}  // namespace
