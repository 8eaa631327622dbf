#include "QXMatlabDataFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "QXMatlabFileBytes.h"

namespace {

// The seven array reads' reports of a record type they cannot take.
const Texts kIllegal = {"dataFile.ReadDoubleArray(name): Illegal type.",
                        "dataFile.ReadFloatArray(name): Illegal type.",
                        "dataFile.ReadIntArray(name): Illegal type.",
                        "dataFile.ReadUCharArray(name): Illegal type.",
                        "dataFile.ReadCharArray(name): Haven't taken care of this case.",
                        "dataFile.ReadShortArray(name): Illegal type.",
                        "dataFile.ReadUShortArray(name): Illegal type."};

class QXMatlabDataFileTest : public testing::Test {
 protected:
  // Writes the bytes and opens them for reading and appending; `opened`
  // keeps what opening reported.
  QXMatlabDataFile Open(const std::string& bytes) {
    file.Write(bytes);
    QXReportCapture capture;
    QXMatlabDataFile storage(file.path, QXFile::ExistingReadWrite);
    opened = (capture.Finish(), capture.errors);
    return storage;
  }

  QXTempPath file{"matlab"};
  Texts opened;
  const bool big = QXDataStorage::RunningOnBigEndianMachine();
};

// Our saves write exactly the records built here in the machine's order; the
// same records in either order read back, swapped where needed, and list
// alike. Appends take the file's order, so a file never mixes the two.
TEST_F(QXMatlabDataFileTest, RecordsOfEveryTypeInEitherByteOrder) {
  const auto A = MakeArray<double>(2, 3, 2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  const auto i = MakeArray<int>(3, 1, 1, {INT_MIN, -1, INT_MAX});
  const auto c = MakeArray<signed char>(3, 2, 1, {104, 105, 0, -56, 65, 0});
  const std::string n29(29, 'n'), longText = std::string(40, 'x') + "yz", q20(20, 'q');
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    storage.Save(A, "A"), storage.Save(i, "i"), storage.Save(c, "c");
    storage.Save(MakeArray<short>(1, 1, 1, {-32768}), "s"), storage.Save(1234567, n29);
    storage.Save(MakeArray<float>(1, 1, 1, {0.25f}), "f");
    storage.Save(MakeArray<unsigned short>(1, 1, 1, {65535}), "ush");
    storage.Save(MakeArray<unsigned char>(1, 1, 1, {200}), "uc");
    storage.Save(longText, "long"), storage.Save(q20, "q"), storage.Save(QXFloatArray(), "e");
  }
  const std::string saved = file.Read();
  const std::string listing = Heading(file.path) + Line("A_3D", "double - 2") +
                              Line("A", "double - 6 x 2 array") + Line("i", "   int - 3 numbers") +
                              Line("c", "string - \"hi\"") + Line("s", " short - -32768") +
                              Line(n29, "double - 1.23457e+06") + Line("f", " float - 0.25") +
                              Line("ush", "UShort - 65535") + Line("uc", " UChar - 200") +
                              Line("long", "string - \"xxxxxxxxxxxxxxx...\" - 42 characters") +
                              Line("q", "string - \"" + q20 + "\"") + Line("e", " float - Empty");
  for (bool bigEndian : {big, !big}) {
    SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
    QXMatBytes bytes{bigEndian}, appended{bigEndian};
    bytes.Record<double>(0, 1, 1, "A_3D", {2})
        .Record<double>(0, 6, 2, "A", {A.Pointer(), A.Pointer() + 12});
    bytes.Record<int>(20, 3, 1, "i", {i.Pointer(), i.Pointer() + 3});
    bytes.Record<signed char>(51, 3, 2, "c", {c.Pointer(), c.Pointer() + 6});
    bytes.Record<int16_t>(30, 1, 1, "s", {-32768}).Record<double>(0, 1, 1, n29, {1234567});
    bytes.Record<float>(10, 1, 1, "f", {0.25f}).Record<uint16_t>(40, 1, 1, "ush", {65535});
    bytes.Record<uint8_t>(50, 1, 1, "uc", {200}).Text("long", longText).Text("q", q20);
    bytes.Record<float>(10, 0, 0, "e", {});
    EXPECT_EQ(bigEndian == big ? saved : bytes.bytes, bytes.bytes);  // what our saves wrote
    QXMatlabDataFile back = Open(bytes.bytes);
    EXPECT_TRUE(back.ReadDoubleArray("A") == A && back.ReadIntArray("i") == i &&
                back.ReadCharArray("c") == c);
    // Unsigned bytes stay unsigned in wider types; only the char read sees them signed.
    EXPECT_EQ(Text(back.ReadShortIntArray("s")) + Text(back.ReadUShortIntArray("ush")) +
                  Text(back.ReadFloatArray("f")) + Text(back.ReadUCharArray("uc")) +
                  Text(back.ReadIntArray("uc")) + Text(back.ReadCharArray("uc")),
              "1 1 1: -32768; 1 1 1: 65535; 1 1 1: 0.25; 1 1 1: 200; 1 1 1: 200; 1 1 1: -56; ");
    EXPECT_EQ(back.ReadString("c") + back.ReadString("long"), "hi" + longText);
    EXPECT_TRUE(back.SavedAsString("q") && back.SavedAsDouble(n29));
    EXPECT_FALSE(back.SavedAsDouble("q") || back.SavedAsString("A") || back.SavedAsDouble("f"));
    EXPECT_EQ(Listing(back), listing);
    QXMatlabDataFile copy(back);  // copies share the index and the file
    back.AsPointer()->Save(MakeArray<int>(1, 2, 1, {-5, 6}), "new");
    EXPECT_EQ(Text(copy.ReadIntArray("new")), "1 2 1: -5 6; ");
    EXPECT_EQ(file.Read(), bytes.bytes + appended.Record<int>(20, 1, 2, "new", {-5, 6}).bytes);
  }
}

TEST_F(QXMatlabDataFileTest, CompanionsThatDoNotFitTheRecordAreIgnored) {
  const std::vector<double> values = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const std::pair<std::string, std::vector<double>> companions[] = {
      {"zero", {0.0}},  {"negative", {-3.0}},    {"notDividing", {4.0}},
      {"huge", {1e12}}, {"nan", {std::nan("")}}, {"twoValues", {2.0, 3.0}}};
  QXMatBytes bytes{big};
  for (const auto& [name, k] : companions)
    bytes.Record(0, 1, int32_t(k.size()), name + "_3D", k).Record(0, 6, 2, name, values);
  bytes.Record<double>(0, 1, 1, "whole_3D", {6.0}).Record(0, 6, 2, "whole", values);
  const QXMatlabDataFile storage = Open(bytes.bytes);
  for (const auto& [name, k] : companions)
    EXPECT_EQ(storage.ReadDoubleArray(name), MakeArray<double>(6, 2, 1, values)) << name;
  EXPECT_EQ(storage.ReadDoubleArray("whole"), MakeArray<double>(6, 1, 2, values));
}

TEST_F(QXMatlabDataFileTest, NamesAndReportsOfReads) {
  // Little-endian codes: with the big-endian digit, 1060 and 1070 lie above
  // the largest valid code 1052 and make invalid headers instead.
  QXMatBytes bytes{false};
  bytes.Record<double>(0, 1, 1, "x", {1}).Text("t", "hello").Record<int>(20, 1, 2, "x", {7, 8});
  bytes.Header(0, 1, 1, 8, {"ab\0junk\0", 8}).Put(3.0);  // the name ends at a zero byte
  bytes.Header(0, 1, 1, 3, "xyz").Put(4.0).Record<double>(60, 0, 0, "empty", {});
  bytes.Record<double>(70, 2, 2, "bad", {}).Record<double>(0, 1, 1, "after", {5.0});
  const QXMatlabDataFile storage = Open(bytes.bytes);
  EXPECT_EQ(opened, Texts{"dataFile.ReadDoubleArray(name): Unexpected variable type in the file."});
  const QXList<std::string> names = storage.AllVariableNames();  // in byte-wise order
  EXPECT_EQ(std::to_string(names.Length()) + names(0) + names(1) + names(2) + names(3) + names(4),
            "5abemptytxxyz");
  // The last record of a name wins.
  EXPECT_EQ(Text(storage.ReadDoubleArray("x")), "1 2 1: 7 8; ");
  EXPECT_EQ(storage.ReadNumber("ab") + storage.ReadNumber("xyz") + storage.ReadNumber("x"), 7);
  EXPECT_EQ(ReadAll(storage, "missing", 0),
            EveryRead(": Did not find the variable \"missing\" inside the datafile."));
  EXPECT_EQ(ReadAll(storage, "empty", 0), kIllegal);  // and ReadString gives "" unreported
  EXPECT_EQ(ReadAll(storage, "t", 5),                 // the char read takes text whole
            (Texts{kIllegal[0], kIllegal[1], kIllegal[2], kIllegal[3], kIllegal[5], kIllegal[6]}));
  EXPECT_NE(Listing(storage).find(Line("empty", "?????? - Empty")), std::string::npos);
}

// Built in the other byte order, so the record kept before the damage also
// shows that the order found at the start holds.
TEST_F(QXMatlabDataFileTest, InvalidHeadersEndTheIndexKeepingEarlierRecords) {
  // type, mrows, ncols, namelen: namelen 0 and 256, negative sizes, type above 1052
  const int32_t cases[][4] = {
      {0, 1, 1, 0}, {0, 1, 1, 256}, {0, -1, 1, 2}, {0, 1, -5, 2}, {1053, 1, 1, 2}};
  for (const auto& c : cases)
    for (bool afterAValidRecord : {false, true}) {
      SCOPED_TRACE(testing::Message() << c[0] << " " << c[1] << " " << c[2] << " " << c[3]);
      QXMatBytes bytes{!big};
      if (afterAValidRecord) bytes.Record<double>(0, 1, 1, "kept", {1.5});
      const QXMatlabDataFile storage = Open(bytes.Header(c[0], c[1], c[2], c[3], {"x\0", 2}).bytes);
      EXPECT_EQ(opened, Texts{"Reading In File Content: Invalid file format, make sure you used "
                              "the -v4 in matlab."});
      EXPECT_EQ(storage.AllVariableNames().Length() == 1 && storage.ReadNumber("kept") == 1.5,
                afterAValidRecord);
    }
}

// Data cut short, sizes whose product overflows 32 bits and text that runs
// past the end: indexed, never allocated, and every read reports.
TEST_F(QXMatlabDataFileTest, RecordsCutShortAreIndexedEveryReadReportsAndSavesDropThem) {
  const std::string kept = QXMatBytes{big}.Record<double>(0, 1, 1, "ok", {1.0}).bytes;
  QXMatBytes cut{big, kept}, huge{big, kept}, text{big, kept};
  cut.Record<double>(0, 4, 1, "r", {1.0, 2.0, 3.0, 4.0}).bytes.resize(cut.bytes.size() - 3);
  huge.Record<double>(0, INT_MAX, INT_MAX, "r", {1.0}).Text("behind", "");
  text.Record<char>(51, 1 << 30, 4, "r", {'a', 'b', 'c'});
  for (const QXMatBytes* bytes : {&cut, &huge, &text}) {
    const QXMatlabDataFile storage = Open(bytes->bytes);
    Texts expected = EveryRead(": Could not read the required number of values from the file");
    if (bytes != &text) expected[7] = kReads[7] + ": The variable \"r\" is not save as a string.";
    EXPECT_EQ(ReadAll(storage, "r", 0), expected);
    EXPECT_EQ(storage.AllVariableNames().Length(), 2);
  }
  // A save removes a record cut short at the end (an unfinished save), so that
  // what is appended after it is still found when the file is opened again. The
  // cut record is 20 header bytes, the name "cut" and 32 data bytes; keep part
  // of its header, part of its name, or all but 3 bytes of its data.
  const std::string record = QXMatBytes{big}.Record<double>(0, 4, 1, "cut", {1, 2, 3, 4}).bytes,
                    added = QXMatBytes{big}.Record<double>(0, 1, 1, "new", {2.5}).bytes;
  for (size_t cutLength : {7, 22, 53}) {
    Open(kept + record.substr(0, cutLength)).Save(2.5, "new");
    EXPECT_EQ(file.Read(), kept + added) << cutLength;
  }
}

TEST_F(QXMatlabDataFileTest, RefusedSavesReportAndChangeNothing) {
  const std::string longest(254, 'n'), missing = file.path + ".missing";
  QXMatlabDataFile(file.path, QXFile::NewReadWrite).Save(1.0, longest);
  const std::string before = file.Read(), save = "QXMatlabDataFile::Save: ";
  QXMatlabDataFile writer = Open(before), reader(file.path, QXFile::ReadOnly);
  const std::string tooLong = save + "The name is longer than 254 characters.",
                    readOnly = save + "File is read only.", notOpen = save + "File is not open.";
  EXPECT_EQ(
      Captured([&] {
        writer.Save(2.0, longest + "x");
        writer.Save(MakeArray<double>(1, 1, 2, {1, 2}), longest.substr(2));  // "_3D"
        reader.Save(2.0, longest), reader.Save(5, "y"), reader.Save(std::string(), "s");
        reader.Save(MakeArray<float>(2, 1, 2, {1, 2, 3, 4}), "z");
        QXMatlabDataFile unopened(QXFile(missing, QXFile::ExistingReadWrite));
        unopened.Save(1.0, "x"), unopened.Save(std::string("s"), "s");
        EXPECT_TRUE(!unopened.IsOpen() && unopened.GetFile() == nullptr);
      }).errors,
      (Texts{tooLong, tooLong, readOnly, readOnly, readOnly, readOnly,
             "QXFile(name,type): Could not open the file \"" + missing + "\"", notOpen, notOpen}));
  writer.Flush();
  EXPECT_EQ(file.Read(), before);
  EXPECT_TRUE(reader.AllVariableNames().Length() == 1 && reader.ReadNumber(longest) == 1.0);
}

TEST_F(QXMatlabDataFileTest, ListingsOfFourHundredEntriesOrMoreSkipTheMiddle) {
  // An empty file first: no report, no entry.
  EXPECT_TRUE(Open("").AllVariableNames().Length() == 0 && opened.empty());
  const std::string tail = " " + Dots(26) + " - double - 1\n";
  for (int count : {399, 400, 405}) {
    QXMatBytes bytes{big};  // names 100, 101, ... of one length, sorted as saved
    for (int i = 100; i < 100 + count; i++) bytes.Record<double>(0, 1, 1, std::to_string(i), {1});
    const QXMatlabDataFile storage = Open(bytes.bytes);
    const std::string text = Listing(storage), skip = "Skipping " + std::to_string(count - 400) +
                                                      " entries.\n" + std::to_string(count + 91);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 + std::min(count, 400)) << count;
    EXPECT_NE(text.find("\n489" + tail + (count < 400 ? "490" : skip) + tail), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 3 - tail.size()), std::to_string(99 + count) + tail);
  }
}

}  // namespace
