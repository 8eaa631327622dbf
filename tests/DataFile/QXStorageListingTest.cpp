#include "QXStorageListingInternal.h"

#include "QXReportingTest.h"

class QXStorageListing : public QXReportingTest {};

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

// Up to 400 entries all are shown; of more, the first 390 and the last nine,
// so that with the line that announces the others there are 400 lines.
TEST_F(QXStorageListing, ShowsAll400EntriesOr399OfMore) {
  const std::pair<size_t, size_t> cases[] = {
      {400, 400},
      {401, 399},
      {20000, 399},
  };
  for (const auto& [count, expected] : cases) {
    size_t shown = 0;
    for (size_t i = 0; i < count; i++) shown += QXListingShows(i, count);
    EXPECT_EQ(shown, expected) << count;
  }
}

TEST_F(QXStorageListing, SkipLineAnnouncesTheNumberReallyLeftOut) {
  EXPECT_EQ(QXListingSkipLine(401), "Skipping 2 entries.");
  EXPECT_EQ(QXListingSkipLine(20000), "Skipping 19601 entries.");
}

TEST_F(QXStorageListing, StorageReportsEscapeTheNamesTheyQuote) {
  QXTempPath file("escaped");
  file.Write("");
  QXMatlabDataFile(file.path, QXFile::ReadOnly).ReadString("a\nb");
  EXPECT_EQ(Reports(), Lines{"dataFile.ReadString(name): Did not find the variable \"a\\nb\" "
                             "inside the datafile."});
}
