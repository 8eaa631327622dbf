// Byte-order reversal of raw buffers and arrays.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "QXEndianSwap.h"
#include "QXTestSupport.h"

namespace {

using Bytes = std::vector<unsigned char>;
const Bytes kCounting = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

bool MachineIsBigEndian() {
  const uint16_t one = 1;
  unsigned char first;
  std::memcpy(&first, &one, 1);
  return first == 0;
}

template <class T>
Bytes BytesOf(const QXArray<T>& A) {
  const auto* p = reinterpret_cast<const unsigned char*>(A.Pointer());
  return Bytes(p, p + sizeof(T) * A.Length());
}

QXMutableUCharArray ByteArray(int m, int n) {
  QXMutableUCharArray A(m, n, 1);
  std::memcpy(A.Pointer(), kCounting.data(), A.Length());
  return A;
}

TEST(QXEndianSwap, RawSwapsReverseEachGroup) {
  Bytes b = kCounting;
  QXSwap2Bytes(b.data(), 16);
  EXPECT_EQ(b, (Bytes{2, 1, 4, 3, 6, 5, 8, 7, 10, 9, 12, 11, 14, 13, 16, 15}));
  b = kCounting;
  QXSwap4Bytes(b.data(), 16);
  EXPECT_EQ(b, (Bytes{4, 3, 2, 1, 8, 7, 6, 5, 12, 11, 10, 9, 16, 15, 14, 13}));
  b = kCounting;
  QXSwap8Bytes(b.data(), 16);
  EXPECT_EQ(b, (Bytes{8, 7, 6, 5, 4, 3, 2, 1, 16, 15, 14, 13, 12, 11, 10, 9}));
  b = kCounting;
  QXSwap4Bytes(b.data() + 1, 8);  // groups need no alignment
  EXPECT_EQ(b, (Bytes{1, 5, 4, 3, 2, 9, 8, 7, 6, 10, 11, 12, 13, 14, 15, 16}));
}

TEST(QXEndianSwap, CountsThatAreNotWholeGroupsChangeNothing) {
  Bytes b = kCounting;
  QXReportCapture capture;
  QXSwap2Bytes(b.data(), 3);
  QXSwap4Bytes(b.data(), 6);
  QXSwap8Bytes(b.data(), 12);
  QXSwap8Bytes(b.data(), 0);
  QXSwap8Bytes(b.data(), -8);
  capture.Finish();
  EXPECT_EQ(b, kCounting);
  EXPECT_TRUE(capture.errors.empty());
}

TEST(QXEndianSwap, DoubleOneSwapsToTheOtherByteOrderAndBack) {
  QXMutableDoubleArray A(1, 1, 1);
  A(0) = 1.0;
  const Bytes bigEndian = {0x3F, 0xF0, 0, 0, 0, 0, 0, 0};
  const Bytes littleEndian = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
  const bool big = MachineIsBigEndian();
  ASSERT_EQ(BytesOf(A), big ? bigEndian : littleEndian);
  SwapEndian(A);
  EXPECT_EQ(BytesOf(A), big ? littleEndian : bigEndian);
  SwapEndian(A);
  EXPECT_EQ(A(0), 1.0);
}

// Values whose reversed bytes are known whatever the machine's order.
TEST(QXEndianSwap, EveryArrayTypeReversesItsElements) {
  QXMutableShortIntArray S(2, 1, 1);
  S(0) = 0x0102;
  S(1) = -2;  // FF FE
  SwapEndian(S);
  EXPECT_EQ(S(0), 0x0201);
  EXPECT_EQ(S(1), -257);  // FE FF
  QXMutableUShortIntArray U(1, 1, 1);
  U(0) = 0xABCD;
  SwapEndian(U);
  EXPECT_EQ(U(0), 0xCDAB);
  QXMutableIntArray I(1, 1, 1);
  I(0) = 0x01020304;
  SwapEndian(I);
  EXPECT_EQ(I(0), 0x04030201);
  QXMutableFloatArray F(1, 1, 1);
  F(0) = 1.0f;  // 3F 80 00 00
  SwapEndian(F);
  uint32_t bits;
  std::memcpy(&bits, F.Pointer(), 4);
  EXPECT_EQ(bits, 0x0000803Fu);
}

TEST(QXEndianSwap, LongArraysSwapEveryElement) {
  // Long enough for the vectorised body and its remainder.
  QXMutableDoubleArray A(1001, 1, 1);
  for (int i = 0; i < A.Length(); i++) A(i) = i * 1.25 - 300;
  const Bytes before = BytesOf(A);
  SwapEndian(A);
  const Bytes after = BytesOf(A);
  for (size_t i = 0; i < before.size(); i++)
    ASSERT_EQ(after[i], before[i - i % 8 + 7 - i % 8]) << "at byte " << i;
}

TEST(QXEndianSwap, ByteArraysSwapWholeColumnsOfValues) {
  QXMutableUCharArray A = ByteArray(4, 2);
  Swap4Bytes(A);
  EXPECT_EQ(BytesOf(A), (Bytes{4, 3, 2, 1, 8, 7, 6, 5}));
  A = ByteArray(2, 2);
  Swap2Bytes(A);
  EXPECT_EQ(BytesOf(A), (Bytes{2, 1, 4, 3}));
  A = ByteArray(8, 1);
  Swap8Bytes(A);
  EXPECT_EQ(BytesOf(A), (Bytes{8, 7, 6, 5, 4, 3, 2, 1}));
  QXMutableUCharArray empty;
  QXReportCapture capture;
  Swap8Bytes(empty);
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
}

TEST(QXEndianSwap, ByteArraysWithPartialValuesReportAndStayUnchanged) {
  struct Case {
    void (*swap)(QXMutableUCharArray&);
    int m;
    std::string report;
  };
  const Case cases[] = {
      {Swap2Bytes, 3, "Swap2Bytes(UCharArray): First array dimension needs to be even."},
      {Swap4Bytes, 6, "Swap4Bytes(UCharArray): First array dimension needs to be divisible by 4."},
      {Swap8Bytes, 4, "Swap8Bytes(UCharArray): First array dimension needs to be divisible by 8."},
  };
  for (const Case& c : cases) {
    // Two columns: the whole buffer holds whole values although no column does.
    QXMutableUCharArray A = ByteArray(c.m, 2);
    QXReportCapture capture;
    c.swap(A);
    capture.Finish();
    EXPECT_EQ(capture.errors, std::vector<std::string>{c.report});
    EXPECT_EQ(BytesOf(A), Bytes(kCounting.begin(), kCounting.begin() + 2 * c.m));
  }
}

}  // namespace
