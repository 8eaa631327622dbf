#include "QXProgress.h"

#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "QXReportingTest.h"

namespace {

// The progress file lives in the working directory, so each test runs in a
// fresh temporary one and goes back to the old one at the end.
class QXProgressTest : public QXReportingTest {
 protected:
  void SetUp() override {
    ASSERT_NE(getcwd(oldDirectory, PATH_MAX), nullptr);
    ASSERT_NE(mkdtemp(directory), nullptr);
    ASSERT_EQ(chdir(directory), 0);
  }
  void TearDown() override {
    EXPECT_EQ(chdir(oldDirectory), 0);
    std::filesystem::remove_all(directory);
    QXReportingTest::TearDown();
  }
  static std::string Bar() {
    std::string text;
    std::getline(std::ifstream("QXProgress"), text);
    return text;
  }

  char oldDirectory[PATH_MAX] = "";
  char directory[32] = "/tmp/qxprogresstest.XXXXXX";
};

// 0.01f lies just below 0.01, so below half a character; 0.05 gives 2.5.
TEST_F(QXProgressTest, FileGrowsOneXPerTwoPercentAndNeverShrinks) {
  std::ofstream("QXProgress") << "old content";
  QXProgress progress;
  const std::pair<float, size_t> steps[] = {
      {0, 0},     {NAN, 0},   {-3, 0},    {0.009f, 0}, {0.01f, 0},     {0.02f, 1},
      {0.05f, 3}, {0.5f, 25}, {0.3f, 25}, {1e30f, 50}, {INFINITY, 50},
  };
  for (const auto& [fraction, length] : steps) {
    SCOPED_TRACE(fraction);
    progress.UpdatePercentage(fraction);
    EXPECT_EQ(Bar(), std::string(length, 'x'));
  }
}

// A non-empty directory of that name can neither be removed nor opened.
TEST_F(QXProgressTest, FileThatCannotBeOpenedIsReported) {
  std::filesystem::create_directories("QXProgress/inside");
  QXProgress().UpdatePercentage(0.5f);
  EXPECT_EQ(Reports(),
            std::vector<std::string>{
                "QXFile(name,type): Could not open the file \"QXProgress\": it is a directory."});
}

}  // namespace
