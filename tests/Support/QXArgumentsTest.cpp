#include "QXArguments.h"

#include "QXReportingTest.h"

namespace {

void SetCommandLine(std::vector<const char*> words) {
  QXSetArguments(static_cast<int>(words.size()), words.data());
}

class QXArgumentsTest : public QXReportingTest {};

// A position beyond them is reported.
TEST_F(QXArgumentsTest, PositionsCountTheWordsAfterTheProgramName) {
  SetCommandLine({"tool", "-all", "a.mat"});
  EXPECT_EQ(QXApplicationName, "tool");
  EXPECT_EQ(QXHowManyArguments(), 2);
  EXPECT_EQ(QXGetArgumentNumber(1), "a.mat");
  EXPECT_EQ(QXGetArgumentNumber(2), "");
  EXPECT_EQ(Reports(), Lines{"QXGetArgumentNumber(number): number out of bounds."});
}

TEST_F(QXArgumentsTest, FlagIsAWordOfADashAndTheWholeName) {
  SetCommandLine({"tool", "-all"});
  EXPECT_TRUE(QXArgumentIncludesFlag("all"));
  EXPECT_FALSE(QXArgumentIncludesFlag("al"));
  EXPECT_FALSE(QXArgumentIncludesFlag("-all"));
}

TEST_F(QXArgumentsTest, FlagEntryIsTheNextWordUnlessThatIsAFlag) {
  const std::pair<std::vector<const char*>, std::string> cases[] = {
      {{"tool", "-n", "12"}, "12"},
      {{"tool", "-n", "-3"}, ""},
      {{"tool", "-n"}, ""},
      {{"tool", "-n", ""}, ""},
      {{"tool", "-n", "4", "-n", "5"}, "4"},
  };
  for (const auto& [words, entry] : cases) {
    SCOPED_TRACE(testing::PrintToString(words));
    SetCommandLine(words);
    EXPECT_EQ(QXArgumentFlagEntry("n"), entry);
  }
}

TEST_F(QXArgumentsTest, IntegerEntryReadsLikeAtoiAndSaturates) {
  const std::pair<const char*, int> cases[] = {
      {"12", 12}, {"7x", 7}, {"x", 0}, {" +42", 42}, {"99999999999999999999", 2147483647},
  };
  for (const auto& [word, value] : cases) {
    SCOPED_TRACE(word);
    SetCommandLine({"tool", "-n", word});
    EXPECT_EQ(QXArgumentIntegerEntry("n"), value);
  }
}

}  // namespace
