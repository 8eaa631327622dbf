#include "QXEndianSwap.h"

#include <cstddef>

#include "QXByteOrderInternal.h"
#include "QXError.h"

namespace {

template <size_t Size>
void QXSwapGroups(unsigned char* bytes, int count) {
  if (count <= 0 || count % Size != 0) return;
  QXSwapElementBytes<Size>(bytes, static_cast<size_t>(count) / Size);
}

// Element counts stay in size_t here: the byte count of a large array does
// not fit the int of the raw swaps.
template <class T>
void QXSwapArray(QXMutableArray<T>& A) {
  QXSwapElements(A.Pointer(), static_cast<size_t>(A.Length()));
}

template <size_t Size>
void QXSwapByteColumns(QXMutableUCharArray& A, const char* operation, const char* message) {
  if (A.m() % Size != 0) {
    QXErrorMessage(operation, message);
    return;
  }
  QXSwapElementBytes<Size>(A.Pointer(), static_cast<size_t>(A.Length()) / Size);
}

}  // namespace

void QXSwap2Bytes(unsigned char* bytes, int count) { QXSwapGroups<2>(bytes, count); }
void QXSwap4Bytes(unsigned char* bytes, int count) { QXSwapGroups<4>(bytes, count); }
void QXSwap8Bytes(unsigned char* bytes, int count) { QXSwapGroups<8>(bytes, count); }

void SwapEndian(QXMutableShortIntArray& A) { QXSwapArray(A); }
void SwapEndian(QXMutableUShortIntArray& A) { QXSwapArray(A); }
void SwapEndian(QXMutableIntArray& A) { QXSwapArray(A); }
void SwapEndian(QXMutableFloatArray& A) { QXSwapArray(A); }
void SwapEndian(QXMutableDoubleArray& A) { QXSwapArray(A); }

void Swap2Bytes(QXMutableUCharArray& A) {
  QXSwapByteColumns<2>(A, "Swap2Bytes(UCharArray)", "First array dimension needs to be even.");
}
void Swap4Bytes(QXMutableUCharArray& A) {
  QXSwapByteColumns<4>(A, "Swap4Bytes(UCharArray)",
                       "First array dimension needs to be divisible by 4.");
}
void Swap8Bytes(QXMutableUCharArray& A) {
  QXSwapByteColumns<8>(A, "Swap8Bytes(UCharArray)",
                       "First array dimension needs to be divisible by 8.");
}
