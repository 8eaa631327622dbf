#include <gtest/gtest.h>

#include <climits>

#include "QXNumberText.h"

namespace {

TEST(QXNumberText, IntegersInDecimal) {
  EXPECT_EQ(QXInt2String(-42), "-42");
  EXPECT_EQ(QXInt2String(0), "0");
  EXPECT_EQ(QXInt2String(INT_MAX), "2147483647");
  EXPECT_EQ(QXInt2String(INT_MIN), "-2147483648");
}

TEST(QXNumberText, FloatsWithSixSignificantDigits) {
  EXPECT_EQ(QXFloat2StringShort(0.1), "0.1");
  EXPECT_EQ(QXFloat2StringShort(1234567.0), "1.23457e+06");
  EXPECT_EQ(QXFloat2StringShort(123456.0), "123456");
  EXPECT_EQ(QXFloat2StringShort(2.0), "2");
  EXPECT_EQ(QXFloat2StringShort(-0.5), "-0.5");
  EXPECT_EQ(QXFloat2StringShort(0.0001), "0.0001");
  EXPECT_EQ(QXFloat2StringShort(0.00001), "1e-05");
  EXPECT_EQ(QXFloat2StringShort(-1.5e-308), "-1.5e-308");
}

}  // namespace
