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

TEST_F(QXStorageListing, StorageReportsEscapeTheNamesTheyQuote) {
  QXTempPath file("escaped");
  file.Write("");
  QXMatlabDataFile(file.path, QXFile::ReadOnly).ReadString("a\nb");
  EXPECT_EQ(Reports(), Lines{"dataFile.ReadString(name): Did not find the variable \"a\\nb\" "
                             "inside the datafile."});
}
