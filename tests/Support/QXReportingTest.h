// A fixture for tests of calls that report. It captures the reports and
// standard error for the whole test; the test takes the reports with
// Reports(), and any report left untaken fails the test at its end.
#ifndef QXREPORTINGTEST_H
#define QXREPORTINGTEST_H

#include "QXTestSupport.h"

class QXReportingTest : public testing::Test {
 protected:
  using Lines = std::vector<std::string>;

  QXReportingTest() {
    QXClearErrorList();
    testing::internal::CaptureStderr();
  }
  // What was written to standard error since the test began or since the
  // last Printed() or Reports(), the lines of reports included.
  std::string Printed() {
    std::string printed = testing::internal::GetCapturedStderr();
    testing::internal::CaptureStderr();
    return printed;
  }
  // The reports made since the test began or since the last Reports(); what
  // was written to standard error meanwhile is dropped.
  Lines Reports() {
    Printed();
    Lines reports = QXErrorListSnapshot();
    QXClearErrorList();
    return reports;
  }
  void TearDown() override {
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(QXErrorListSnapshot(), Lines{}) << "reports the test did not take";
  }
};

#endif
