// The one implementation of the seven typed arrays. QXDoubleArray.h and its
// siblings name the instantiations; callers include those, not this file.
//
// An array is a handle on a shared, reference-counted storage of m x n x o
// elements in column-major order. Copying a handle shares the storage;
// Copy() makes a deep copy. Element access is bounds-checked: an index out
// of range is reported and yields the handle's own spare entry.
#ifndef QXARRAYTEMPLATES_H
#define QXARRAYTEMPLATES_H

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "QXArrayMemory.h"
#include "QXError.h"
#include "QXLock.h"

// What tells the members of the family apart: their report name, the texts of
// pinfo(), and whether handles carry their own lock and count mutable handles.
template <class T>
struct QXArrayTraits;

struct QXArrayPlainTexts {
  static constexpr bool tracksHandles = false;
  static constexpr const char* emptyText = "Empty\n";
  static constexpr const char* vectorText = "%d entries\n";
  static constexpr const char* matrixText = "%d x %d array\n";
  static constexpr const char* volumeText = "%d x %d x %d array\n";
};

template <>
struct QXArrayTraits<double> {
  static constexpr const char* name = "QXDoubleArray";
  static constexpr bool tracksHandles = true;
  static constexpr const char* emptyText = "Empty\n";
  static constexpr const char* vectorText = "double vector with %d entry\n";
  static constexpr const char* matrixText = "%d x %d double array\n";
  static constexpr const char* volumeText = "%d x %d x %d double array\n";
};
template <>
struct QXArrayTraits<float> : QXArrayPlainTexts {
  static constexpr const char* name = "QXFloatArray";
};
template <>
struct QXArrayTraits<int> : QXArrayPlainTexts {
  static constexpr const char* name = "QXIntArray";
};
template <>
struct QXArrayTraits<short> : QXArrayPlainTexts {
  static constexpr const char* name = "QXShortIntArray";
};
template <>
struct QXArrayTraits<unsigned short> : QXArrayPlainTexts {
  static constexpr const char* name = "QXUShortIntArray";
};
template <>
struct QXArrayTraits<signed char> : QXArrayPlainTexts {
  static constexpr const char* name = "QXCharArray";
};
template <>
struct QXArrayTraits<unsigned char> : QXArrayPlainTexts {
  static constexpr const char* name = "QXUCharArray";
  static constexpr const char* emptyText = "Empty";
};

// Members whose handles are not tracked carry neither a handle lock nor a
// count of mutable handles; these stand-ins cost nothing.
struct QXNoHandleLock {
  void Lock() const {}
  void Unlock() const {}
};
struct QXNoMutableReferences {};
struct QXMutableReferenceCount {
  int mutableReferences = 0;
};

// The shared storage: dimensions, counts and the element buffer. Created and
// destroyed only by the handles.
template <class T>
class QXArrayStorage : public std::conditional_t<QXArrayTraits<T>::tracksHandles,
                                                 QXMutableReferenceCount, QXNoMutableReferences> {
 public:
  QXArrayStorage(int mIn, int nIn, int oIn)
      : m(0), n(0), o(0), mn(0), length(0), referenceCount(1), Data(nullptr) {
    long long elements = 0;
    if (!QXArrayElementCount(mIn, nIn, oIn, sizeof(T), QXArrayTraits<T>::name, &elements) ||
        elements == 0)
      return;
    Data = static_cast<T*>(
        QXAllocateArrayBuffer(static_cast<size_t>(elements) * sizeof(T), QXArrayTraits<T>::name));
    if (Data == nullptr) return;
    m = mIn;
    n = nIn;
    o = oIn;
    mn = mIn * nIn;
    length = static_cast<int>(elements);
  }
  ~QXArrayStorage() { QXFreeArrayBuffer(Data, sizeof(T) * static_cast<size_t>(length)); }
  QXArrayStorage(const QXArrayStorage&) = delete;
  QXArrayStorage& operator=(const QXArrayStorage&) = delete;

  QXLock accessLock;
  int m, n, o, mn, length;
  int referenceCount;
  T* Data;
};

template <class T>
class QXMutableArray;

// Regions (QXDoubleArrayRegion.h) exist for double arrays only. QXRegionOf<E, R>
// is R when E is double; for any other element type the region members drop
// out of overload resolution.
class QXIndex;
class QXConstDoubleArrayRegion;
class QXDoubleArrayRegion;
template <class E, class R>
using QXRegionOf = std::enable_if_t<std::is_same_v<E, double>, R>;

// The immutable handle: reading only.
template <class T>
class QXArray {
 public:
  using Element = T;
  using StorageType = QXArrayStorage<T>;
  using MutableType = QXMutableArray<T>;
  static constexpr bool tracksHandles = QXArrayTraits<T>::tracksHandles;

  // An empty array.
  QXArray() : Storage(new StorageType(0, 0, 0)), invalidEntry() {}
  QXArray(const QXArray& other) : Storage(nullptr), invalidEntry() { Attach(other, false); }
  QXArray& operator=(const QXArray& other) {
    Reassign(other, false);
    return *this;
  }
  ~QXArray() {
    if (Storage != nullptr) Detach(false);
  }

  // A deep copy with its own storage.
  QXMutableArray<T> Copy() const;

  int m() const { return Storage->m; }
  int n() const { return Storage->n; }
  int o() const { return Storage->o; }
  int Length() const { return Storage->length; }
  bool IsEmpty() const { return Storage->length == 0; }
  bool NotEmpty() const { return Storage->length > 0; }
  int ReferenceCount() const {
    return ReadCount([](const StorageType& s) { return s.referenceCount; });
  }
  // The number of mutable handles on the storage (double arrays only).
  template <bool tracked = tracksHandles, class = std::enable_if_t<tracked>>
  int MutableReferences() const {
    return ReadCount([](const StorageType& s) { return s.mutableReferences; });
  }
  // The element buffer, null for an empty array; valid while a handle keeps the storage.
  const T* Pointer() const { return Storage->Data; }

  T operator()(int i) const { return InRange(i) ? Storage->Data[i] : OutOfRange(i); }
  T operator()(int i, int j) const {
    return InRange(i, j) ? Storage->Data[i + j * Storage->m] : OutOfRange(i, j);
  }
  T operator()(int i, int j, int k) const {
    return InRange(i, j, k) ? Storage->Data[Offset(i, j, k)] : OutOfRange(i, j, k);
  }
  // As operator(), but an index out of range only prints "Out of bounds".
  T e(int i) const { return InRange(i) ? Storage->Data[i] : OutOfBounds(); }
  T e(int i, int j) const {
    return InRange(i, j) ? Storage->Data[i + j * Storage->m] : OutOfBounds();
  }
  T e(int i, int j, int k) const {
    return InRange(i, j, k) ? Storage->Data[Offset(i, j, k)] : OutOfBounds();
  }

  // The region the indices select, for reading (double arrays only; include
  // QXDoubleArrayRegion.h). Plain ints still select single elements: A(3) is
  // an element, A(QXIndex(3)) a region.
  template <class E = T>
  QXRegionOf<E, QXConstDoubleArrayRegion> operator()(const QXIndex& I) const {
    return QXRegionOf<E, QXConstDoubleArrayRegion>(*this, I);
  }
  template <class E = T>
  QXRegionOf<E, QXConstDoubleArrayRegion> operator()(const QXIndex& I, const QXIndex& J) const {
    return QXRegionOf<E, QXConstDoubleArrayRegion>(*this, I, J);
  }
  template <class E = T>
  QXRegionOf<E, QXConstDoubleArrayRegion> operator()(const QXIndex& I, const QXIndex& J,
                                                     const QXIndex& K) const {
    return QXRegionOf<E, QXConstDoubleArrayRegion>(*this, I, J, K);
  }

  // One line describing the size on standard error.
  void pinfo() const;

 protected:
  // A new storage of m x n x o uninitialised elements.
  QXArray(int m, int n, int o) : Storage(new StorageType(m, n, o)), invalidEntry() {}
  // A handle that refers to no storage yet; the caller attaches it at once.
  struct QXUnattached {};
  explicit QXArray(QXUnattached) : Storage(nullptr), invalidEntry() {}

  bool InRange(int i) const {
    return static_cast<unsigned>(i) < static_cast<unsigned>(Storage->length);
  }
  bool InRange(int i, int j) const {
    return static_cast<unsigned>(i) < static_cast<unsigned>(Storage->m) &&
           static_cast<unsigned>(j) < static_cast<unsigned>(Storage->n);
  }
  bool InRange(int i, int j, int k) const {
    return InRange(i, j) && static_cast<unsigned>(k) < static_cast<unsigned>(Storage->o);
  }
  int Offset(int i, int j, int k) const { return i + j * Storage->m + k * Storage->mn; }

  void PrintErrorMessage(int i) const { QXErrorOutOfRange(QXArrayTraits<T>::name, i, Length()); }
  void PrintErrorMessage(int i, int j) const {
    QXErrorOutOfRange(QXArrayTraits<T>::name, i, j, m(), n());
  }
  void PrintErrorMessage(int i, int j, int k) const {
    QXErrorOutOfRange(QXArrayTraits<T>::name, i, j, k, m(), n(), o());
  }

  // Share other's storage; called on a handle that refers to none.
  void Attach(const QXArray& other, bool asMutable);
  // Drop this handle's share, freeing the storage with the last one.
  void Detach(bool asMutable);
  // Assignment: leave the old storage and share other's.
  void Reassign(const QXArray& other, bool asMutable);

  StorageType* Storage;
  std::conditional_t<tracksHandles, QXLock, QXNoHandleLock> accessLock;
  T invalidEntry;

 private:
  // The reporting paths are kept out of line and marked cold so that the
  // bounds test is all an access loop carries.
  template <class... Index>
  [[gnu::noinline, gnu::cold]] T OutOfRange(Index... index) const {
    PrintErrorMessage(index...);
    return invalidEntry;
  }
  [[gnu::noinline, gnu::cold]] T OutOfBounds() const {
    QXPrintOutOfBounds();
    return invalidEntry;
  }
  template <class Field>
  int ReadCount(Field field) const {
    QXLockGuard handleGuard(accessLock);
    QXLockGuard storageGuard(Storage->accessLock);
    return field(*Storage);
  }
  static void Release(StorageType* storage, bool asMutable);
};

// The mutable handle: reading and writing. Every handle on the same storage
// sees the writes.
template <class T>
class QXMutableArray : public QXArray<T> {
  using Base = QXArray<T>;

 public:
  // An empty array.
  QXMutableArray() : Base(0, 0, 0) { CountNewStorage(); }
  // A new m x n x o array whose elements are not initialised. A negative or
  // zero size gives the empty array.
  QXMutableArray(int m, int n, int o) : Base(m, n, o) { CountNewStorage(); }
  QXMutableArray(const QXMutableArray& other) : Base(QXUnattached()) { this->Attach(other, true); }
  QXMutableArray& operator=(const QXMutableArray& other) {
    this->Reassign(other, true);
    return *this;
  }
  // Stores v into every element.
  QXMutableArray& operator=(T v) {
    T* data = this->Storage->Data;
    for (int i = 0; i < this->Storage->length; i++) data[i] = v;
    return *this;
  }
  ~QXMutableArray() {
    this->Detach(true);
    this->Storage = nullptr;
  }

  using Base::operator();
  using Base::Pointer;
  T* Pointer() { return this->Storage->Data; }

  // A reference to the element; out of range it is reported and the reference
  // is to this handle's own spare entry, so the write changes no element.
  T& operator()(int i) { return this->InRange(i) ? this->Storage->Data[i] : Spare(i); }
  T& operator()(int i, int j) {
    return this->InRange(i, j) ? this->Storage->Data[i + j * this->Storage->m] : Spare(i, j);
  }
  T& operator()(int i, int j, int k) {
    return this->InRange(i, j, k) ? this->Storage->Data[this->Offset(i, j, k)] : Spare(i, j, k);
  }

  // The region the indices select, for reading and writing (double arrays only).
  template <class E = T>
  QXRegionOf<E, QXDoubleArrayRegion> operator()(const QXIndex& I) {
    return QXRegionOf<E, QXDoubleArrayRegion>(*this, I);
  }
  template <class E = T>
  QXRegionOf<E, QXDoubleArrayRegion> operator()(const QXIndex& I, const QXIndex& J) {
    return QXRegionOf<E, QXDoubleArrayRegion>(*this, I, J);
  }
  template <class E = T>
  QXRegionOf<E, QXDoubleArrayRegion> operator()(const QXIndex& I, const QXIndex& J,
                                                const QXIndex& K) {
    return QXRegionOf<E, QXDoubleArrayRegion>(*this, I, J, K);
  }

 private:
  using typename Base::QXUnattached;
  template <class... Index>
  [[gnu::noinline, gnu::cold]] T& Spare(Index... index) {
    this->PrintErrorMessage(index...);
    return this->invalidEntry;
  }
  void CountNewStorage() {
    if constexpr (Base::tracksHandles) this->Storage->mutableReferences = 1;
  }
};

// --- Implementation ---------------------------------------------------------

template <class T>
void QXArray<T>::Attach(const QXArray& other, bool asMutable) {
  QXLockGuard handleGuard(accessLock);
  StorageType* shared = other.Storage;
  QXLockGuard storageGuard(shared->accessLock);
  shared->referenceCount++;
  if constexpr (tracksHandles) {
    if (asMutable) shared->mutableReferences++;
  }
  Storage = shared;
}

template <class T>
void QXArray<T>::Release(StorageType* storage, bool asMutable) {
  storage->accessLock.Lock();
  int remaining = --storage->referenceCount;
  if constexpr (tracksHandles) {
    if (asMutable) storage->mutableReferences--;
  }
  storage->accessLock.Unlock();
  if (remaining == 0) delete storage;
}

template <class T>
void QXArray<T>::Detach(bool asMutable) {
  QXLockGuard handleGuard(accessLock);
  Release(Storage, asMutable);
}

template <class T>
void QXArray<T>::Reassign(const QXArray& other, bool asMutable) {
  if (&other == this) return;
  // Handle locks are taken in address order so that a = b and b = a running
  // at once cannot deadlock; storage locks likewise inside Release/Attach.
  const QXArray* first = this < &other ? this : &other;
  const QXArray* second = this < &other ? &other : this;
  QXLockGuard firstGuard(first->accessLock);
  QXLockGuard secondGuard(second->accessLock);
  if (Storage == other.Storage) return;
  StorageType* shared = other.Storage;
  StorageType* old = Storage;
  {
    QXLockGuard sharedGuard(shared->accessLock);
    shared->referenceCount++;
    if constexpr (tracksHandles) {
      if (asMutable) shared->mutableReferences++;
    }
    Storage = shared;
  }
  Release(old, asMutable);
}

template <class T>
QXMutableArray<T> QXArray<T>::Copy() const {
  QXMutableArray<T> copy(m(), n(), o());
  if (copy.Length() > 0) std::memcpy(copy.Pointer(), Pointer(), sizeof(T) * copy.Length());
  return copy;
}

template <class T>
void QXArray<T>::pinfo() const {
  if (o() == 0)
    QXPrintArrayInfo(QXArrayTraits<T>::emptyText);
  else if (o() == 1 && n() == 1)
    QXPrintArrayInfo(QXArrayTraits<T>::vectorText, m());
  else if (o() == 1)
    QXPrintArrayInfo(QXArrayTraits<T>::matrixText, m(), n());
  else
    QXPrintArrayInfo(QXArrayTraits<T>::volumeText, m(), n(), o());
}

// Equal when the dimensions agree and the buffers hold the same bytes: for
// floating types 0.0 and -0.0 differ, and identical NaNs are equal.
template <class T>
bool operator==(const QXArray<T>& a, const QXArray<T>& b) {
  if (a.m() != b.m() || a.n() != b.n() || a.o() != b.o()) return false;
  if (a.Pointer() == b.Pointer()) return true;
  return std::memcmp(a.Pointer(), b.Pointer(), sizeof(T) * a.Length()) == 0;
}

template <class T>
bool operator!=(const QXArray<T>& a, const QXArray<T>& b) {
  return !(a == b);
}

#endif
