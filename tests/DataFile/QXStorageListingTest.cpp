#include "QXStorageListingInternal.h"

#include <sstream>

#include "QXReportingTest.h"

namespace {

class QXStorageListing : public QXReportingTest {};

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
  std::istringstream text(
      QXListingLines<Line>(index, [](const std::string& name, const Entry&) { return name; }));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

TEST_F(QXStorageListing, EscapesControlCharactersAndTheBackslashOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\nb", "a\\nb"},
      {"\r", "\\r"},
      {"\t", "\\t"},
      {"\\", "\\\\"},
      {std::string(1, '\0'), "\\x00"},
      {"\x1f", "\\x1f"},
      {"\x7f", "\\x7f"},
      {" ~plain", " ~plain"},
      {"\x80\xff", "\x80\xff"},
  };
  for (const auto& [text, escaped] : cases) {
    EXPECT_EQ(QXEscapeControlCharacters(text), escaped) << escaped;
  }
}

TEST_F(QXStorageListing, NameColumnEscapesBeforeFillingWithDots) {
  EXPECT_EQ(QXListingName("a\nb"), "a\\nb " + std::string(25, '.'));
}

TEST_F(QXStorageListing, LongTextValueShowsItsFirstFifteenCharactersEscaped) {
  EXPECT_EQ(QXListingText("\n23456789012345678901", 22),
            "\"\\n23456789012345...\" - 22 characters");
}

// Up to 400 entries all are listed; beyond, the first 390 and the last nine,
// so that a listing never has more than 400 lines.
TEST_F(QXStorageListing, LongListingsAnnounceTheNumberReallyLeftOut) {
  const std::pair<int, std::string> cases[] = {
      {400, "e390"},
      {401, "Skipping 2 entries."},
      {20000, "Skipping 19601 entries."},
  };
  for (const auto& [count, line] : cases) {
    const std::vector<std::string> lines = ListingOf(count);
    EXPECT_EQ(lines.size(), 400u) << count;
    EXPECT_EQ(lines[390], line) << count;
  }
}

TEST_F(QXStorageListing, StorageReportsEscapeTheNamesTheyQuote) {
  QXTempPath file("escaped");
  file.Write("");
  QXMatlabDataFile(file.path, QXFile::ReadOnly).ReadString("a\nb");
  EXPECT_EQ(Reports(), Lines{"dataFile.ReadString(name): Did not find the variable \"a\\nb\" "
                             "inside the datafile."});
}

}  // namespace
