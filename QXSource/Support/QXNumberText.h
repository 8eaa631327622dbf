// The decimal text of numbers, as used in variable names, listings and
// messages.
//
//   QXInt2String(-42);           // "-42"
//   QXFloat2StringShort(1234567) // "1.23457e+06"
#ifndef QXNUMBERTEXT_H
#define QXNUMBERTEXT_H

#include <string>

// n as printf's "%d" writes it.
std::string QXInt2String(int n);
// v as printf's "%g" writes it: at most six significant digits, exponent
// form for very large or very small values.
std::string QXFloat2StringShort(double v);

#endif
