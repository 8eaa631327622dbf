#include <gtest/gtest.h>

#include <climits>

#include "QXNumberText.h"

TEST(QXNumberText, IntegersInDecimalAndFloatsWithSixSignificantDigits) {
  const std::pair<int, const char*> integers[] = {
      {-42, "-42"}, {0, "0"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
  for (const auto& [n, text] : integers) EXPECT_EQ(QXInt2String(n), text);
  const std::pair<double, const char*> floats[] = {
      {0.1, "0.1"},   {1234567.0, "1.23457e+06"}, {123456.0, "123456"}, {2.0, "2"},
      {-0.5, "-0.5"}, {0.0001, "0.0001"},         {0.00001, "1e-05"},   {-1.5e-308, "-1.5e-308"}};
  for (const auto& [v, text] : floats) EXPECT_EQ(QXFloat2StringShort(v), text);
}
