#include "QXProgress.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "QXTestSupport.h"

namespace {

// Runs each test in a fresh temporary working directory, since the progress
// file always lives in the working directory; the old one is restored after.
class QXProgressTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(getcwd(oldDirectory, sizeof oldDirectory), nullptr);
    char pattern[] = "/tmp/qxprogresstest.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory = pattern;
    ASSERT_EQ(chdir(pattern), 0);
  }
  void TearDown() override {
    EXPECT_EQ(chdir(oldDirectory), 0);
    std::filesystem::remove_all(directory);
  }

  // The progress file's content; it must consist of "x" only.
  static std::string Progress() {
    std::ifstream in("QXProgress", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static std::string Xs(size_t count) { return std::string(count, 'x'); }

  char oldDirectory[PATH_MAX];
  std::string directory;
};

}  // namespace

TEST_F(QXProgressTest, ReplacesAnOldFileWithAnEmptyOne) {
  std::ofstream("QXProgress") << "xxxxxxxxxxxx";
  QXProgress progress;
  EXPECT_EQ(Progress(), "");
}

TEST_F(QXProgressTest, GrowsOneCharacterPerTwoPercentAndNeverShrinks) {
  QXProgress progress;
  progress.UpdatePercentage(0.5f);
  EXPECT_EQ(Progress(), Xs(25));  // flushed at once
  progress.UpdatePercentage(0.3f);
  EXPECT_EQ(Progress(), Xs(25));
  progress.UpdatePercentage(1.0f);
  EXPECT_EQ(Progress(), Xs(50));
}

TEST_F(QXProgressTest, RoundsSmallFractionsToTheNearestCharacter) {
  QXProgress progress;
  progress.UpdatePercentage(0.009f);
  EXPECT_EQ(Progress(), "");
  progress.UpdatePercentage(0.01f);  // stored just below 0.01: still below half a character
  EXPECT_EQ(Progress(), "");
  progress.UpdatePercentage(0.02f);
  EXPECT_EQ(Progress(), Xs(1));
  progress.UpdatePercentage(0.05f);  // 2.5 rounds up
  EXPECT_EQ(Progress(), Xs(3));
}

TEST_F(QXProgressTest, OutOfRangeFractionsAreClamped) {
  QXProgress progress;
  progress.UpdatePercentage(std::numeric_limits<float>::quiet_NaN());
  progress.UpdatePercentage(-3.0f);
  EXPECT_EQ(Progress(), "");
  progress.UpdatePercentage(1e30f);
  EXPECT_EQ(Progress(), Xs(50));
  progress.UpdatePercentage(std::numeric_limits<float>::infinity());
  EXPECT_EQ(Progress(), Xs(50));
}

TEST_F(QXProgressTest, UncreatableFileIsReportedAndUpdatesWriteNothing) {
  // A non-empty directory of that name can neither be removed nor opened.
  ASSERT_EQ(mkdir("QXProgress", 0700), 0);
  std::ofstream("QXProgress/inside") << "keep";
  QXReportCapture capture;
  QXProgress progress;
  progress.UpdatePercentage(0.5f);
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>{"QXFile(name,type): Could not open the file \"QXProgress\""});
  struct stat info {};
  ASSERT_EQ(stat("QXProgress", &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
}
