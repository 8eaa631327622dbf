#include "QXEndianSwap.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "QXError.h"

namespace {

inline uint16_t QXReverseBytes(uint16_t w) { return __builtin_bswap16(w); }
inline uint32_t QXReverseBytes(uint32_t w) { return __builtin_bswap32(w); }
inline uint64_t QXReverseBytes(uint64_t w) { return __builtin_bswap64(w); }

// Reverses the bytes of `words` consecutive words. Going through memcpy keeps
// unaligned buffers legal; the compiler turns the loop into wide shuffles.
template <class Word>
void QXReverseWords(unsigned char* bytes, size_t words) {
  for (size_t i = 0; i < words; i++) {
    Word w;
    std::memcpy(&w, bytes + i * sizeof(Word), sizeof(Word));
    w = QXReverseBytes(w);
    std::memcpy(bytes + i * sizeof(Word), &w, sizeof(Word));
  }
}

template <class Word>
void QXSwapGroups(unsigned char* bytes, int count) {
  if (count <= 0 || count % sizeof(Word) != 0) return;
  QXReverseWords<Word>(bytes, static_cast<size_t>(count) / sizeof(Word));
}

// Element counts stay in size_t here: the byte count of a large array does
// not fit the int of the raw swaps.
template <class Array>
void QXSwapElements(Array& A) {
  using Element = typename Array::Element;
  using Word = std::conditional_t<sizeof(Element) == 2, uint16_t,
                                  std::conditional_t<sizeof(Element) == 4, uint32_t, uint64_t>>;
  static_assert(sizeof(Word) == sizeof(Element), "no word of the element's size");
  QXReverseWords<Word>(reinterpret_cast<unsigned char*>(A.Pointer()),
                       static_cast<size_t>(A.Length()));
}

template <class Word>
void QXSwapByteColumns(QXMutableUCharArray& A, const char* operation, const char* message) {
  if (A.m() % sizeof(Word) != 0) {
    QXErrorMessage(operation, message);
    return;
  }
  QXReverseWords<Word>(A.Pointer(), static_cast<size_t>(A.Length()) / sizeof(Word));
}

}  // namespace

void QXSwap2Bytes(unsigned char* bytes, int count) { QXSwapGroups<uint16_t>(bytes, count); }
void QXSwap4Bytes(unsigned char* bytes, int count) { QXSwapGroups<uint32_t>(bytes, count); }
void QXSwap8Bytes(unsigned char* bytes, int count) { QXSwapGroups<uint64_t>(bytes, count); }

void SwapEndian(QXMutableShortIntArray& A) { QXSwapElements(A); }
void SwapEndian(QXMutableUShortIntArray& A) { QXSwapElements(A); }
void SwapEndian(QXMutableIntArray& A) { QXSwapElements(A); }
void SwapEndian(QXMutableFloatArray& A) { QXSwapElements(A); }
void SwapEndian(QXMutableDoubleArray& A) { QXSwapElements(A); }

void Swap2Bytes(QXMutableUCharArray& A) {
  QXSwapByteColumns<uint16_t>(A, "Swap2Bytes(UCharArray)",
                              "First array dimension needs to be even.");
}
void Swap4Bytes(QXMutableUCharArray& A) {
  QXSwapByteColumns<uint32_t>(A, "Swap4Bytes(UCharArray)",
                              "First array dimension needs to be divisible by 4.");
}
void Swap8Bytes(QXMutableUCharArray& A) {
  QXSwapByteColumns<uint64_t>(A, "Swap8Bytes(UCharArray)",
                              "First array dimension needs to be divisible by 8.");
}
