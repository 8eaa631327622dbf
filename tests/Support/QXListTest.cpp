#include "QXList.h"

#include "QXReportingTest.h"

namespace {

class QXListTest : public QXReportingTest {};

TEST_F(QXListTest, NegativeLengthGivesAnEmptyListThatReportsEveryIndex) {
  const QXList<std::string> list(-3);
  EXPECT_EQ(list.Length(), 0);
  EXPECT_EQ(list(0), "");
  EXPECT_EQ(Reports(), Lines{"QXList<T>(0) is not valid, needs to be lie in [0,-1]."});
}

TEST_F(QXListTest, CopiesShareTheElementsWithoutCopyOnWrite) {
  QXMutableList<std::string> names(3);
  const QXList<std::string> before = names;
  names(1) = "written";
  EXPECT_EQ(before(1), "written");
}

TEST_F(QXListTest, WriteOutOfRangeLandsInTheSpareEntry) {
  QXMutableList<int> values(2);
  values = 1;
  values(2) = 99;
  EXPECT_EQ(Reports(), Lines{"QXList<T>(2) is not valid, needs to be lie in [0,1]."});
  EXPECT_EQ(values(-1), 99);
  EXPECT_EQ(Reports(), Lines{"QXList<T>(-1) is not valid, needs to be lie in [0,1]."});
  EXPECT_EQ(values(0), 1);
  EXPECT_EQ(values(1), 1);
}

TEST_F(QXListTest, EachHandleHasASpareEntryOfItsOwn) {
  QXMutableList<int> values(1);
  values(1) = 99;
  const QXList<int> view(values);
  EXPECT_EQ(view(1), 0);
  EXPECT_EQ(Reports(), Lines(2, "QXList<T>(1) is not valid, needs to be lie in [0,0]."));
}

TEST_F(QXListTest, AssignmentSharesTheOtherList) {
  QXMutableList<int> a(2);
  a = 7;
  QXList<int> b(5);
  b = a;
  b = b;
  EXPECT_EQ(b.Length(), 2);
  EXPECT_EQ(b(1), 7);
}

}  // namespace
