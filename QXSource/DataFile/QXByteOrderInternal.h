// Byte order for the file formats: loads and stores of 16-, 32- and 64-bit
// integers in a named order, and the reversal of whole runs of elements.
// Every decoder goes through these, so no format code asks which order the
// machine has or swaps a field by hand.
//
//   const int32_t rows = QXLoad<int32_t>(header + 4, order);
//   QXStore<uint64_t>(bytes, blockLength, QXByteOrder::BigEndian);
//   QXToMachineOrder(values, count, fileOrder);   // swaps only when they differ
#ifndef QXBYTEORDERINTERNAL_H
#define QXBYTEORDERINTERNAL_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

enum class QXByteOrder { LittleEndian, BigEndian };

// The order of the machine that runs the program.
inline QXByteOrder QXMachineByteOrder() {
  const uint16_t probe = 1;
  unsigned char first;
  std::memcpy(&first, &probe, 1);
  return first == 1 ? QXByteOrder::LittleEndian : QXByteOrder::BigEndian;
}

inline QXByteOrder QXOtherByteOrder(QXByteOrder order) {
  return order == QXByteOrder::BigEndian ? QXByteOrder::LittleEndian : QXByteOrder::BigEndian;
}

// The integer T stored at bytes in the order Order. Built from shifts, so it
// holds on either machine; the compiler makes a load, and a swap when needed.
template <class T, QXByteOrder Order>
T QXLoadIn(const unsigned char* bytes) {
  static_assert(std::is_integral_v<T>, "loads are of integers");
  using Unsigned = std::make_unsigned_t<T>;
  Unsigned value = 0;
  for (size_t i = 0; i < sizeof(T); i++) {
    const size_t at = Order == QXByteOrder::BigEndian ? i : sizeof(T) - 1 - i;
    value = static_cast<Unsigned>(static_cast<Unsigned>(value << 8) | bytes[at]);
  }
  return static_cast<T>(value);
}

// Stores the integer value at bytes in the order Order.
template <class T, QXByteOrder Order>
void QXStoreIn(unsigned char* bytes, T value) {
  static_assert(std::is_integral_v<T>, "stores are of integers");
  using Unsigned = std::make_unsigned_t<T>;
  Unsigned rest = static_cast<Unsigned>(value);
  for (size_t i = 0; i < sizeof(T); i++) {
    const size_t at = Order == QXByteOrder::BigEndian ? sizeof(T) - 1 - i : i;
    bytes[at] = static_cast<unsigned char>(rest & 0xFF);
    rest = static_cast<Unsigned>(rest >> 8);
  }
}

// The same, in an order known only when the program runs.
template <class T>
T QXLoad(const unsigned char* bytes, QXByteOrder order) {
  return order == QXByteOrder::BigEndian ? QXLoadIn<T, QXByteOrder::BigEndian>(bytes)
                                         : QXLoadIn<T, QXByteOrder::LittleEndian>(bytes);
}

template <class T>
void QXStore(unsigned char* bytes, T value, QXByteOrder order) {
  if (order == QXByteOrder::BigEndian)
    QXStoreIn<T, QXByteOrder::BigEndian>(bytes, value);
  else
    QXStoreIn<T, QXByteOrder::LittleEndian>(bytes, value);
}

// The unsigned word of an element's size, through which its bytes are swapped.
template <size_t Size>
struct QXSwapWord;
template <>
struct QXSwapWord<2> {
  using Type = uint16_t;
  static Type Reverse(Type w) { return __builtin_bswap16(w); }
};
template <>
struct QXSwapWord<4> {
  using Type = uint32_t;
  static Type Reverse(Type w) { return __builtin_bswap32(w); }
};
template <>
struct QXSwapWord<8> {
  using Type = uint64_t;
  static Type Reverse(Type w) { return __builtin_bswap64(w); }
};

// Reverses the bytes of each of count elements of Size bytes at bytes (which
// need not be aligned). One-byte elements are left as they are. Going through
// memcpy keeps unaligned buffers legal; the loop compiles to wide shuffles.
template <size_t Size>
void QXSwapElementBytes(unsigned char* bytes, size_t count) {
  if constexpr (Size > 1) {
    using Word = QXSwapWord<Size>;
    for (size_t i = 0; i < count; i++) {
      typename Word::Type w;
      std::memcpy(&w, bytes + i * Size, Size);
      w = Word::Reverse(w);
      std::memcpy(bytes + i * Size, &w, Size);
    }
  }
}

template <class T>
void QXSwapElements(T* elements, size_t count) {
  QXSwapElementBytes<sizeof(T)>(reinterpret_cast<unsigned char*>(elements), count);
}

// Brings count elements stored in the given order into the machine's order,
// or the reverse: the same swap, made only when the two orders differ.
template <class T>
void QXToMachineOrder(T* elements, size_t count, QXByteOrder order) {
  if (order != QXMachineByteOrder()) QXSwapElements(elements, count);
}

#endif
