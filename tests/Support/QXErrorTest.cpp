#include "QXError.h"

#include "QXReportingTest.h"

namespace {

class QXError : public QXReportingTest {};

TEST_F(QXError, WritesOperationColonSpaceMessageAndALineEnd) {
  QXErrorMessage("QXFile::ReadLine()", "No file");
  EXPECT_EQ(Stream(), "QXFile::ReadLine(): No file\n");
}

TEST_F(QXError, ListsTheTextWrittenToTheStream) {
  QXErrorMessage("QXFile::ReadLine()", "No file");
  EXPECT_EQ(Reports(), Lines{"QXFile::ReadLine(): No file"});
}

TEST_F(QXError, EmptyOperationKeepsColonAndSpace) {
  QXErrorMessage("", "bare");
  EXPECT_EQ(Reports(), Lines{": bare"});
}

TEST_F(QXError, MessageWithoutOperationIsWrittenUnchanged) {
  QXErrorMessage("whole text");
  EXPECT_EQ(Stream(), "whole text\n");
}

TEST_F(QXError, WarningsShareTheListInReportOrder) {
  QXWarningMessage("W", "first");
  QXErrorMessage("E", "second");
  EXPECT_EQ(Reports(), (Lines{"W: first", "E: second"}));
}

TEST_F(QXError, OneIndexOutOfRangeSaysNeedsToBeLieIn) {
  QXErrorOutOfRange("QXList<T>", 7, 5);
  EXPECT_EQ(Reports(), Lines{"QXList<T>(7) is not valid, needs to be lie in [0,4]."});
}

TEST_F(QXError, TwoIndicesOutOfRangeSayNeedsToLieIn) {
  QXErrorOutOfRange("QXDoubleArray", 3, 4, 2, 2);
  EXPECT_EQ(Reports(), Lines{"QXDoubleArray(3,4) is not valid, needs to lie in [0,1]x[0,1]."});
}

TEST_F(QXError, ThreeIndicesOutOfRangeSayNeedsToLieIn) {
  QXErrorOutOfRange("QXIntArray", 1, 2, 3, 1, 1, 1);
  EXPECT_EQ(Reports(), Lines{"QXIntArray(1,2,3) is not valid, needs to lie in [0,0]x[0,0]x[0,0]."});
}

TEST_F(QXError, ConcurrentReportsStayWholeOnTheStream) {
  { QXReportingThreads threads(200); }
  std::string expected;
  for (int i = 0; i < 4 * 200; i++) expected += "thread: text\n";
  EXPECT_EQ(Stream(), expected);
}

// A clear that took no lock would race with the reports (ThreadSanitizer
// sees it); the list must still hold whole reports only.
TEST_F(QXError, ClearsWhileOtherThreadsReport) {
  QXReportingThreads threads(500);
  do {
    QXClearErrorList();
  } while (threads.Running());
  const Lines left = Reports();
  EXPECT_EQ(left, Lines(left.size(), "thread: text"));
}

}  // namespace
