#include "QXError.h"

#include "QXReportingTest.h"

class QXError : public QXReportingTest {};

// A warning is reported as an error is.
TEST_F(QXError, WritesOperationColonSpaceMessageToTheStreamAndTheListInOrder) {
  QXWarningMessage("W", "first");
  QXErrorMessage("QXFile::ReadLine()", "No file");
  EXPECT_EQ(Printed(), "W: first\nQXFile::ReadLine(): No file\n");
  EXPECT_EQ(Reports(), (Lines{"W: first", "QXFile::ReadLine(): No file"}));
}

// One index "needs to be lie in"; two and three "need to lie in".
TEST_F(QXError, OutOfRangeMessagesGiveTheIndicesAndTheValidRanges) {
  QXErrorOutOfRange("QXList<T>", 7, 5);
  QXErrorOutOfRange("QXDoubleArray", 3, 4, 2, 2);
  QXErrorOutOfRange("QXIntArray", 1, 2, 3, 1, 1, 1);
  EXPECT_EQ(Reports(), (Lines{"QXList<T>(7) is not valid, needs to be lie in [0,4].",
                              "QXDoubleArray(3,4) is not valid, needs to lie in [0,1]x[0,1].",
                              "QXIntArray(1,2,3) is not valid, needs to lie in [0,0]x[0,0]x[0,0]."}));
}

// Unlocked, a clear races with the reports (ThreadSanitizer sees it), and
// lines from two threads can mix on the stream.
TEST_F(QXError, ReportsFromFourThreadsStayWholeWhileTheListIsCleared) {
  QXReportingThreads threads(500);
  do {
    QXClearErrorList();
  } while (threads.Running());
  std::string lines;
  for (int i = 0; i < 4 * 500; i++) lines += "thread: text\n";
  EXPECT_EQ(Printed(), lines);
  const Lines left = Reports();
  EXPECT_EQ(left, Lines(left.size(), "thread: text"));
}
