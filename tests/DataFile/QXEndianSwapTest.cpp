// Byte-order reversal of raw buffers and arrays, checked byte by byte against
// std::reverse so that it holds on big- and little-endian machines alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "QXEndianSwap.h"
#include "QXTestSupport.h"

namespace {

using Bytes = std::vector<unsigned char>;

template <class T>
Bytes BytesOf(const QXArray<T>& A) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(A.Pointer());
  return Bytes(bytes, bytes + sizeof(T) * A.Length());
}

// An m x n array whose bytes count 1, 2, 3, ... (wrapping at 256); empty for m = 0.
template <class T>
QXMutableArray<T> Counting(int m, int n = 1) {
  QXMutableArray<T> A(m, m > 0 ? n : 0, m > 0);
  auto* bytes = reinterpret_cast<unsigned char*>(A.Pointer());
  for (size_t i = 0; i < sizeof(T) * A.Length(); i++) bytes[i] = static_cast<unsigned char>(i + 1);
  return A;
}

// The bytes with every group of count bytes from offset on reversed, when
// count is a positive multiple of the group size; otherwise unchanged.
Bytes Reversed(Bytes bytes, int offset, int count, int group) {
  for (int i = offset; count > 0 && count % group == 0 && i < offset + count; i += group)
    std::reverse(bytes.begin() + i, bytes.begin() + i + group);
  return bytes;
}

// Counts that are not whole groups change nothing and report nothing; byte
// arrays report a first dimension that is not a whole number of values.
TEST(QXEndianSwap, SwapsReverseWholeGroupsOfBytes) {
  void (*const rawSwaps[])(unsigned char*, int) = {QXSwap2Bytes, QXSwap4Bytes, QXSwap8Bytes};
  void (*const byteArraySwaps[])(QXMutableUCharArray&) = {Swap2Bytes, Swap4Bytes, Swap8Bytes};
  QXReportCapture capture;
  for (int k = 0, group = 2; k < 3; k++, group *= 2) {
    for (int count : {16, 8, 12, 6, 3, 0, -8})
      for (int offset : {0, 1}) {  // groups need no alignment
        QXMutableUCharArray A = Counting<unsigned char>(17);
        rawSwaps[k](A.Pointer() + offset, count);
        EXPECT_EQ(BytesOf(A), Reversed(BytesOf(Counting<unsigned char>(17)), offset, count, group))
            << count << " bytes from " << offset;
      }
    // Two columns: the whole buffer holds whole values although no column of 3, 6 or 12 does.
    for (int m : {group, 3 * group / 2, 0}) {
      QXMutableUCharArray A = Counting<unsigned char>(m, 2);
      byteArraySwaps[k](A);
      const int swapped = m % group == 0 ? A.Length() : 0;
      EXPECT_EQ(BytesOf(A), Reversed(BytesOf(Counting<unsigned char>(m, 2)), 0, swapped, group));
    }
  }
  // Each element's bytes reversed, in arrays long enough for a vectorised body and its remainder.
  const auto expectElementsReversed = [](auto A) {
    const Bytes before = BytesOf(A);
    SwapEndian(A);
    EXPECT_EQ(BytesOf(A), Reversed(before, 0, before.size(), sizeof(A(0)))) << A.Length();
  };
  for (int n : {1, 7, 1001}) {
    expectElementsReversed(Counting<short>(n)), expectElementsReversed(Counting<unsigned short>(n));
    expectElementsReversed(Counting<int>(n)), expectElementsReversed(Counting<float>(n));
    expectElementsReversed(Counting<double>(n));
  }
  capture.Finish();
  EXPECT_EQ(capture.errors,
            (std::vector<std::string>{
                "Swap2Bytes(UCharArray): First array dimension needs to be even.",
                "Swap4Bytes(UCharArray): First array dimension needs to be divisible by 4.",
                "Swap8Bytes(UCharArray): First array dimension needs to be divisible by 8."}));
}

}  // namespace
