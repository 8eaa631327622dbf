// Byte-order reversal of raw buffers and arrays, checked byte by byte against
// std::reverse so that it holds on big- and little-endian machines alike.
#include "QXEndianSwap.h"

#include <algorithm>

#include "QXReportingTest.h"

namespace {

using Bytes = std::vector<unsigned char>;

template <class T>
Bytes BytesOf(const QXArray<T>& A) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(A.Pointer());
  return Bytes(bytes, bytes + sizeof(T) * A.Length());
}

// An m x n array whose bytes count 1, 2, 3, ... (wrapping at 256).
template <class T>
QXMutableArray<T> Counting(int m, int n = 1) {
  QXMutableArray<T> A(m, n, 1);
  auto* bytes = reinterpret_cast<unsigned char*>(A.Pointer());
  for (size_t i = 0; i < sizeof(T) * A.Length(); i++) bytes[i] = static_cast<unsigned char>(i + 1);
  return A;
}

// The bytes with every group of count bytes from offset on reversed.
Bytes Reversed(Bytes bytes, size_t offset, size_t count, size_t group) {
  for (size_t i = offset; i < offset + count; i += group)
    std::reverse(bytes.begin() + i, bytes.begin() + i + group);
  return bytes;
}

using RawSwap = void (*)(unsigned char*, int);
using ByteArraySwap = void (*)(QXMutableUCharArray&);

TEST(QXEndianSwap, RawSwapsReverseEachGroupWhereverItStarts) {
  const std::pair<RawSwap, size_t> swaps[] = {
      {QXSwap2Bytes, 2}, {QXSwap4Bytes, 4}, {QXSwap8Bytes, 8}};
  for (const auto& [swap, group] : swaps) {
    SCOPED_TRACE(group);
    QXMutableUCharArray A = Counting<unsigned char>(17);
    swap(A.Pointer() + 1, 16);
    EXPECT_EQ(BytesOf(A), Reversed(BytesOf(Counting<unsigned char>(17)), 1, 16, group));
  }
}

TEST(QXEndianSwap, RawSwapOfAPartialGroupOrOfNoBytesChangesNothing) {
  for (int count : {6, 0, -8}) {
    SCOPED_TRACE(count);
    QXMutableUCharArray A = Counting<unsigned char>(16);
    QXSwap4Bytes(A.Pointer(), count);
    EXPECT_EQ(BytesOf(A), BytesOf(Counting<unsigned char>(16)));
  }
}

class QXEndianSwapReports : public QXReportingTest {};

TEST_F(QXEndianSwapReports, ByteArraySwapsReverseEveryValueOfEveryColumn) {
  const std::pair<ByteArraySwap, int> swaps[] = {{Swap2Bytes, 2}, {Swap4Bytes, 4}, {Swap8Bytes, 8}};
  for (const auto& [swap, group] : swaps) {
    SCOPED_TRACE(group);
    QXMutableUCharArray A = Counting<unsigned char>(2 * group, 3);
    swap(A);
    EXPECT_EQ(BytesOf(A),
              Reversed(BytesOf(Counting<unsigned char>(2 * group, 3)), 0, 6 * group, group));
  }
}

// Two columns of 3, 6 or 12 bytes: the whole buffer holds whole values, but no column does.
TEST_F(QXEndianSwapReports, ByteArrayWhoseColumnsSplitAValueIsReportedAndLeftAlone) {
  const std::tuple<ByteArraySwap, int, std::string> cases[] = {
      {Swap2Bytes, 3, "Swap2Bytes(UCharArray): First array dimension needs to be even."},
      {Swap4Bytes, 6, "Swap4Bytes(UCharArray): First array dimension needs to be divisible by 4."},
      {Swap8Bytes, 12, "Swap8Bytes(UCharArray): First array dimension needs to be divisible by 8."},
  };
  for (const auto& [swap, m, report] : cases) {
    SCOPED_TRACE(m);
    QXMutableUCharArray A = Counting<unsigned char>(m, 2);
    swap(A);
    EXPECT_EQ(Reports(), std::vector<std::string>{report});
    EXPECT_EQ(BytesOf(A), BytesOf(Counting<unsigned char>(m, 2)));
  }
}

template <class Mutable>
class QXSwapEndian : public testing::Test {};
using QXWideArrayTypes =
    testing::Types<QXMutableShortIntArray, QXMutableUShortIntArray, QXMutableIntArray,
                   QXMutableFloatArray, QXMutableDoubleArray>;
TYPED_TEST_SUITE(QXSwapEndian, QXWideArrayTypes);

// Lengths long enough for a vectorised body and its remainder.
TYPED_TEST(QXSwapEndian, ReversesTheBytesOfEachElement) {
  using E = typename TypeParam::Element;
  for (int length : {1, 7, 1001}) {
    SCOPED_TRACE(length);
    TypeParam A = Counting<E>(length);
    SwapEndian(A);
    EXPECT_EQ(BytesOf<E>(A),
              Reversed(BytesOf<E>(Counting<E>(length)), 0, sizeof(E) * length, sizeof(E)));
  }
}

}  // namespace
