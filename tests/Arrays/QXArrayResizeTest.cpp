// Resizing, reshaping, transposing, flipping and sorting arrays.
#include "QXArrayResize.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "QXReportingTest.h"

namespace {

using Lines = std::vector<std::string>;
using Dims = std::vector<int>;  // m, n, o

template <class Mutable>
class QXArrayResizeTest : public QXReportingTest {
 protected:
  using E = typename Mutable::Element;

  // Element p holds p % 127 + 1, which every element type can hold.
  static Mutable Counting(const Dims& size) {
    Mutable A(size[0], size[1], size[2]);
    for (int p = 0; p < A.Length(); p++) A(p) = static_cast<E>(p % 127 + 1);
    return A;
  }
  // The result has the size and its own storage, and every element of A that
  // it keeps stays at its buffer position, and so at its (i,j,k).
  static void ExpectKept(const Mutable& A, const Mutable& result, const Dims& size) {
    EXPECT_EQ(Dims({result.m(), result.n(), result.o()}), size);
    if (result.NotEmpty()) {
      EXPECT_NE(result.Pointer(), A.Pointer());
    }
    for (int p = 0; p < A.Length() && p < result.Length(); p++) ASSERT_EQ(result(p), A(p)) << p;
  }
  // The report expected for a case: none when the message is empty.
  static Lines Report(const std::string& operation, const std::string& message) {
    return message.empty() ? Lines{} : Lines{operation + ": " + message};
  }
};

TYPED_TEST_SUITE(QXArrayResizeTest, QXMutableArrayTypes);

// A failure gives the empty array.
struct ResizeCase {
  const char* what;
  Dims size;
  int length;
  Dims result;
  std::string report;
};

TYPED_TEST(QXArrayResizeTest, TruncateSizeKeepsWholeColumnsOrSlices) {
  const std::string invalid = "Invalid new dimension";
  const ResizeCase cases[] = {
      {"vector", {10, 1, 1}, 4, {4, 1, 1}, ""},
      {"matrix", {3, 5, 1}, 6, {3, 2, 1}, ""},
      {"3-D", {2, 2, 4}, 8, {2, 2, 2}, ""},
      {"to nothing", {3, 1, 1}, 0, {0, 0, 0}, ""},
      {"part of a column", {3, 5, 1}, 7, {0, 0, 0}, invalid},
      {"part of a slice", {2, 2, 4}, 6, {0, 0, 0}, invalid},
      {"longer", {10, 1, 1}, 11, {0, 0, 0}, invalid},
      {"negative", {10, 1, 1}, -1, {0, 0, 0}, invalid},
      {"empty", {0, 0, 0}, 3, {0, 0, 0}, "Array is empty."},
  };
  for (const ResizeCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TypeParam A = this->Counting(c.size);
    const TypeParam result = TruncateSize(A, c.length);
    EXPECT_EQ(this->Reports(), this->Report("TruncateSize(Array,Length)", c.report));
    this->ExpectKept(A, result, c.result);
  }
}

TYPED_TEST(QXArrayResizeTest, IncreaseSizeAddsWholeColumnsOrSlices) {
  const ResizeCase cases[] = {
      {"vector", {1, 1, 1}, 3, {4, 1, 1}, ""},
      {"matrix", {3, 2, 1}, 6, {3, 4, 1}, ""},
      {"3-D", {2, 3, 2}, 12, {2, 3, 4}, ""},
      {"empty into a vector", {0, 0, 0}, 5, {5, 1, 1}, ""},
      {"nothing: a copy", {3, 2, 1}, 0, {3, 2, 1}, ""},
      {"part of a column", {3, 2, 1}, 4, {0, 0, 0}, "Length needs to be a multiple of m"},
      {"part of a slice", {2, 3, 2}, 9, {0, 0, 0}, "Length needs to be a multiple of m*n"},
      {"negative", {0, 0, 0}, -1, {0, 0, 0}, "Length needs to be >0."},
      {"beyond INT_MAX", {10, 1, 1}, INT_MAX - 5, {0, 0, 0}, "Array size is too large."},
  };
  for (const ResizeCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TypeParam A = this->Counting(c.size);
    const TypeParam result = IncreaseSize(A, c.length);
    EXPECT_EQ(this->Reports(), this->Report("IncreaseSize(Array,Length)", c.report));
    this->ExpectKept(A, result, c.result);
  }
}

// For a matrix result(j,i) is A(i,j); for a 3-D array all three dimensions
// are reversed: result(k,j,i) is A(i,j,k).
TYPED_TEST(QXArrayResizeTest, TransposeReversesTheDimensions) {
  const Dims sizes[] = {
      {1, 5, 1},    // a vector
      {2, 3, 1},    // a matrix smaller than a tile
      {70, 67, 1},  // tiles that do not divide the sides
      {2, 3, 4},    // a 3-D array
      {70, 3, 66},  // a 3-D array whose planes span tiles unevenly
      {0, 0, 0},    // the empty array
  };
  for (const Dims& size : sizes) {
    SCOPED_TRACE(testing::PrintToString(size));
    const int m = size[0], n = size[1], o = size[2];
    const TypeParam A = this->Counting(size);
    const TypeParam X = Transpose(A);
    EXPECT_EQ(Dims({X.m(), X.n(), X.o()}), o > 1 ? Dims({o, n, m}) : Dims({n, m, o}));
    for (int p = 0; p < A.Length(); p++) {
      const int i = p % m, j = p / m % n, k = p / (m * n);
      ASSERT_EQ(o > 1 ? X(k, j, i) : X(j, i), A(p)) << "at " << i << "," << j << "," << k;
    }
  }
}

TYPED_TEST(QXArrayResizeTest, FlipJReversesTheColumnsOfEverySlice) {
  const TypeParam A = this->Counting({2, 3, 4});
  const TypeParam F = FlipJ(A);
  EXPECT_EQ(Dims({F.m(), F.n(), F.o()}), Dims({2, 3, 4}));
  for (int p = 0; p < A.Length(); p++) {
    const int i = p % 2, j = p / 2 % 3, k = p / 6;
    ASSERT_EQ(F(i, j, k), A(i, 2 - j, k)) << "at " << i << "," << j << "," << k;
  }
}

// Reshape and Sort exist for the double, float and int arrays.
template <class Mutable>
class QXArrayReshapeTest : public QXArrayResizeTest<Mutable> {};
using QXNumericArrayTypes =
    testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray>;
TYPED_TEST_SUITE(QXArrayReshapeTest, QXNumericArrayTypes);

TYPED_TEST(QXArrayReshapeTest, ReshapeKeepsTheBufferUnderDimensionsOfTheSameProduct) {
  const std::string same = "Size before and after need to be the same.";
  const struct {
    const char* what;
    Dims from;
    Dims size;
    Dims result;
    std::string report;
  } cases[] = {
      {"matrix", {2, 3, 1}, {3, 2, 1}, {3, 2, 1}, ""},
      {"empty", {0, 0, 0}, {0, 5, 1}, {0, 0, 0}, ""},
      {"negative", {2, 3, 1}, {6, -1, 1}, {0, 0, 0}, "One of the new dimensions is negative."},
      {"other length", {2, 3, 1}, {4, 2, 1}, {0, 0, 0}, same},
      {"a zero dimension", {2, 3, 1}, {6, 0, 1}, {0, 0, 0}, same},
      {"product wrapping to 6 in 32 bits", {2, 3, 1}, {18, 715827883, 1}, {0, 0, 0}, same},
      {"product past 64 bits", {2, 3, 1}, {INT_MAX, INT_MAX, INT_MAX}, {0, 0, 0}, same},
  };
  const std::string operation =
      "Reshape(" + std::string(QXArrayTraits<typename TypeParam::Element>::name) + ",...)";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TypeParam A =
        this->Counting(c.what == std::string("empty") ? Dims{0, 0, 0} : Dims{2, 3, 1});
    const TypeParam result = Reshape(A, c.size[0], c.size[1], c.size[2]);
    EXPECT_EQ(this->Reports(), this->Report(operation, c.report));
    this->ExpectKept(A, result, c.result);
  }
}

TYPED_TEST(QXArrayReshapeTest, SortGivesAnAscendingColumnAndLeavesTheArray) {
  using E = typename TestFixture::E;
  const E lowest = std::numeric_limits<E>::lowest(), highest = std::numeric_limits<E>::max();
  TypeParam A(2, 3, 1);
  const E values[] = {3, highest, -2, 0, lowest, 1};
  std::copy(values, values + 6, A.Pointer());
  const TypeParam S = Sort(A);
  EXPECT_EQ(std::vector<E>(S.Pointer(), S.Pointer() + S.Length()),
            (std::vector<E>{lowest, -2, 0, 1, 3, highest}));
  EXPECT_EQ(Dims({S.m(), S.n(), S.o()}), Dims({6, 1, 1}));
  EXPECT_EQ(std::vector<E>(A.Pointer(), A.Pointer() + 6), std::vector<E>(values, values + 6));
}

TEST(QXArraySort, NaNsComeLast) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  QXMutableDoubleArray A(5, 1, 1);
  const double values[] = {nan, 2, nan, -INFINITY, 1};
  std::copy(values, values + 5, A.Pointer());
  const QXDoubleArray S = Sort(A);
  EXPECT_EQ(S(0), -INFINITY);
  EXPECT_EQ(S(1), 1);
  EXPECT_EQ(S(2), 2);
  EXPECT_TRUE(std::isnan(S(3)));
  EXPECT_TRUE(std::isnan(S(4)));
}

}  // namespace
