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

// Assigning a list to itself changes nothing.
TEST_F(QXListTest, CopiesAndAssignmentsShareTheElementsWithoutCopyOnWrite) {
  QXMutableList<std::string> names(3);
  const QXList<std::string> copy = names;
  QXList<std::string> assigned(5);
  assigned = names;
  assigned = assigned;
  names(1) = "written";
  EXPECT_EQ(copy(1), "written");
  EXPECT_EQ(assigned(1), "written");
  EXPECT_EQ(assigned.Length(), 3);
}

// The spare entry belongs to the handle: a copy's is untouched.
TEST_F(QXListTest, WriteOutOfRangeLandsInTheHandlesOwnSpareEntry) {
  QXMutableList<std::string> values(1);
  values(0) = "kept";
  values(1) = "spare";
  const QXList<std::string> view(values);
  EXPECT_EQ(values(-1), "spare");
  EXPECT_EQ(view(1), "");
  EXPECT_EQ(values(0), "kept");
  EXPECT_EQ(Reports(), (Lines{"QXList<T>(1) is not valid, needs to be lie in [0,0].",
                              "QXList<T>(-1) is not valid, needs to be lie in [0,0].",
                              "QXList<T>(1) is not valid, needs to be lie in [0,0]."}));
}

}  // namespace
