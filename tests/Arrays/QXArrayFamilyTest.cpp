// Behaviour common to all seven array types, run once per type.
#include <cmath>
#include <limits>
#include <memory>
#include <thread>

#include "QXReportingTest.h"

namespace {

using Lines = std::vector<std::string>;
using Dims = std::vector<int>;

template <class Mutable>
class QXArrayFamily : public QXReportingTest {
 protected:
  using Element = typename Mutable::Element;
  using Immutable = QXArray<Element>;
  const std::string name = QXArrayTraits<Element>::name;

  // An m x n x o array whose element at position p holds p + 1.
  static Mutable Counting(int m, int n, int o) {
    Mutable A(m, n, o);
    for (int p = 0; p < A.Length(); p++) A(p) = static_cast<Element>(p + 1);
    return A;
  }
  static Dims SizeOf(const Immutable& A) { return {A.m(), A.n(), A.o()}; }
  static std::vector<Element> Elements(const Immutable& A) {
    return std::vector<Element>(A.Pointer(), A.Pointer() + A.Length());
  }
};

TYPED_TEST_SUITE(QXArrayFamily, QXMutableArrayTypes);

TYPED_TEST(QXArrayFamily, DimensionBelowOneGivesTheEmptyArray) {
  for (const Dims& size : {Dims{0, 5, 1}, Dims{3, -1, 2}}) {
    SCOPED_TRACE(testing::PrintToString(size));
    const TypeParam A(size[0], size[1], size[2]);
    EXPECT_EQ(this->SizeOf(A), Dims({0, 0, 0}));
    EXPECT_TRUE(A.IsEmpty());
    EXPECT_EQ(A.Pointer(), nullptr);
  }
}

TYPED_TEST(QXArrayFamily, ElementsAreStoredColumnMajor) {
  const TypeParam A = this->Counting(2, 3, 2);
  EXPECT_EQ(A(1, 2), A(5));
  EXPECT_EQ(A(1, 2, 1), A(11));
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
  EXPECT_EQ(this->Elements(A), this->Elements(this->Counting(2, 3, 1)));
}

TYPED_TEST(QXArrayFamily, UncheckedAccessPrintsOutOfBoundsInsteadOfReporting) {
  const TypeParam A = this->Counting(3, 1, 1);
  EXPECT_EQ(A.e(2), 3);
  EXPECT_EQ(A.e(3), 0);  // the spare entry starts at zero
  EXPECT_EQ(this->Printed(), "Out of bounds\n");
}

TYPED_TEST(QXArrayFamily, HandlesShareTheElements) {
  TypeParam M = this->Counting(4, 1, 1);
  const typename TestFixture::Immutable B = M;
  M(0) = 50;
  EXPECT_EQ(B(0), 50);
  EXPECT_EQ(M.ReferenceCount(), 2);
}

TYPED_TEST(QXArrayFamily, CopyHasElementsOfItsOwn) {
  TypeParam M = this->Counting(4, 1, 1);
  TypeParam C = M.Copy();
  C(0) = 50;
  EXPECT_EQ(M(0), 1);
  EXPECT_EQ(M.ReferenceCount(), 1);
  EXPECT_EQ(this->SizeOf(C), Dims({4, 1, 1}));
}

TYPED_TEST(QXArrayFamily, AssignmentLeavesTheOldStorage) {
  TypeParam M = this->Counting(4, 1, 1);
  typename TestFixture::Immutable B = M;
  const TypeParam other = this->Counting(2, 1, 1);
  B = other;
  B = B;
  EXPECT_EQ(M.ReferenceCount(), 1);
  EXPECT_EQ(other.ReferenceCount(), 2);
}

TYPED_TEST(QXArrayFamily, FillSetsEveryElementOfANonEmptyArray) {
  TypeParam A(3, 2, 1);
  A = 7;
  EXPECT_EQ(this->Elements(A), std::vector<typename TestFixture::Element>(6, 7));
  TypeParam empty;
  empty = 7;
  EXPECT_TRUE(empty.IsEmpty());
}

TYPED_TEST(QXArrayFamily, EqualityNeedsEqualDimensionsAndElements) {
  const TypeParam A = this->Counting(3, 2, 1);
  TypeParam B = this->Counting(3, 2, 1);
  EXPECT_TRUE(A == B);
  EXPECT_TRUE(A != this->Counting(2, 3, 1));
  B(5) = 0;
  EXPECT_TRUE(A != B);
}

TYPED_TEST(QXArrayFamily, SizeWhoseCountOverflowsIsRefused) {
  const TypeParam huge(65536, 65536, 2);
  EXPECT_TRUE(huge.IsEmpty());
  EXPECT_EQ(this->Reports(), Lines{this->name + "(m,n,o): Array size is too large."});
}

TEST(QXArrayEquality, ComparesBytesNotValues) {
  QXMutableDoubleArray zero(1, 1, 1), negativeZero(1, 1, 1), nan(1, 1, 1), sameNaN(1, 1, 1);
  zero = 0.0;
  negativeZero = -0.0;
  nan = std::numeric_limits<double>::quiet_NaN();
  sameNaN = nan(0);
  EXPECT_TRUE(zero != negativeZero);
  EXPECT_TRUE(nan == sameNaN);
}

class QXArrayInfo : public QXReportingTest {};

TEST_F(QXArrayInfo, DoubleArraysNameTheirType) {
  QXMutableDoubleArray(5, 1, 1).pinfo();
  EXPECT_EQ(Printed(), "double vector with 5 entry\n");
  QXMutableDoubleArray(1, 4, 1).pinfo();
  EXPECT_EQ(Printed(), "1 x 4 double array\n");
  QXMutableDoubleArray(2, 3, 4).pinfo();
  EXPECT_EQ(Printed(), "2 x 3 x 4 double array\n");
  QXMutableDoubleArray().pinfo();
  EXPECT_EQ(Printed(), "Empty\n");
}

TEST_F(QXArrayInfo, OtherArraysGiveTheSizeAlone) {
  QXMutableIntArray(5, 1, 1).pinfo();
  EXPECT_EQ(Printed(), "5 entries\n");
  QXMutableShortIntArray(1, 4, 1).pinfo();
  EXPECT_EQ(Printed(), "1 x 4 array\n");
  QXMutableFloatArray(2, 3, 4).pinfo();
  EXPECT_EQ(Printed(), "2 x 3 x 4 array\n");
  QXMutableCharArray().pinfo();
  EXPECT_EQ(Printed(), "Empty\n");
}

TEST_F(QXArrayInfo, EmptyUCharArrayEndsWithoutALineFeed) {
  QXMutableUCharArray().pinfo();
  EXPECT_EQ(Printed(), "Empty");
}

TEST(QXDoubleArrayCounts, MutableReferencesFollowMutableHandles) {
  QXMutableDoubleArray M(3, 1, 1);
  auto N = std::make_unique<QXMutableDoubleArray>(M);
  EXPECT_EQ(M.ReferenceCount(), 2);
  EXPECT_EQ(M.MutableReferences(), 2);
  const QXDoubleArray D = M;
  EXPECT_EQ(M.ReferenceCount(), 3);
  EXPECT_EQ(M.MutableReferences(), 2);
  N.reset();
  EXPECT_EQ(M.ReferenceCount(), 2);
  EXPECT_EQ(M.MutableReferences(), 1);
}

TEST(QXDoubleArrayCounts, MutableAssignmentMovesTheMutableReference) {
  QXMutableDoubleArray M(3, 1, 1);
  QXMutableDoubleArray other(2, 1, 1);
  QXMutableDoubleArray E = other;
  E = M;
  EXPECT_EQ(other.MutableReferences(), 1);
  EXPECT_EQ(M.MutableReferences(), 2);
}

// The counting is one template for every element type.
TEST(QXDoubleArrayCounts, CopiesFromTwoThreadsLoseNoCount) {
  const QXMutableDoubleArray shared(16, 1, 1);
  auto churn = [&shared] {
    for (int i = 0; i < 2000; i++) {
      QXDoubleArray copy = shared;
      QXMutableDoubleArray mutableCopy(shared);
      QXDoubleArray assigned;
      assigned = copy;
    }
  };
  std::thread t1(churn), t2(churn);
  t1.join();
  t2.join();
  EXPECT_EQ(shared.ReferenceCount(), 1);
  EXPECT_EQ(shared.MutableReferences(), 1);
}

TEST(QXDoubleArrayCounts, CrossAssignmentFromTwoThreadsDoesNotDeadlock) {
  const QXMutableDoubleArray a(4, 1, 1), b(8, 1, 1);
  QXDoubleArray x = a, y = b;
  auto assign = [](QXDoubleArray* to, QXDoubleArray* from) {
    for (int i = 0; i < 2000; i++) *to = *from;
  };
  std::thread t1(assign, &x, &y), t2(assign, &y, &x);
  t1.join();
  t2.join();
  x = QXDoubleArray();
  y = QXDoubleArray();
  EXPECT_EQ(a.ReferenceCount(), 1);
  EXPECT_EQ(b.ReferenceCount(), 1);
}

}  // namespace
