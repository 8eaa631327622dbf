#include "QXList.h"

#include <gtest/gtest.h>

#include <string>

#include "QXTestSupport.h"

TEST(QXList, EmptyListsReportEveryIndex) {
  QXList<std::string> zero(0);
  QXList<std::string> negative(-3);
  EXPECT_EQ(zero.Length(), 0);
  EXPECT_EQ(negative.Length(), 0);
  QXReportCapture capture;
  EXPECT_EQ(negative(0), "");
  capture.Finish();
  EXPECT_EQ(capture.errors,
            std::vector<std::string>{"QXList<T>(0) is not valid, needs to be lie in [0,-1]."});
}

TEST(QXList, CopiesShareElementsWithoutCopyOnWrite) {
  QXMutableList<std::string> names(3);
  QXList<std::string> before = names;
  names(1) = "written";
  QXList<std::string> after(names);
  EXPECT_EQ(before(1), "written");
  EXPECT_EQ(after(1), "written");
  EXPECT_EQ(before(0), "");
  EXPECT_EQ(names.Pointer()[1], "written");
}

TEST(QXList, OutOfRangeWritesLandInTheHandlesSpareEntry) {
  QXMutableList<int> values(2);
  values(0) = 1;
  values(1) = 2;
  QXReportCapture capture;
  values(2) = 99;
  EXPECT_EQ(values(-1), 99);  // the same spare entry
  QXList<int> view = values;
  EXPECT_EQ(view(5), 0);  // each list has its own spare entry
  capture.Finish();
  EXPECT_EQ(capture.errors.size(), 3u);
  EXPECT_EQ(capture.errors[0], "QXList<T>(2) is not valid, needs to be lie in [0,1].");
  EXPECT_EQ(values(0), 1);
  EXPECT_EQ(values(1), 2);
}

TEST(QXList, AssignmentSharesAndReleases) {
  QXMutableList<int> a(2);
  a = 7;  // fill
  QXList<int> b(5);
  b = a;
  EXPECT_EQ(b.Length(), 2);
  EXPECT_EQ(b(1), 7);
  b = b;  // self-assignment keeps the elements
  b = a;  // already shared: nothing changes
  EXPECT_EQ(b(0), 7);
  QXMutableList<int> c;
  EXPECT_EQ(c.Length(), 0);
  EXPECT_EQ(c.Pointer(), nullptr);
}
