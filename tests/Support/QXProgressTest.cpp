#include "QXProgress.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "QXTestSupport.h"

// The progress file lives in the working directory, so the test runs in a
// fresh temporary one and goes back to the old one at the end.
TEST(QXProgress, FileGrowsOneXPerTwoPercentAndNeverShrinks) {
  char oldDirectory[PATH_MAX], directory[] = "/tmp/qxprogresstest.XXXXXX";
  ASSERT_TRUE(getcwd(oldDirectory, PATH_MAX) && mkdtemp(directory) && chdir(directory) == 0);
  std::ofstream("QXProgress") << "old content";
  QXProgress progress;
  // 0.01f lies just below 0.01, so below half a character; 0.05 gives 2.5.
  const std::pair<float, size_t> steps[] = {{0, 0},     {NAN, 0},    {-3, 0},       {0.009f, 0},
                                            {0.01f, 0}, {0.02f, 1},  {0.05f, 3},    {0.5f, 25},
                                            {0.3f, 25}, {1e30f, 50}, {INFINITY, 50}};
  for (const auto& [percent, length] : steps) {
    progress.UpdatePercentage(percent);
    std::string text;
    std::getline(std::ifstream("QXProgress"), text);
    EXPECT_EQ(text, std::string(length, 'x')) << "after " << percent;
  }
  // A non-empty directory of that name can neither be removed nor opened.
  std::filesystem::remove("QXProgress");
  std::filesystem::create_directories("QXProgress/inside");
  QXReportCapture capture;
  QXProgress().UpdatePercentage(0.5f);
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>{"QXFile(name,type): Could not open the file \"QXProgress\""});
  EXPECT_EQ(chdir(oldDirectory), 0);
  std::filesystem::remove_all(directory);
}
