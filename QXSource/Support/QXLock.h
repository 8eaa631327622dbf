// Owned mutexes. A QXLock allocates one POSIX mutex and frees it with itself;
// it cannot be copied. QXLocked<T> guards one value with such a lock.
//
//   QXLocked<int> counter;  counter = 0;
//   int now = counter;      // read under the lock
#ifndef QXLOCK_H
#define QXLOCK_H

#include <pthread.h>

class QXLock {
 public:
  QXLock();
  ~QXLock();
  QXLock(const QXLock&) = delete;
  QXLock& operator=(const QXLock&) = delete;

  void Lock() const { pthread_mutex_lock(mutexLock); }
  void Unlock() const { pthread_mutex_unlock(mutexLock); }
  // True when the mutex was free and is now held by the caller.
  bool TryLock() const { return pthread_mutex_trylock(mutexLock) == 0; }
  // True when both handles are the same mutex.
  bool operator==(const QXLock& other) const { return mutexLock == other.mutexLock; }

 private:
  pthread_mutex_t* mutexLock;
};

// Holds the lock for the lifetime of the guard. Works with any type that has
// const Lock() and Unlock().
template <class LockType = QXLock>
class QXLockGuard {
 public:
  explicit QXLockGuard(const LockType& lock) : held(lock) { held.Lock(); }
  ~QXLockGuard() { held.Unlock(); }
  QXLockGuard(const QXLockGuard&) = delete;
  QXLockGuard& operator=(const QXLockGuard&) = delete;

 private:
  const LockType& held;
};

// A value whose single reads and writes are atomic with respect to each other.
// The default constructor leaves the value unset: assign it before the first read.
template <class T>
class QXLocked {
 public:
  QXLocked() : value() {}
  QXLocked& operator=(const T& v) {
    QXLockGuard<QXLock> guard(lock);
    value = v;
    return *this;
  }
  operator T() const {
    QXLockGuard<QXLock> guard(lock);
    return value;
  }
  // Postfix increment and decrement under the lock; return the old value.
  T operator++(int) {
    QXLockGuard<QXLock> guard(lock);
    return value++;
  }
  T operator--(int) {
    QXLockGuard<QXLock> guard(lock);
    return value--;
  }

 private:
  QXLock lock;
  T value;
};

#endif
