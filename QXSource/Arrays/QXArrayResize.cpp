#include "QXArrayResize.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>
#include <type_traits>

#include "QXError.h"

namespace {

const char* const kTruncateOperation = "TruncateSize(Array,Length)";
const char* const kIncreaseOperation = "IncreaseSize(Array,Length)";

template <class T>
QXMutableArray<T> Refused(const std::string& operation, const char* message) {
  QXErrorMessage(operation, message);
  return QXMutableArray<T>();
}

// The number of elements in one step along A's last used dimension: one for
// a vector, a column for a matrix, a slice for a 3-D array.
template <class T>
int GrowthUnit(const QXArray<T>& A) {
  if (A.o() > 1) return A.m() * A.n();
  if (A.n() > 1) return A.m();
  return 1;
}

// A new array of `length` elements (a multiple of GrowthUnit(A)) laid out
// like A along its last used dimension, starting with A's first `copied`
// elements, moved as one block. Empty when the allocation failed, which the
// array family has reported.
template <class T>
QXMutableArray<T> Regrown(const QXArray<T>& A, int length, int copied) {
  const int steps = length / GrowthUnit(A);
  QXMutableArray<T> result = A.o() > 1   ? QXMutableArray<T>(A.m(), A.n(), steps)
                             : A.n() > 1 ? QXMutableArray<T>(A.m(), steps, 1)
                                         : QXMutableArray<T>(steps, 1, 1);
  if (result.Length() < copied) return QXMutableArray<T>();
  if (copied > 0) std::memcpy(result.Pointer(), A.Pointer(), sizeof(T) * copied);
  return result;
}

template <class T>
QXMutableArray<T> TruncatedCopy(const QXArray<T>& A, int length) {
  if (length == 0) return QXMutableArray<T>();
  if (A.IsEmpty()) return Refused<T>(kTruncateOperation, "Array is empty.");
  // A length beyond A would read past its buffer; it is refused like a length
  // that does not fill whole columns or slices.
  if (length < 0 || length > A.Length() || length % GrowthUnit(A) != 0)
    return Refused<T>(kTruncateOperation, "Invalid new dimension");
  return Regrown(A, length, length);
}

template <class T>
QXMutableArray<T> IncreasedCopy(const QXArray<T>& A, int howMuch) {
  if (howMuch < 0) return Refused<T>(kIncreaseOperation, "Length needs to be >0.");
  if (howMuch % GrowthUnit(A) != 0)
    return Refused<T>(kIncreaseOperation, A.o() > 1 ? "Length needs to be a multiple of m*n"
                                                    : "Length needs to be a multiple of m");
  long long length = static_cast<long long>(A.Length()) + howMuch;
  if (length > INT_MAX) return Refused<T>(kIncreaseOperation, "Array size is too large.");
  return Regrown(A, static_cast<int>(length), A.Length());
}

// Whether m * n * o (none negative) equals length, without overflowing.
bool ProductEquals(int m, int n, int o, int length) {
  if (m == 0 || n == 0 || o == 0) return length == 0;
  long long plane = static_cast<long long>(m) * n;
  return plane <= length && plane * o == length;
}

template <class T>
QXMutableArray<T> Reshaped(const QXArray<T>& A, int m, int n, int o) {
  const std::string operation = std::string("Reshape(") + QXArrayTraits<T>::name + ",...)";
  if (m < 0 || n < 0 || o < 0)
    return Refused<T>(operation, "One of the new dimensions is negative.");
  if (!ProductEquals(m, n, o, A.Length()))
    return Refused<T>(operation, "Size before and after need to be the same.");
  QXMutableArray<T> result(m, n, o);
  if (result.Length() != A.Length()) return QXMutableArray<T>();  // allocation failed
  if (result.NotEmpty()) std::memcpy(result.Pointer(), A.Pointer(), sizeof(T) * A.Length());
  return result;
}

// Writes the transpose of the rows x columns matrix at `from` (column stride
// fromStride) to `to` (column stride toStride): to[c + r*toStride] =
// from[r + c*fromStride]. In a plain double loop every strided access lands
// on another cache line, and on large matrices each line is evicted before
// its neighbouring elements are reached; copying tile by tile keeps the lines
// of both sides of a tile cached until the tile is done.
template <class T>
void TransposeTiled(const T* from, std::ptrdiff_t fromStride, T* to, std::ptrdiff_t toStride,
                    int rows, int columns) {
  constexpr int tile = sizeof(T) >= 4 ? 32 : 64;
  for (int r0 = 0; r0 < rows; r0 += tile) {
    const int r1 = std::min(rows, r0 + tile);
    for (int c0 = 0; c0 < columns; c0 += tile) {
      const int c1 = std::min(columns, c0 + tile);
      for (int r = r0; r < r1; r++) {
        T* toColumn = to + r * toStride;
        for (int c = c0; c < c1; c++) toColumn[c] = from[r + c * fromStride];
      }
    }
  }
}

template <class T>
QXMutableArray<T> Transposed(const QXArray<T>& A) {
  const int m = A.m(), n = A.n(), o = A.o();
  if (A.IsEmpty()) return QXMutableArray<T>();
  QXMutableArray<T> result = o > 1 ? QXMutableArray<T>(o, n, m) : QXMutableArray<T>(n, m, 1);
  if (result.Length() != A.Length()) return QXMutableArray<T>();  // allocation failed
  const T* from = A.Pointer();
  T* to = result.Pointer();
  if (o > 1) {
    // For each j, the m x o matrix A(:,j,:) becomes the o x m matrix result(:,j,:).
    const std::ptrdiff_t plane = static_cast<std::ptrdiff_t>(m) * n;
    for (int j = 0; j < n; j++)
      TransposeTiled(from + static_cast<std::ptrdiff_t>(j) * m, plane,
                     to + static_cast<std::ptrdiff_t>(j) * o, static_cast<std::ptrdiff_t>(o) * n, m,
                     o);
  } else if (m == 1 || n == 1) {
    std::memcpy(to, from, sizeof(T) * A.Length());  // a vector keeps its buffer order
  } else {
    TransposeTiled(from, m, to, n, m, n);
  }
  return result;
}

template <class T>
QXMutableArray<T> Flipped(const QXArray<T>& A) {
  const int m = A.m(), n = A.n(), o = A.o();
  QXMutableArray<T> result(m, n, o);
  if (result.Length() != A.Length()) return QXMutableArray<T>();  // allocation failed
  const T* from = A.Pointer();
  T* to = result.Pointer();
  for (int k = 0; k < o; k++) {
    for (int j = 0; j < n; j++) {
      const std::ptrdiff_t slice = static_cast<std::ptrdiff_t>(k) * n;
      std::memcpy(to + (slice + j) * m, from + (slice + n - 1 - j) * m, sizeof(T) * m);
    }
  }
  return result;
}

// Ascending order on the element type's <, with every NaN after every number
// so that the comparison stays a strict weak ordering when NaNs are present.
template <class T>
bool SortsBefore(T a, T b) {
  if constexpr (std::is_floating_point_v<T>)
    return !std::isnan(a) && (std::isnan(b) || a < b);
  else
    return a < b;
}

template <class T>
QXMutableArray<T> Sorted(const QXArray<T>& A) {
  QXMutableArray<T> column = Reshaped(A, A.Length(), 1, 1);
  T* first = column.Pointer();
  if (column.NotEmpty()) std::sort(first, first + column.Length(), SortsBefore<T>);
  return column;
}

}  // namespace

QXMutableDoubleArray TruncateSize(const QXDoubleArray& A, int length) {
  return TruncatedCopy(A, length);
}
QXMutableFloatArray TruncateSize(const QXFloatArray& A, int length) {
  return TruncatedCopy(A, length);
}
QXMutableIntArray TruncateSize(const QXIntArray& A, int length) { return TruncatedCopy(A, length); }
QXMutableShortIntArray TruncateSize(const QXShortIntArray& A, int length) {
  return TruncatedCopy(A, length);
}
QXMutableUShortIntArray TruncateSize(const QXUShortIntArray& A, int length) {
  return TruncatedCopy(A, length);
}
QXMutableCharArray TruncateSize(const QXCharArray& A, int length) {
  return TruncatedCopy(A, length);
}
QXMutableUCharArray TruncateSize(const QXUCharArray& A, int length) {
  return TruncatedCopy(A, length);
}

QXMutableDoubleArray IncreaseSize(const QXDoubleArray& A, int howMuch) {
  return IncreasedCopy(A, howMuch);
}
QXMutableFloatArray IncreaseSize(const QXFloatArray& A, int howMuch) {
  return IncreasedCopy(A, howMuch);
}
QXMutableIntArray IncreaseSize(const QXIntArray& A, int howMuch) {
  return IncreasedCopy(A, howMuch);
}
QXMutableShortIntArray IncreaseSize(const QXShortIntArray& A, int howMuch) {
  return IncreasedCopy(A, howMuch);
}
QXMutableUShortIntArray IncreaseSize(const QXUShortIntArray& A, int howMuch) {
  return IncreasedCopy(A, howMuch);
}
QXMutableCharArray IncreaseSize(const QXCharArray& A, int howMuch) {
  return IncreasedCopy(A, howMuch);
}
QXMutableUCharArray IncreaseSize(const QXUCharArray& A, int howMuch) {
  return IncreasedCopy(A, howMuch);
}

QXMutableDoubleArray Transpose(const QXDoubleArray& A) { return Transposed(A); }
QXMutableFloatArray Transpose(const QXFloatArray& A) { return Transposed(A); }
QXMutableIntArray Transpose(const QXIntArray& A) { return Transposed(A); }
QXMutableShortIntArray Transpose(const QXShortIntArray& A) { return Transposed(A); }
QXMutableUShortIntArray Transpose(const QXUShortIntArray& A) { return Transposed(A); }
QXMutableCharArray Transpose(const QXCharArray& A) { return Transposed(A); }
QXMutableUCharArray Transpose(const QXUCharArray& A) { return Transposed(A); }

QXMutableDoubleArray FlipJ(const QXDoubleArray& A) { return Flipped(A); }
QXMutableFloatArray FlipJ(const QXFloatArray& A) { return Flipped(A); }
QXMutableIntArray FlipJ(const QXIntArray& A) { return Flipped(A); }
QXMutableShortIntArray FlipJ(const QXShortIntArray& A) { return Flipped(A); }
QXMutableUShortIntArray FlipJ(const QXUShortIntArray& A) { return Flipped(A); }
QXMutableCharArray FlipJ(const QXCharArray& A) { return Flipped(A); }
QXMutableUCharArray FlipJ(const QXUCharArray& A) { return Flipped(A); }

QXMutableDoubleArray Reshape(const QXDoubleArray& A, int m, int n, int o) {
  return Reshaped(A, m, n, o);
}
QXMutableFloatArray Reshape(const QXFloatArray& A, int m, int n, int o) {
  return Reshaped(A, m, n, o);
}
QXMutableIntArray Reshape(const QXIntArray& A, int m, int n, int o) { return Reshaped(A, m, n, o); }

QXMutableDoubleArray Sort(const QXDoubleArray& A) { return Sorted(A); }
QXMutableFloatArray Sort(const QXFloatArray& A) { return Sorted(A); }
QXMutableIntArray Sort(const QXIntArray& A) { return Sorted(A); }
