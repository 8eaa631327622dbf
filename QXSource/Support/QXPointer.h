// Shared owning pointers: the last of the sharing copies deletes the object.
// The count is guarded by a mutex of the group, so copies may be made and
// dropped on different threads; the held object itself is not guarded.
//
//   QXMutablePointer<QXDataStorage> p = storage.AsPointer();
//   p->Save(1.0, "x");
#ifndef QXPOINTER_H
#define QXPOINTER_H

#include <pthread.h>

template <class T>
class QXPointer {
 public:
  QXPointer() : ref(new int(1)), mutexLock(NewMutex()), Value(nullptr) {}
  // Takes ownership of v.
  explicit QXPointer(T* v) : ref(new int(1)), mutexLock(NewMutex()), Value(v) {}
  QXPointer(const QXPointer& other) {
    pthread_mutex_lock(other.mutexLock);
    ref = other.ref;
    mutexLock = other.mutexLock;
    Value = other.Value;
    ++*ref;
    pthread_mutex_unlock(other.mutexLock);
  }
  // Takes the source's mutex before this pointer's own. Two threads that
  // assign a = b and b = a at the same moment can block each other.
  QXPointer& operator=(const QXPointer& other) {
    if (ref == other.ref) return *this;
    pthread_mutex_t* sourceLock = other.mutexLock;
    pthread_mutex_lock(sourceLock);
    pthread_mutex_lock(mutexLock);
    ReleaseLocked();
    ref = other.ref;
    mutexLock = other.mutexLock;
    Value = other.Value;
    ++*ref;
    pthread_mutex_unlock(sourceLock);
    return *this;
  }
  ~QXPointer() {
    pthread_mutex_lock(mutexLock);
    ReleaseLocked();
  }

  const T* operator->() const { return Value; }
  const T& operator*() const { return *Value; }
  const T* Data() const { return Value; }
  int ReferenceCount() const {
    pthread_mutex_lock(mutexLock);
    int count = *ref;
    pthread_mutex_unlock(mutexLock);
    return count;
  }

 protected:
  int* ref;
  pthread_mutex_t* mutexLock;
  T* Value;

 private:
  static pthread_mutex_t* NewMutex() {
    pthread_mutex_t* mutex = new pthread_mutex_t;
    pthread_mutex_init(mutex, nullptr);
    return mutex;
  }
  // Called with this pointer's mutex held: drops one share and unlocks;
  // the last share deletes the object, the mutex and the count.
  void ReleaseLocked() {
    bool last = --*ref == 0;
    pthread_mutex_unlock(mutexLock);
    if (!last) return;
    delete Value;
    pthread_mutex_destroy(mutexLock);
    delete mutexLock;
    delete ref;
  }
};

template <class T>
class QXMutablePointer : public QXPointer<T> {
 public:
  QXMutablePointer() = default;
  explicit QXMutablePointer(T* v) : QXPointer<T>(v) {}
  QXMutablePointer(const QXMutablePointer&) = default;
  QXMutablePointer& operator=(const QXMutablePointer&) = default;

  using QXPointer<T>::operator->;
  using QXPointer<T>::operator*;
  using QXPointer<T>::Data;
  T* operator->() { return this->Value; }
  T& operator*() { return *this->Value; }
  T* Data() { return this->Value; }
};

#endif
