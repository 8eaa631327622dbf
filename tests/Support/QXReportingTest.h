// A fixture for tests of calls that report. It captures the reports and
// standard error for the whole test; the test takes the reports with
// Reports(), and any report left untaken fails the test at its end.
#ifndef QXREPORTINGTEST_H
#define QXREPORTINGTEST_H

#include "QXTestSupport.h"

class QXReportingTest : public testing::Test {
 protected:
  using Lines = std::vector<std::string>;

  QXReportingTest() { Start(); }
  // The reports made since the test began or since the last Reports(),
  // Printed() or Stream().
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
  // All that was written to standard error since then, reports included,
  // which are taken.
  std::string Stream() {
    Restart();
    return printed;
  }
  void TearDown() override {
    Stop();
    EXPECT_EQ(errors, Lines{}) << "reports the test did not take";
  }

 private:
  void Start() {
    QXClearErrorList();
    testing::internal::CaptureStderr();
  }
  void Stop() {
    printed = testing::internal::GetCapturedStderr();
    errors = QXErrorListSnapshot();
  }
  void Restart() {
    Stop();
    Start();
  }

  Lines errors;
  std::string printed;
};

#endif
