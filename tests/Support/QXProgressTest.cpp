#include "QXProgress.h"

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
    std::filesystem::create_directory(directory.path);
    std::filesystem::current_path(directory.path);
  }
  void TearDown() override {
    std::filesystem::current_path(home);
    std::filesystem::remove_all(directory.path);
    QXReportingTest::TearDown();
  }
  static std::string Bar() {
    std::string text;
    std::getline(std::ifstream("QXProgress"), text);
    return text;
  }

  const std::filesystem::path home = std::filesystem::current_path();
  QXTempPath directory{"progress", ""};
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
  const std::string report = "Could not open the file \"QXProgress\": it is a directory.";
  EXPECT_EQ(Reports(), Lines{"QXFile(name,type): " + report});
}

}  // namespace
