// Resizing, reshaping, transposing, flipping and sorting arrays.
#include "QXArrayResize.h"

#include <climits>
#include <cmath>
#include <limits>
#include <tuple>

#include "QXArrayValues.h"
#include "QXReportingTest.h"

namespace {

using Dims = std::vector<int>;  // m, n, o

// A resize of a counting array of the given size. A failure gives the empty
// array and the report.
// What, the size, the arguments (the length, or the new m, n and o), the
// result's size and the report.
using ResizeCase = std::tuple<const char*, Dims, Dims, Dims, std::string>;

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
  // Each result has the size, the report and its own storage, and every
  // element of the array that it keeps stays at its buffer position, and so
  // at its (i,j,k).
  template <class Resize>
  void Check(const std::string& operation, const std::vector<ResizeCase>& cases, Resize resize) {
    for (const auto& [what, size, arguments, resultSize, report] : cases) {
      SCOPED_TRACE(what);
      const Mutable A = Counting(size);
      const Mutable result = resize(A, arguments);
      EXPECT_EQ(Reports(), report.empty() ? Lines{} : Lines{operation + ": " + report});
      EXPECT_EQ(SizeOf(result), resultSize);
      EXPECT_TRUE(result.IsEmpty() || result.Pointer() != A.Pointer());
      for (int p = 0; p < A.Length() && p < result.Length(); p++) ASSERT_EQ(result(p), A(p)) << p;
    }
  }
};

TYPED_TEST_SUITE(QXArrayResizeTest, QXMutableArrayTypes);

TYPED_TEST(QXArrayResizeTest, TruncateSizeKeepsWholeColumnsOrSlices) {
  const std::string invalid = "Invalid new dimension";
  this->Check("TruncateSize(Array,Length)",
              {
                  {"vector", {10, 1, 1}, {4}, {4, 1, 1}, ""},
                  {"matrix", {3, 5, 1}, {6}, {3, 2, 1}, ""},
                  {"3-D", {2, 2, 4}, {8}, {2, 2, 2}, ""},
                  {"to nothing", {3, 1, 1}, {0}, {0, 0, 0}, ""},
                  {"part of a column", {3, 5, 1}, {7}, {0, 0, 0}, invalid},
                  {"part of a slice", {2, 2, 4}, {6}, {0, 0, 0}, invalid},
                  {"longer", {10, 1, 1}, {11}, {0, 0, 0}, invalid},
                  {"negative", {10, 1, 1}, {-1}, {0, 0, 0}, invalid},
                  {"empty", {0, 0, 0}, {3}, {0, 0, 0}, "Array is empty."},
              },
              [](const TypeParam& A, const Dims& length) { return TruncateSize(A, length[0]); });
}

TYPED_TEST(QXArrayResizeTest, IncreaseSizeAddsWholeColumnsOrSlices) {
  this->Check(
      "IncreaseSize(Array,Length)",
      {
          {"vector", {1, 1, 1}, {3}, {4, 1, 1}, ""},
          {"matrix", {3, 2, 1}, {6}, {3, 4, 1}, ""},
          {"3-D", {2, 3, 2}, {12}, {2, 3, 4}, ""},
          {"empty into a vector", {0, 0, 0}, {5}, {5, 1, 1}, ""},
          {"nothing: a copy", {3, 2, 1}, {0}, {3, 2, 1}, ""},
          {"part of a column", {3, 2, 1}, {4}, {0, 0, 0}, "Length needs to be a multiple of m"},
          {"part of a slice", {2, 3, 2}, {9}, {0, 0, 0}, "Length needs to be a multiple of m*n"},
          {"negative", {0, 0, 0}, {-1}, {0, 0, 0}, "Length needs to be >0."},
          {"beyond INT_MAX", {10, 1, 1}, {INT_MAX - 5}, {0, 0, 0}, "Array size is too large."},
      },
      [](const TypeParam& A, const Dims& howMuch) { return IncreaseSize(A, howMuch[0]); });
}

// For a matrix result(j,i) is A(i,j); for a 3-D array all three dimensions
// are reversed: result(k,j,i) is A(i,j,k).
TYPED_TEST(QXArrayResizeTest, TransposeReversesTheDimensions) {
  const Dims sizes[] = {
      {1, 5, 1},    // a vector
      {70, 67, 1},  // tiles that do not divide the sides
      {70, 3, 66},  // a 3-D array whose planes span tiles unevenly
      {0, 0, 0},    // the empty array
  };
  for (const Dims& size : sizes) {
    SCOPED_TRACE(testing::PrintToString(size));
    const int m = size[0], n = size[1], o = size[2];
    const TypeParam A = this->Counting(size);
    const TypeParam X = Transpose(A);
    EXPECT_EQ(SizeOf(X), o > 1 ? Dims({o, n, m}) : Dims({n, m, o}));
    for (int p = 0; p < A.Length(); p++) {
      const int i = p % m, j = p / m % n, k = p / (m * n);
      ASSERT_EQ(o > 1 ? X(k, j, i) : X(j, i), A(p)) << "at " << i << "," << j << "," << k;
    }
  }
}

TYPED_TEST(QXArrayResizeTest, FlipJReversesTheColumnsOfEverySlice) {
  const TypeParam A = this->Counting({2, 3, 4});
  const TypeParam F = FlipJ(A);
  EXPECT_EQ(SizeOf(F), Dims({2, 3, 4}));
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
  this->Check(
      "Reshape(" + std::string(QXArrayTraits<typename TypeParam::Element>::name) + ",...)",
      {
          {"matrix", {2, 3, 1}, {3, 2, 1}, {3, 2, 1}, ""},
          {"empty", {0, 0, 0}, {0, 5, 1}, {0, 0, 0}, ""},
          {"negative", {2, 3, 1}, {6, -1, 1}, {0, 0, 0}, "One of the new dimensions is negative."},
          {"other length", {2, 3, 1}, {4, 2, 1}, {0, 0, 0}, same},
          {"product wrapping to 6 in 32 bits", {2, 3, 1}, {18, 715827883, 1}, {0, 0, 0}, same},
          {"product past 64 bits", {2, 3, 1}, {INT_MAX, INT_MAX, INT_MAX}, {0, 0, 0}, same},
      },
      [](const TypeParam& A, const Dims& size) { return Reshape(A, size[0], size[1], size[2]); });
}

TYPED_TEST(QXArrayReshapeTest, SortGivesAnAscendingColumnAndLeavesTheArray) {
  using E = typename TestFixture::E;
  const E low = std::numeric_limits<E>::lowest(), high = std::numeric_limits<E>::max();
  const TypeParam A = MakeArray<E>(2, 3, 1, {3, high, -2, 0, low, 1});
  const TypeParam S = Sort(A);
  EXPECT_EQ(Elements(S), (std::vector<E>{low, -2, 0, 1, 3, high}));
  EXPECT_EQ(SizeOf(S), Dims({6, 1, 1}));
  EXPECT_EQ(Elements(A), (std::vector<E>{3, high, -2, 0, low, 1}));
}

TEST(QXArraySort, NaNsComeLast) {
  const double nan = std::nan("");
  const auto S = Elements(Sort(MakeArray<double>(5, 1, 1, {nan, 2, nan, -INFINITY, 1})));
  EXPECT_EQ(std::vector<double>(S.begin(), S.begin() + 3), (std::vector<double>{-INFINITY, 1, 2}));
  EXPECT_TRUE(std::isnan(S[3]));
  EXPECT_TRUE(std::isnan(S[4]));
}

}  // namespace
