// Helpers shared by the tests: capturing what a call reports.
#ifndef QXTESTSUPPORT_H
#define QXTESTSUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QXError.h"

// Runs the body with standard error captured and the error list emptied;
// afterwards `errors` holds the reports the body made and `stderrText` all
// it wrote to standard error.
class QXReportCapture {
 public:
  QXReportCapture() {
    QXErrorList().clear();
    testing::internal::CaptureStderr();
  }
  // Stops capturing; call once, before checking.
  void Finish() {
    if (finished) return;
    finished = true;
    stderrText = testing::internal::GetCapturedStderr();
    errors = QXErrorList();
    QXErrorList().clear();
  }
  ~QXReportCapture() { Finish(); }

  std::vector<std::string> errors;
  std::string stderrText;

 private:
  bool finished = false;
};

#endif
