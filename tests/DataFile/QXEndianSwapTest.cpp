// Byte-order reversal of raw buffers and arrays, checked byte by byte so that
// it holds on big- and little-endian machines alike.
#include "QXEndianSwap.h"

#include <algorithm>

#include "QXArrayValues.h"
#include "QXReportingTest.h"

namespace {

using Bytes = std::vector<unsigned char>;

template <class T>
Bytes BytesOf(const QXArray<T>& A) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(A.Pointer());
  return Bytes(bytes, bytes + sizeof(T) * A.Length());
}

// An array of m x n elements whose bytes count 1, 2, 3, ... (wrapping at 256).
template <class T>
QXMutableArray<T> Counting(int m, int n = 1) {
  QXMutableArray<T> A(m, n, 1);
  auto* bytes = reinterpret_cast<unsigned char*>(A.Pointer());
  for (size_t i = 0; i < sizeof(T) * A.Length(); i++) bytes[i] = static_cast<unsigned char>(i + 1);
  return A;
}

TEST(QXEndianSwap, RawSwapsReverseEachGroupWhereverItStarts) {
  const std::pair<void (*)(unsigned char*, int), Bytes> swaps[] = {
      {QXSwap2Bytes, {1, 3, 2, 5, 4, 7, 6, 9, 8}},
      {QXSwap4Bytes, {1, 5, 4, 3, 2, 9, 8, 7, 6}},
      {QXSwap8Bytes, {1, 9, 8, 7, 6, 5, 4, 3, 2}},
  };
  for (const auto& [swap, swapped] : swaps) {
    QXMutableUCharArray A = Counting<unsigned char>(9);
    swap(A.Pointer() + 1, 8);
    EXPECT_EQ(Elements(A), swapped);
  }
}

TEST(QXEndianSwap, RawSwapOfAPartialGroupOrOfNoBytesChangesNothing) {
  for (int count : {6, 0, -8}) {
    QXMutableUCharArray A = Counting<unsigned char>(8);
    QXSwap4Bytes(A.Pointer(), count);
    EXPECT_EQ(Elements(A), Elements(Counting<unsigned char>(8))) << count;
  }
}

class QXEndianSwapReports : public QXReportingTest {};

// Two columns of 3, 6 or 12 bytes: the whole buffer holds whole values, but no column does.
TEST_F(QXEndianSwapReports, ByteArrayWhoseColumnsSplitAValueIsReportedAndLeftAlone) {
  const std::tuple<void (*)(QXMutableUCharArray&), int, std::string> cases[] = {
      {Swap2Bytes, 3, "Swap2Bytes(UCharArray): First array dimension needs to be even."},
      {Swap4Bytes, 6, "Swap4Bytes(UCharArray): First array dimension needs to be divisible by 4."},
      {Swap8Bytes, 12, "Swap8Bytes(UCharArray): First array dimension needs to be divisible by 8."},
  };
  for (const auto& [swap, m, report] : cases) {
    QXMutableUCharArray A = Counting<unsigned char>(m, 2);
    swap(A);
    EXPECT_EQ(Reports(), Lines{report});
    EXPECT_EQ(Elements(A), Elements(Counting<unsigned char>(m, 2)));
  }
}

template <class Mutable>
class QXSwapEndian : public testing::Test {};
using QXWideArrayTypes =
    testing::Types<QXMutableShortIntArray, QXMutableUShortIntArray, QXMutableIntArray,
                   QXMutableFloatArray, QXMutableDoubleArray>;
TYPED_TEST_SUITE(QXSwapEndian, QXWideArrayTypes);

// A length that gives a vectorised body and a remainder.
TYPED_TEST(QXSwapEndian, ReversesTheBytesOfEachElement) {
  const size_t size = sizeof(typename TypeParam::Element);
  TypeParam A = Counting<typename TypeParam::Element>(1001);
  Bytes swapped = BytesOf(A);
  for (size_t i = 0; i < swapped.size(); i += size)
    std::reverse(swapped.begin() + i, swapped.begin() + i + size);
  SwapEndian(A);
  EXPECT_EQ(BytesOf(A), swapped);
}

}  // namespace
