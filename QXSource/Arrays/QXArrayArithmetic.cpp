#include "QXArrayArithmetic.h"

#include <cmath>
#include <limits>
#include <type_traits>

#include "QXError.h"

namespace {

// --- Element rules -----------------------------------------------------------
// Ints are combined in unsigned arithmetic, which wraps modulo 2^32 where
// signed overflow would be undefined; the conversion back keeps the bits.

template <class T>
T Sum(T a, T b) {
  if constexpr (std::is_integral_v<T>)
    return static_cast<T>(static_cast<unsigned>(a) + static_cast<unsigned>(b));
  else
    return a + b;
}

template <class T>
T Difference(T a, T b) {
  if constexpr (std::is_integral_v<T>)
    return static_cast<T>(static_cast<unsigned>(a) - static_cast<unsigned>(b));
  else
    return a - b;
}

template <class T>
T Product(T a, T b) {
  if constexpr (std::is_integral_v<T>)
    return static_cast<T>(static_cast<unsigned>(a) * static_cast<unsigned>(b));
  else
    return a * b;
}

template <class T>
T Negative(T a) {
  return Difference(T(0), a);
}

// a / b. An int quotient truncates toward zero; the two quotients the
// hardware cannot give are defined here: a / 0 is 0 and remembered, so that
// the operation reports once, and a / -1 is the wrapped negation.
template <class T>
struct Quotient {
  T operator()(T a, T b) {
    if constexpr (std::is_integral_v<T>) {
      if (b == 0) {
        dividedByZero = true;
        return 0;
      }
      return b == -1 ? Negative(a) : a / b;
    } else {
      return a / b;
    }
  }
  bool dividedByZero = false;
};

// --- Loops over whole buffers -----------------------------------------------

template <class T>
bool SameDimensions(const QXArray<T>& A, const QXArray<T>& B) {
  return A.m() == B.m() && A.n() == B.n() && A.o() == B.o();
}

// A new array of A's dimensions with element p = rule(A[p]). Empty when the
// result could not be allocated, which the array family has reported.
template <class T, class Rule>
QXMutableArray<T> Mapped(const QXArray<T>& A, Rule&& rule) {
  QXMutableArray<T> R(A.m(), A.n(), A.o());
  if (R.Length() != A.Length()) return QXMutableArray<T>();
  const T* a = A.Pointer();
  T* r = R.Pointer();
  const int length = R.Length();
  for (int p = 0; p < length; p++) r[p] = rule(a[p]);
  return R;
}

// A new array with element p = rule(A[p], B[p]), or the report and the empty
// array when the dimensions differ.
template <class T, class Rule>
QXMutableArray<T> Combined(const QXArray<T>& A, const QXArray<T>& B, const char* operation,
                           Rule&& rule) {
  if (!SameDimensions(A, B)) {
    QXErrorMessage(operation, "Incompatible sizes.");
    return QXMutableArray<T>();
  }
  QXMutableArray<T> R(A.m(), A.n(), A.o());
  if (R.Length() != A.Length()) return QXMutableArray<T>();
  const T* a = A.Pointer();
  const T* b = B.Pointer();
  T* r = R.Pointer();
  const int length = R.Length();
  for (int p = 0; p < length; p++) r[p] = rule(a[p], b[p]);
  return R;
}

// M[p] = rule(M[p], B[p]) in place, or the report and no change when the
// dimensions differ. B may share M's storage: each B[p] is read before M[p]
// is written, and no other element of M is involved.
template <class T, class Rule>
void Updated(QXMutableArray<T>& M, const QXArray<T>& B, const char* operation, Rule&& rule) {
  if (!SameDimensions<T>(M, B)) {
    QXErrorMessage(operation, "Incompatible sizes.");
    return;
  }
  T* m = M.Pointer();
  const T* b = B.Pointer();
  const int length = M.Length();
  for (int p = 0; p < length; p++) m[p] = rule(m[p], b[p]);
}

template <class T, class Rule>
void UpdatedEach(QXMutableArray<T>& M, Rule&& rule) {
  T* m = M.Pointer();
  const int length = M.Length();
  for (int p = 0; p < length; p++) m[p] = rule(m[p]);
}

// One report for the whole operation, however many elements were divided by zero.
template <class T>
void ReportIfDividedByZero(const Quotient<T>& quotient, const char* operation) {
  if (quotient.dividedByZero) QXErrorMessage(operation, "Division by zero.");
}

// --- The generic algorithms, one per operation ---------------------------------

template <class T>
QXMutableArray<T> QXAddArrays(const QXArray<T>& A, const QXArray<T>& B, const char* operation) {
  return Combined(A, B, operation, [](T a, T b) { return Sum(a, b); });
}

template <class T>
QXMutableArray<T> QXSubtractArrays(const QXArray<T>& A, const QXArray<T>& B,
                                   const char* operation) {
  return Combined(A, B, operation, [](T a, T b) { return Difference(a, b); });
}

template <class T>
QXMutableArray<T> QXMultiplyArrays(const QXArray<T>& A, const QXArray<T>& B,
                                   const char* operation) {
  return Combined(A, B, operation, [](T a, T b) { return Product(a, b); });
}

template <class T>
QXMutableArray<T> QXDivideArrays(const QXArray<T>& A, const QXArray<T>& B, const char* operation) {
  Quotient<T> quotient;
  QXMutableArray<T> R = Combined(A, B, operation, quotient);
  ReportIfDividedByZero(quotient, operation);
  return R;
}

template <class T>
QXMutableArray<T> QXArrayPlusNumber(const QXArray<T>& A, T b) {
  return Mapped(A, [b](T a) { return Sum(a, b); });
}

template <class T>
QXMutableArray<T> QXArrayTimesNumber(const QXArray<T>& A, T b) {
  return Mapped(A, [b](T a) { return Product(a, b); });
}

template <class T>
QXMutableArray<T> QXArrayDivideByNumber(const QXArray<T>& A, T b, const char* operation) {
  Quotient<T> quotient;
  QXMutableArray<T> R = Mapped(A, [b, &quotient](T a) { return quotient(a, b); });
  ReportIfDividedByZero(quotient, operation);
  return R;
}

template <class T>
QXMutableArray<T> QXNumberMinusArray(T b, const QXArray<T>& A) {
  return Mapped(A, [b](T a) { return Difference(b, a); });
}

template <class T>
QXMutableArray<T> QXNumberDividedByArray(T b, const QXArray<T>& A, const char* operation) {
  Quotient<T> quotient;
  QXMutableArray<T> R = Mapped(A, [b, &quotient](T a) { return quotient(b, a); });
  ReportIfDividedByZero(quotient, operation);
  return R;
}

template <class T>
QXMutableArray<T> QXNegateArray(const QXArray<T>& A) {
  return Mapped(A, [](T a) { return Negative(a); });
}

// A / b. Floating arrays multiply by the reciprocal when it is a finite normal
// number of the element type: a subnormal or infinite reciprocal has lost the
// divisor's precision (1e-320 / 4.9e-324 would give infinity, not 2024), so
// such divisors, zero, infinities and NaN divide directly.
template <class T>
QXMutableArray<T> QXArrayOverNumber(const QXArray<T>& A, T b, const char* operation) {
  if constexpr (std::is_floating_point_v<T>) {
    const double reciprocal = 1.0 / b;
    const double size = std::fabs(reciprocal);
    if (size >= std::numeric_limits<T>::min() && size <= std::numeric_limits<T>::max())
      return QXArrayTimesNumber(A, static_cast<T>(reciprocal));
    return Mapped(A, [b](T a) { return a / b; });
  } else {
    return QXArrayDivideByNumber(A, b, operation);
  }
}

template <class T>
void QXPlusEqualsArray(QXMutableArray<T>& M, const QXArray<T>& B, const char* operation) {
  Updated(M, B, operation, [](T m, T b) { return Sum(m, b); });
}

template <class T>
void QXMinusEqualsArray(QXMutableArray<T>& M, const QXArray<T>& B, const char* operation) {
  Updated(M, B, operation, [](T m, T b) { return Difference(m, b); });
}

template <class T>
void QXTimesEqualsArray(QXMutableArray<T>& M, const QXArray<T>& B, const char* operation) {
  Updated(M, B, operation, [](T m, T b) { return Product(m, b); });
}

template <class T>
void QXDivideEqualsArray(QXMutableArray<T>& M, const QXArray<T>& B, const char* operation) {
  Quotient<T> quotient;
  Updated(M, B, operation, quotient);
  ReportIfDividedByZero(quotient, operation);
}

template <class T>
void QXPlusEqualsScalar(QXMutableArray<T>& M, T b) {
  UpdatedEach(M, [b](T m) { return Sum(m, b); });
}

template <class T>
void QXMinusEqualsScalar(QXMutableArray<T>& M, T b) {
  UpdatedEach(M, [b](T m) { return Difference(m, b); });
}

template <class T>
void QXTimesEqualsScalar(QXMutableArray<T>& M, T b) {
  UpdatedEach(M, [b](T m) { return Product(m, b); });
}

template <class T>
void QXDivideEqualsScalar(QXMutableArray<T>& M, T b) {
  UpdatedEach(M, [b](T m) { return m / b; });
}

}  // namespace

// --- The operators, per element type ------------------------------------------
// The operation names are built from the type's name: "DoubleArray+DoubleArray",
// "IntArray/Int", "Int/IntArray".

#define QX_DEFINE_ARRAY_ARITHMETIC(Name, Element)                                        \
  QXMutable##Name##Array operator+(const QX##Name##Array& A, const QX##Name##Array& B) { \
    return QXAddArrays(A, B, #Name "Array+" #Name "Array");                              \
  }                                                                                      \
  QXMutable##Name##Array operator-(const QX##Name##Array& A, const QX##Name##Array& B) { \
    return QXSubtractArrays(A, B, #Name "Array-" #Name "Array");                         \
  }                                                                                      \
  QXMutable##Name##Array operator*(const QX##Name##Array& A, const QX##Name##Array& B) { \
    return QXMultiplyArrays(A, B, #Name "Array*" #Name "Array");                         \
  }                                                                                      \
  QXMutable##Name##Array operator/(const QX##Name##Array& A, const QX##Name##Array& B) { \
    return QXDivideArrays(A, B, #Name "Array/" #Name "Array");                           \
  }                                                                                      \
  QXMutable##Name##Array operator+(const QX##Name##Array& A, Element b) {                \
    return QXArrayPlusNumber(A, b);                                                      \
  }                                                                                      \
  QXMutable##Name##Array operator-(const QX##Name##Array& A, Element b) {                \
    return QXArrayPlusNumber(A, Negative(b));                                            \
  }                                                                                      \
  QXMutable##Name##Array operator*(const QX##Name##Array& A, Element b) {                \
    return QXArrayTimesNumber(A, b);                                                     \
  }                                                                                      \
  QXMutable##Name##Array operator/(const QX##Name##Array& A, Element b) {                \
    return QXArrayOverNumber(A, b, #Name "Array/" #Name);                                \
  }                                                                                      \
  QXMutable##Name##Array operator+(Element b, const QX##Name##Array& A) {                \
    return QXArrayPlusNumber(A, b);                                                      \
  }                                                                                      \
  QXMutable##Name##Array operator-(Element b, const QX##Name##Array& A) {                \
    return QXNumberMinusArray(b, A);                                                     \
  }                                                                                      \
  QXMutable##Name##Array operator*(Element b, const QX##Name##Array& A) {                \
    return QXArrayTimesNumber(A, b);                                                     \
  }                                                                                      \
  QXMutable##Name##Array operator/(Element b, const QX##Name##Array& A) {                \
    return QXNumberDividedByArray(b, A, #Name "/" #Name "Array");                        \
  }                                                                                      \
  QXMutable##Name##Array operator-(const QX##Name##Array& A) { return QXNegateArray(A); }

QX_DEFINE_ARRAY_ARITHMETIC(Double, double)
QX_DEFINE_ARRAY_ARITHMETIC(Float, float)
QX_DEFINE_ARRAY_ARITHMETIC(Int, int)

#undef QX_DEFINE_ARRAY_ARITHMETIC

void operator+=(QXMutableDoubleArray& M, const QXDoubleArray& B) {
  QXPlusEqualsArray(M, B, "A+=B");
}
void operator-=(QXMutableDoubleArray& M, const QXDoubleArray& B) {
  QXMinusEqualsArray(M, B, "A-=B");
}
void operator*=(QXMutableDoubleArray& M, const QXDoubleArray& B) {
  QXTimesEqualsArray(M, B, "A*=B");
}
void operator/=(QXMutableDoubleArray& M, const QXDoubleArray& B) {
  QXDivideEqualsArray(M, B, "A/=B");
}

void operator+=(QXMutableDoubleArray& M, double b) { QXPlusEqualsScalar(M, b); }
void operator-=(QXMutableDoubleArray& M, double b) { QXMinusEqualsScalar(M, b); }
void operator*=(QXMutableDoubleArray& M, double b) { QXTimesEqualsScalar(M, b); }
void operator/=(QXMutableDoubleArray& M, double b) { QXDivideEqualsScalar(M, b); }
