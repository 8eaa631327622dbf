// Fixed-length lists whose elements are shared by every copy. Copying never
// copies elements, and a write through a QXMutableList is seen by all copies.
//
//   QXMutableList<std::string> names(2);
//   names(0) = "a";
//   QXList<std::string> shared = names;  // shared(0) == "a"
//
// The count is a plain integer: lists sharing elements are copied, assigned
// and destroyed on one thread at a time.
#ifndef QXLIST_H
#define QXLIST_H

#include "QXError.h"

template <class T>
class QXList {
 public:
  explicit QXList(int length = 0)
      : Data(nullptr), length(length > 0 ? length : 0), referenceCount(new int(1)), invalidEntry() {
    if (this->length > 0) Data = new T[this->length]();
  }
  QXList(const QXList& other)
      : Data(other.Data),
        length(other.length),
        referenceCount(other.referenceCount),
        invalidEntry() {
    ++*referenceCount;
  }
  QXList& operator=(const QXList& other) {
    if (referenceCount == other.referenceCount) return *this;
    Release();
    Data = other.Data;
    length = other.length;
    referenceCount = other.referenceCount;
    ++*referenceCount;
    return *this;
  }
  ~QXList() { Release(); }

  int Length() const { return length; }
  // A copy of element i; out of range reports and returns a default T.
  T operator()(int i) const {
    if (i < 0 || i >= length) {
      QXErrorOutOfRange("QXList<T>", i, length);
      return invalidEntry;
    }
    return Data[i];
  }

 protected:
  T* Data;
  int length;
  int* referenceCount;
  T invalidEntry;

 private:
  // Out of line: inlined into a caller that drops two handles of one list,
  // GCC cannot see that only the last one frees the count, and warns.
  [[gnu::noinline]] void Release() {
    if (--*referenceCount > 0) return;
    delete[] Data;
    delete referenceCount;
  }
};

template <class T>
class QXMutableList : public QXList<T> {
 public:
  QXMutableList() : QXList<T>(0) {}
  explicit QXMutableList(int length) : QXList<T>(length) {}
  QXMutableList(const QXMutableList& other) = default;
  QXMutableList& operator=(const QXMutableList& other) = default;
  // Stores v into every element.
  QXMutableList& operator=(const T& v) {
    for (int i = 0; i < this->length; i++) this->Data[i] = v;
    return *this;
  }

  using QXList<T>::operator();
  // A reference to element i; out of range reports and returns this list's own
  // spare entry, so the write reaches nothing shared.
  T& operator()(int i) {
    if (i < 0 || i >= this->length) {
      QXErrorOutOfRange("QXList<T>", i, this->length);
      return this->invalidEntry;
    }
    return this->Data[i];
  }
  T* Pointer() { return this->Data; }
  const T* Pointer() const { return this->Data; }
};

#endif
