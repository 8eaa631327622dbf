#include "QXLock.h"

QXLock::QXLock() : mutexLock(new pthread_mutex_t) { pthread_mutex_init(mutexLock, nullptr); }

QXLock::~QXLock() {
  pthread_mutex_destroy(mutexLock);
  delete mutexLock;
}
