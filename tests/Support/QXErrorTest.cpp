#include "QXError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QXTestSupport.h"

using Texts = std::vector<std::string>;

TEST(QXError, WritesOperationColonSpaceMessageToTheStream) {
  QXReportCapture capture;
  QXErrorMessage("QXFile::ReadLine()", "No file");
  capture.Finish();
  EXPECT_EQ(capture.stderrText, "QXFile::ReadLine(): No file\n");
}

TEST(QXError, AppendsTheWrittenTextToTheList) {
  QXReportCapture capture;
  QXErrorMessage("QXFile::ReadLine()", "No file");
  capture.Finish();
  EXPECT_EQ(capture.errors, Texts{"QXFile::ReadLine(): No file"});
}

TEST(QXError, EmptyOperationKeepsColonAndSpace) {
  QXReportCapture capture;
  QXErrorMessage("", "bare");
  capture.Finish();
  EXPECT_EQ(capture.errors, Texts{": bare"});
}

TEST(QXError, MessageWithoutOperationIsReportedUnchanged) {
  QXReportCapture capture;
  QXErrorMessage("whole text");
  capture.Finish();
  EXPECT_EQ(capture.stderrText, "whole text\n");
}

TEST(QXError, WarningsShareTheListInReportOrder) {
  QXReportCapture capture;
  QXWarningMessage("W", "first");
  QXErrorMessage("E", "second");
  capture.Finish();
  EXPECT_EQ(capture.errors, (Texts{"W: first", "E: second"}));
}

TEST(QXError, OneIndexOutOfRangeSaysNeedsToBeLieIn) {
  QXReportCapture capture;
  QXErrorOutOfRange("QXList<T>", 7, 5);
  capture.Finish();
  EXPECT_EQ(capture.errors, Texts{"QXList<T>(7) is not valid, needs to be lie in [0,4]."});
}

TEST(QXError, TwoIndicesOutOfRangeSayNeedsToLieIn) {
  QXReportCapture capture;
  QXErrorOutOfRange("QXDoubleArray", 3, 4, 2, 2);
  capture.Finish();
  EXPECT_EQ(capture.errors, Texts{"QXDoubleArray(3,4) is not valid, needs to lie in [0,1]x[0,1]."});
}

TEST(QXError, ThreeIndicesOutOfRangeSayNeedsToLieIn) {
  QXReportCapture capture;
  QXErrorOutOfRange("QXIntArray", 1, 2, 3, 1, 1, 1);
  capture.Finish();
  EXPECT_EQ(capture.errors,
            Texts{"QXIntArray(1,2,3) is not valid, needs to lie in [0,0]x[0,0]x[0,0]."});
}

TEST(QXError, SnapshotIsNotChangedByLaterReports) {
  QXReportCapture capture;
  QXErrorMessage("first");
  const Texts snapshot = QXErrorListSnapshot();
  QXErrorMessage("second");
  capture.Finish();
  EXPECT_EQ(snapshot, Texts{"first"});
}

TEST(QXError, ClearEmptiesTheList) {
  QXReportCapture capture;
  QXErrorMessage("first");
  QXClearErrorList();
  QXErrorMessage("second");
  capture.Finish();
  EXPECT_EQ(capture.errors, Texts{"second"});
}

TEST(QXError, ConcurrentReportsStayWholeOnTheStream) {
  QXReportCapture capture;
  QXReportingThreads threads(200);
  threads.Join();
  capture.Finish();
  std::string expected;
  for (int i = 0; i < 4 * 200; i++) expected += "thread: text\n";
  EXPECT_EQ(capture.stderrText, expected);
}

// Reports only append, so every snapshot taken while threads report is a
// prefix of the final list. Without the lock ThreadSanitizer sees the race.
TEST(QXError, SnapshotsWhileOtherThreadsReportAreWholePrefixes) {
  QXReportCapture capture;
  QXReportingThreads threads(500);
  std::vector<Texts> snapshots;
  do {
    snapshots.push_back(QXErrorListSnapshot());
  } while (threads.Running());
  threads.Join();
  capture.Finish();
  ASSERT_EQ(capture.errors.size(), 2000u);
  for (const Texts& snapshot : snapshots) {
    EXPECT_EQ(snapshot, Texts(snapshot.size(), "thread: text"));
  }
}

TEST(QXError, ClearsWhileOtherThreadsReport) {
  QXReportCapture capture;
  QXReportingThreads threads(500);
  do {
    QXClearErrorList();
  } while (threads.Running());
  threads.Join();
  capture.Finish();
  EXPECT_EQ(capture.errors, Texts(capture.errors.size(), "thread: text"));
}
