// A fixture for tests of calls that report. It captures the reports and
// standard error for the whole test; the test takes the reports with
// Reports(), and any report left untaken fails the test at its end.
#ifndef QXREPORTINGTEST_H
#define QXREPORTINGTEST_H

#include <optional>
#include <string>
#include <vector>

#include "QXTestSupport.h"

class QXReportingTest : public testing::Test {
 protected:
  using Lines = std::vector<std::string>;

  // The reports made since the test began or since the last Reports() or Printed().
  Lines Reports() {
    Restart();
    return errors;
  }
  // What was written to standard error since then, when that was no report.
  std::string Printed() {
    Restart();
    EXPECT_EQ(errors, Lines{}) << "reports made before the printing";
    return printed;
  }
  void TearDown() override { EXPECT_EQ(Reports(), Lines{}) << "reports the test did not take"; }

 private:
  void Restart() {
    capture->Finish();
    errors = capture->errors;
    printed = capture->stderrText;
    capture.emplace();
  }

  std::optional<QXReportCapture> capture{std::in_place};
  Lines errors;
  std::string printed;
};

#endif
