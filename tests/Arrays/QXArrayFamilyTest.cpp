// Behaviour common to all seven array types, run once per type.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "QXCharArray.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXShortIntArray.h"
#include "QXTestSupport.h"
#include "QXUCharArray.h"
#include "QXUShortIntArray.h"

template <class Mutable>
class QXArrayFamily : public testing::Test {
 protected:
  using Element = typename Mutable::Element;
  using Immutable = QXArray<Element>;
  std::string Name() const { return QXArrayTraits<Element>::name; }

  // An m x n x o array whose element at position p holds p + 1.
  static Mutable Counting(int m, int n, int o) {
    Mutable A(m, n, o);
    for (int p = 0; p < A.Length(); p++) A(p) = static_cast<Element>(p + 1);
    return A;
  }
};

TYPED_TEST_SUITE(QXArrayFamily, QXMutableArrayTypes);

TYPED_TEST(QXArrayFamily, NonPositiveSizesGiveTheEmptyArrayWithoutReport) {
  QXReportCapture capture;
  TypeParam zero(0, 5, 1), negative(3, -1, 2), defaulted;
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
  for (const TypeParam* A : {&zero, &negative, &defaulted}) {
    EXPECT_EQ(A->m() + A->n() + A->o() + A->Length(), 0);
    EXPECT_TRUE(A->IsEmpty() && !A->NotEmpty() && A->Pointer() == nullptr);
  }
}

TYPED_TEST(QXArrayFamily, ElementsAreColumnMajorAndBoundsChecked) {
  TypeParam A = this->Counting(2, 3, 1);
  EXPECT_EQ(A(1, 2), A.Pointer()[5]);
  QXReportCapture capture;
  A(2, 0) = 9;  // position 2 exists in the buffer but row 2 does not
  capture.Finish();
  EXPECT_EQ(capture.errors, std::vector<std::string>{
                                this->Name() + "(2,0) is not valid, needs to lie in [0,1]x[0,2]."});
  for (int p = 0; p < 6; p++) EXPECT_EQ(A(p), p + 1);
  EXPECT_EQ(A(2, 0), 9);  // the spare entry keeps the stray write
}

TYPED_TEST(QXArrayFamily, ThreeIndexAccessUsesSlices) {
  TypeParam A = this->Counting(2, 2, 2);
  EXPECT_EQ(A(1, 1), A(1, 1, 0));
  EXPECT_EQ(A(7), A(1, 1, 1));
  QXReportCapture capture;
  A(8);
  A(0, 0, 2);
  const typename TestFixture::Immutable& view = A;
  view(-1);
  capture.Finish();
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{
                this->Name() + "(8) is not valid, needs to be lie in [0,7].",
                this->Name() + "(0,0,2) is not valid, needs to lie in [0,1]x[0,1]x[0,1].",
                this->Name() + "(-1) is not valid, needs to be lie in [0,7]."}));
}

TYPED_TEST(QXArrayFamily, EPrintsOutOfBoundsInsteadOfReporting) {
  TypeParam A = this->Counting(3, 1, 1);
  EXPECT_EQ(A.e(2), 3);
  EXPECT_EQ(A.e(0, 0), 1);
  QXReportCapture capture;
  EXPECT_EQ(A.e(3), 0);  // the spare entry starts at zero
  A.e(0, 1);
  A.e(0, 0, 1);
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
  EXPECT_EQ(capture.stderrText, "Out of bounds\nOut of bounds\nOut of bounds\n");
}

TYPED_TEST(QXArrayFamily, HandlesShareStorageAndCopyDoesNot) {
  TypeParam M = this->Counting(4, 1, 1);
  typename TestFixture::Immutable B = M;
  TypeParam C = M.Copy();
  EXPECT_EQ(M.ReferenceCount() * 10 + C.ReferenceCount(), 21);
  M(0) = 50;
  C(1) = 60;
  EXPECT_TRUE(B(0) == 50 && C(0) == 1 && M(1) == 2);
  B = C;
  B = B;
  EXPECT_EQ(M.ReferenceCount() * 10 + C.ReferenceCount(), 12);
  EXPECT_EQ(TypeParam().Copy().Length(), 0);
}

TYPED_TEST(QXArrayFamily, FillAndEqualityByDimensionsAndBytes) {
  TypeParam a = this->Counting(3, 2, 1), b = this->Counting(3, 2, 1), c = this->Counting(2, 3, 1);
  EXPECT_TRUE(a == b && a != c);
  b(5) = 0;
  EXPECT_TRUE(a != b);
  TypeParam filled(3, 2, 1), empty;
  filled = 7;
  b = 7;
  empty = 3;  // changes nothing
  EXPECT_TRUE(filled == b && empty == TypeParam(0, 4, 1));
}

TYPED_TEST(QXArrayFamily, CountsSurviveCopiesFromSeveralThreads) {
  TypeParam shared = this->Counting(16, 1, 1);
  auto churn = [&shared] {
    for (int i = 0; i < 2000; i++) {
      typename TestFixture::Immutable copy = shared;
      TypeParam mutableCopy(shared);
      typename TestFixture::Immutable assigned;
      assigned = copy;
    }
  };
  std::thread t1(churn), t2(churn);
  t1.join();
  t2.join();
  EXPECT_EQ(shared.ReferenceCount(), 1);
}

TYPED_TEST(QXArrayFamily, SizesWhoseCountOverflowsAreRefused) {
  QXReportCapture capture;
  TypeParam huge(65536, 65536, 2);
  capture.Finish();
  EXPECT_TRUE(huge.IsEmpty());
  EXPECT_EQ(capture.errors,
            std::vector<std::string>{this->Name() + "(m,n,o): Array size is too large."});
}

TEST(QXArrayInfo, PinfoTextsFollowTheElementType) {
  QXReportCapture capture;
  QXMutableDoubleArray(1, 1, 1).pinfo();
  QXMutableDoubleArray(5, 1, 1).pinfo();
  QXMutableDoubleArray(1, 4, 1).pinfo();
  QXMutableDoubleArray(2, 3, 4).pinfo();
  QXMutableDoubleArray().pinfo();
  QXMutableIntArray(5, 1, 1).pinfo();
  QXMutableFloatArray(1, 4, 1).pinfo();
  QXMutableShortIntArray(2, 3, 4).pinfo();
  QXMutableCharArray().pinfo();
  QXMutableUCharArray().pinfo();
  capture.Finish();
  EXPECT_EQ(capture.stderrText,
            "double vector with 1 entry\n"
            "double vector with 5 entry\n"
            "1 x 4 double array\n"
            "2 x 3 x 4 double array\n"
            "Empty\n"
            "5 entries\n"
            "1 x 4 array\n"
            "2 x 3 x 4 array\n"
            "Empty\n"
            "Empty");
}

TEST(QXArrayEquality, ComparesBytesNotValues) {
  QXMutableDoubleArray zero(1, 1, 1), negativeZero(1, 1, 1), nan1(1, 1, 1), nan2(1, 1, 1);
  zero = 0.0;
  negativeZero = -0.0;
  nan1 = std::numeric_limits<double>::quiet_NaN();
  nan2 = nan1(0);
  EXPECT_TRUE(zero != negativeZero && nan1 == nan2);
}

TEST(QXDoubleArrayCounts, MutableReferencesFollowMutableHandles) {
  QXMutableDoubleArray M(3, 1, 1);
  auto N = std::make_unique<QXMutableDoubleArray>(M);
  EXPECT_EQ(M.ReferenceCount(), 2);
  EXPECT_EQ(M.MutableReferences(), 2);
  QXDoubleArray D = M;
  EXPECT_EQ(M.ReferenceCount(), 3);
  EXPECT_EQ(M.MutableReferences(), 2);
  N.reset();
  EXPECT_EQ(M.ReferenceCount(), 2);
  EXPECT_EQ(M.MutableReferences(), 1);

  QXMutableDoubleArray other(2, 1, 1);
  QXMutableDoubleArray E = other;
  E = M;  // leaves other's storage, joins M's
  EXPECT_EQ(other.MutableReferences(), 1);
  EXPECT_EQ(M.MutableReferences(), 2);
  EXPECT_EQ(M.ReferenceCount(), 3);
  EXPECT_EQ(QXMutableDoubleArray().MutableReferences(), 1);
}

TEST(QXDoubleArrayCounts, CrossAssignmentFromTwoThreadsDoesNotDeadlock) {
  QXMutableDoubleArray a(4, 1, 1), b(8, 1, 1);
  QXDoubleArray x = a, y = b;
  auto swapLoop = [](QXDoubleArray* to, QXDoubleArray* from) {
    for (int i = 0; i < 2000; i++) *to = *from;
  };
  std::thread t1(swapLoop, &x, &y), t2(swapLoop, &y, &x);
  t1.join();
  t2.join();
  EXPECT_EQ(a.ReferenceCount() + b.ReferenceCount(), 4);
}
