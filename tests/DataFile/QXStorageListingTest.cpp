#include "QXStorageListingInternal.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "QXMatlabDataFile.h"
#include "QXTestSupport.h"

namespace {

struct Entry {
  long location;
};
struct Line {
  long pos;
  std::string description;
};

// The listing lines of `count` entries named e0, e1, ... in file order.
std::vector<std::string> ListingOf(int count) {
  QXStorageIndex<Entry> index;
  for (int i = 0; i < count; i++) index.Set("e" + std::to_string(i), Entry{i});
  const std::string text =
      QXListingLines<Line>(index, [](const std::string& name, const Entry&) { return name; });
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// How many of the entries the lines leave out.
int EntriesLeftOut(const std::vector<std::string>& lines, int count) {
  int listed = 0;
  for (const std::string& line : lines) listed += line[0] == 'e';
  return count - listed;
}

}  // namespace

TEST(QXStorageListing, EscapesControlCharactersAndTheBackslash) {
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"a\nb", "a\\nb"},
      {"\r", "\\r"},
      {"\t", "\\t"},
      {"\\", "\\\\"},
      {"\\n", "\\\\n"},
      {std::string(1, '\0'), "\\x00"},
      {"\x1b[2J", "\\x1b[2J"},
      {"\x1f", "\\x1f"},
      {"\x7f", "\\x7f"},
  };
  // clang-format on
  for (const auto& [text, escaped] : cases) {
    EXPECT_EQ(QXEscapeControlCharacters(text), escaped) << escaped;
  }
}

TEST(QXStorageListing, KeepsPrintableTextAndBytesFrom0x80) {
  const std::string cases[] = {
      "",
      " ~plain",
      "Größe",
      "\x80\xff",
  };
  for (const std::string& text : cases) {
    EXPECT_EQ(QXEscapeControlCharacters(text), text) << text;
  }
}

TEST(QXStorageListing, NameColumnEscapesBeforeFillingWithDots) {
  EXPECT_EQ(QXListingName("a\nb"), "a\\nb " + std::string(25, '.'));
}

TEST(QXStorageListing, ShortTextValueIsEscaped) {
  EXPECT_EQ(QXListingText("x\ny", 4), "\"x\\ny\"");
}

TEST(QXStorageListing, LongTextValueShowsItsFirstFifteenCharactersEscaped) {
  EXPECT_EQ(QXListingText("\n23456789012345678901", 22),
            "\"\\n23456789012345...\" - 22 characters");
}

TEST(QXStorageListing, FourHundredEntriesAreAllListed) {
  const std::vector<std::string> lines = ListingOf(400);
  EXPECT_EQ(lines.size(), 400u);
  EXPECT_EQ(EntriesLeftOut(lines, 400), 0);
}

TEST(QXStorageListing, LongListingsHaveFourHundredLines) {
  EXPECT_EQ(ListingOf(401).size(), 400u);
  EXPECT_EQ(ListingOf(20000).size(), 400u);
}

TEST(QXStorageListing, LongListingsShowTheFirst390AndTheLastNine) {
  const std::vector<std::string> lines = ListingOf(500);
  EXPECT_EQ(lines[389], "e389");
  EXPECT_EQ(lines[391], "e491");
  EXPECT_EQ(lines[399], "e499");
}

TEST(QXStorageListing, SkipLineAnnouncesTheNumberReallyLeftOut) {
  for (int count : {401, 402, 20000}) {
    const std::vector<std::string> lines = ListingOf(count);
    EXPECT_EQ(lines[390], "Skipping " + std::to_string(EntriesLeftOut(lines, count)) + " entries.")
        << count;
  }
}

TEST(QXStorageListing, StorageReportsEscapeTheNamesTheyQuote) {
  QXTempPath file("escaped");
  file.Write("");
  const QXMatlabDataFile storage(file.path, QXFile::ReadOnly);
  QXReportCapture capture;
  storage.ReadString("a\nb");
  capture.Finish();
  const std::vector<std::string> expected = {
      "dataFile.ReadString(name): Did not find the variable \"a\\nb\" inside the datafile."};
  EXPECT_EQ(capture.errors, expected);
}
