#include "QXNumberText.h"

#include <cstdio>

namespace {

// Room for any int or any "%g" text (at most "-1.23457e+308" and the like).
constexpr int QXNumberTextSize = 32;

}  // namespace

std::string QXInt2String(int n) {
  char text[QXNumberTextSize];
  std::snprintf(text, sizeof(text), "%d", n);
  return text;
}

std::string QXFloat2StringShort(double v) {
  char text[QXNumberTextSize];
  std::snprintf(text, sizeof(text), "%g", v);
  return text;
}
