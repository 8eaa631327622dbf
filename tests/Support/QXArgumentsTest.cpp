#include "QXArguments.h"

#include <gtest/gtest.h>

#include <vector>

#include "QXTestSupport.h"

namespace {

void SetCommandLine(std::vector<const char*> words) {
  QXSetArguments(static_cast<int>(words.size()), words.data());
}

}  // namespace

TEST(QXArguments, StoresWordsAfterTheProgramName) {
  SetCommandLine({"tool", "-all", "a.mat"});
  EXPECT_EQ(QXApplicationName, "tool");
  EXPECT_EQ(QXHowManyArguments(), 2);
  EXPECT_EQ(QXGetArgumentNumber(0), "-all");
  EXPECT_EQ(QXGetArgumentNumber(1), "a.mat");
  EXPECT_TRUE(QXArgumentIncludesFlag("all"));
  EXPECT_FALSE(QXArgumentIncludesFlag("al"));
  EXPECT_FALSE(QXArgumentIncludesFlag("-all"));

  SetCommandLine({"other"});
  EXPECT_EQ(QXApplicationName, "other");
  EXPECT_EQ(QXHowManyArguments(), 0);
}

TEST(QXArguments, PositionOutOfBoundsIsReported) {
  SetCommandLine({"tool", "x"});
  QXReportCapture capture;
  EXPECT_EQ(QXGetArgumentNumber(-1), "");
  EXPECT_EQ(QXGetArgumentNumber(1), "");
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>(2, "QXGetArgumentNumber(number): number out of bounds."));
}

TEST(QXArguments, FlagEntriesTakeTheNextWordUnlessItIsAFlag) {
  SetCommandLine({"tool", "-n", "12"});
  EXPECT_EQ(QXArgumentFlagEntry("n"), "12");
  EXPECT_EQ(QXArgumentIntegerEntry("n"), 12);

  SetCommandLine({"tool", "-n", "-3"});
  EXPECT_EQ(QXArgumentFlagEntry("n"), "");
  EXPECT_EQ(QXArgumentIntegerEntry("n"), 0);

  SetCommandLine({"tool", "-n"});
  EXPECT_EQ(QXArgumentFlagEntry("n"), "");

  SetCommandLine({"tool", "-n", ""});
  EXPECT_EQ(QXArgumentFlagEntry("n"), "");

  SetCommandLine({"tool", "-n", "4", "-n", "5"});
  EXPECT_EQ(QXArgumentIntegerEntry("n"), 4);
  EXPECT_EQ(QXArgumentIntegerEntry("m"), 0);
}

TEST(QXArguments, IntegerEntriesReadLikeAtoi) {
  SetCommandLine({"tool", "-n", "7x"});
  EXPECT_EQ(QXArgumentIntegerEntry("n"), 7);
  SetCommandLine({"tool", "-n", "x"});
  EXPECT_EQ(QXArgumentIntegerEntry("n"), 0);
  SetCommandLine({"tool", "-n", " +42"});
  EXPECT_EQ(QXArgumentIntegerEntry("n"), 42);
  SetCommandLine({"tool", "-n", "99999999999999999999"});
  EXPECT_EQ(QXArgumentIntegerEntry("n"), 2147483647);
}
