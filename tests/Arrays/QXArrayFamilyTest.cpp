// Behaviour common to all seven array types, run once per type.
#include <cmath>
#include <functional>
#include <thread>

#include "QXArrayValues.h"
#include "QXReportingTest.h"

namespace {

using Lines = std::vector<std::string>;

template <class Mutable>
class QXArrayFamily : public QXReportingTest {
 protected:
  using Element = typename Mutable::Element;
  const std::string name = QXArrayTraits<Element>::name;

  // An m x n x o array whose element at position p holds p + 1.
  static Mutable Counting(int m, int n, int o) {
    Mutable A(m, n, o);
    for (int p = 0; p < A.Length(); p++) A(p) = static_cast<Element>(p + 1);
    return A;
  }
};

TYPED_TEST_SUITE(QXArrayFamily, QXMutableArrayTypes);

TYPED_TEST(QXArrayFamily, DimensionBelowOneGivesTheEmptyArray) {
  EXPECT_EQ(SizeOf(TypeParam(0, 5, 1)), std::vector<int>({0, 0, 0}));
  EXPECT_EQ(SizeOf(TypeParam(3, -1, 2)), std::vector<int>({0, 0, 0}));
  EXPECT_EQ(TypeParam(0, 5, 1).Pointer(), nullptr);
}

TYPED_TEST(QXArrayFamily, IndexOutOfRangeIsReported) {
  const TypeParam A = this->Counting(2, 2, 2);
  A(-1);
  EXPECT_EQ(this->Reports(), Lines{this->name + "(-1) is not valid, needs to be lie in [0,7]."});
  A(0, 2);
  EXPECT_EQ(this->Reports(),
            Lines{this->name + "(0,2) is not valid, needs to lie in [0,1]x[0,1]."});
  A(0, 0, 2);
  EXPECT_EQ(this->Reports(),
            Lines{this->name + "(0,0,2) is not valid, needs to lie in [0,1]x[0,1]x[0,1]."});
}

// Row 2 does not exist although position 2 of the buffer does.
TYPED_TEST(QXArrayFamily, WriteOutOfRangeLandsInTheSpareEntry) {
  TypeParam A = this->Counting(2, 3, 1);
  A(2, 0) = 9;
  EXPECT_EQ(this->Reports(),
            Lines{this->name + "(2,0) is not valid, needs to lie in [0,1]x[0,2]."});
  EXPECT_EQ(Elements(A), Elements(this->Counting(2, 3, 1)));
}

TYPED_TEST(QXArrayFamily, UncheckedAccessPrintsOutOfBoundsInsteadOfReporting) {
  const TypeParam A = this->Counting(3, 1, 1);
  EXPECT_EQ(A.e(2), 3);
  EXPECT_EQ(A.e(3), 0);  // the spare entry starts at zero
  EXPECT_EQ(this->Printed(), "Out of bounds\n");
}

TYPED_TEST(QXArrayFamily, HandlesShareTheElementsAndCopyDoesNot) {
  TypeParam M = this->Counting(4, 1, 1);
  const QXArray<typename TestFixture::Element> B = M;
  const TypeParam C = M.Copy();
  M(0) = 50;
  EXPECT_EQ(B(0), 50);
  EXPECT_EQ(C(0), 1);
}

// Equal elements under other dimensions are not equal; for elements, see below.
TYPED_TEST(QXArrayFamily, EqualityNeedsEqualDimensions) {
  EXPECT_TRUE(this->Counting(3, 2, 1) == this->Counting(3, 2, 1));
  EXPECT_TRUE(this->Counting(3, 2, 1) != this->Counting(2, 3, 1));
}

TYPED_TEST(QXArrayFamily, SizeWhoseCountOverflowsIsRefused) {
  EXPECT_TRUE(TypeParam(65536, 65536, 2).IsEmpty());
  EXPECT_EQ(this->Reports(), Lines{this->name + "(m,n,o): Array size is too large."});
}

// Elements compare by their bytes: 0.0 and -0.0 differ, identical NaNs are equal.
TEST(QXArrayEquality, ComparesBytesNotValues) {
  const double nan = std::nan("");
  EXPECT_TRUE(MakeArray<double>(1, 1, 1, {0.0}) != MakeArray<double>(1, 1, 1, {-0.0}));
  EXPECT_TRUE(MakeArray<double>(1, 1, 1, {nan}) == MakeArray<double>(1, 1, 1, {nan}));
}

class QXArrayInfo : public QXReportingTest {};

// The double arrays name their type; the others give the size alone, in
// "m x n array" and "m x n x o array" for the larger shapes.
TEST_F(QXArrayInfo, DescribesTheSizeInOneLine) {
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { QXMutableDoubleArray(5, 1, 1).pinfo(); }, "double vector with 5 entry\n"},
      {[] { QXMutableDoubleArray(1, 4, 1).pinfo(); }, "1 x 4 double array\n"},
      {[] { QXMutableDoubleArray(2, 3, 4).pinfo(); }, "2 x 3 x 4 double array\n"},
      {[] { QXMutableDoubleArray().pinfo(); }, "Empty\n"},
      {[] { QXMutableIntArray(5, 1, 1).pinfo(); }, "5 entries\n"},
      {[] { QXMutableUCharArray().pinfo(); }, "Empty"},  // without a line feed
  };
  for (const auto& [pinfo, line] : cases) {
    pinfo();
    EXPECT_EQ(Printed(), line);
  }
}

// The counting is one template for every element type. Assignment takes the
// locks of two storages; crossing assignments must not deadlock.
TEST(QXDoubleArrayCounts, CopiesAndCrossAssignmentsFromTwoThreadsLoseNoCount) {
  const QXMutableDoubleArray a(4, 1, 1), b(8, 1, 1);
  QXDoubleArray x = a, y = b;
  auto churn = [&a](QXDoubleArray* to, QXDoubleArray* from) {
    for (int i = 0; i < 2000; i++) {
      const QXMutableDoubleArray mutableCopy(a);
      *to = *from;
    }
  };
  std::thread t1(churn, &x, &y), t2(churn, &y, &x);
  t1.join();
  t2.join();
  x = x;
  x = QXDoubleArray();
  y = QXDoubleArray();
  EXPECT_EQ(a.ReferenceCount(), 1);
  EXPECT_EQ(a.MutableReferences(), 1);
  EXPECT_EQ(b.ReferenceCount(), 1);
}

}  // namespace
