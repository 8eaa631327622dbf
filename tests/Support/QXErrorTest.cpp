#include "QXError.h"

#include <gtest/gtest.h>

#include <thread>

#include "QXTestSupport.h"

TEST(QXError, WritesOperationColonMessageToStreamAndList) {
  QXReportCapture capture;
  QXErrorMessage("QXFile::ReadLine()", "No file");
  QXErrorMessage("", "bare");
  QXErrorMessage("whole text");
  capture.Finish();
  EXPECT_EQ(capture.stderrText, "QXFile::ReadLine(): No file\n: bare\nwhole text\n");
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{"QXFile::ReadLine(): No file", ": bare", "whole text"}));
}

TEST(QXError, WarningsShareTheListInReportOrder) {
  QXReportCapture capture;
  QXWarningMessage("W", "first");
  QXErrorMessage("E", "second");
  capture.Finish();
  EXPECT_EQ(capture.errors, (std::vector<std::string>{"W: first", "E: second"}));
}

TEST(QXError, OutOfRangeMessagesKeepTheirTwoWordings) {
  QXReportCapture capture;
  QXErrorOutOfRange("QXList<T>", 7, 5);
  QXErrorOutOfRange("QXDoubleArray", 3, 4, 2, 2);
  QXErrorOutOfRange("QXIntArray", 1, 2, 3, 1, 1, 1);
  QXErrorOutOfRange("QXList<T>", 0, 0);
  capture.Finish();
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{
                "QXList<T>(7) is not valid, needs to be lie in [0,4].",
                "QXDoubleArray(3,4) is not valid, needs to lie in [0,1]x[0,1].",
                "QXIntArray(1,2,3) is not valid, needs to lie in [0,0]x[0,0]x[0,0].",
                "QXList<T>(0) is not valid, needs to be lie in [0,-1]."}));
}

TEST(QXError, ConcurrentReportsStayWhole) {
  QXReportCapture capture;
  const int perThread = 200;
  auto report = [](const char* text) {
    for (int i = 0; i < perThread; i++) QXErrorMessage("thread", text);
  };
  std::thread first(report, "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa");
  std::thread second(report, "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb");
  first.join();
  second.join();
  capture.Finish();
  ASSERT_EQ(capture.errors.size(), 2u * perThread);
  for (const std::string& line : capture.errors) {
    EXPECT_TRUE(line == "thread: aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa" ||
                line == "thread: bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb")
        << line;
  }
  EXPECT_EQ(capture.stderrText.size(), 2u * perThread * 41);
}
