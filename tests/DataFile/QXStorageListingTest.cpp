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

// A long listing shows its first 390 entries and its last nine.
TEST_F(QXStorageListing, SkipLineAnnouncesTheNumberReallyLeftOut) {
  for (size_t count : {401u, 20000u}) {
    size_t shown = 0;
    for (size_t i = 0; i < count; i++) shown += QXListingShows(i, count);
    EXPECT_EQ(QXListingSkipLine(count), "Skipping " + std::to_string(count - shown) + " entries.");
  }
}

TEST_F(QXStorageListing, StorageReportsEscapeTheNamesTheyQuote) {
  QXTempPath file("escaped");
  file.Write("");
  QXMatlabDataFile(file.path, QXFile::ReadOnly).ReadString("a\nb");
  EXPECT_EQ(Reports(), Lines{"dataFile.ReadString(name): Did not find the variable \"a\\nb\" "
                             "inside the datafile."});
}
