#include "QXArrayMemory.h"

#include <sys/mman.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "QXError.h"

namespace {

// Buffers of at least this size are placed on huge-page boundaries and their
// size is rounded up to a whole number of huge pages.
constexpr size_t kHugePageSize = size_t{2} << 20;

size_t RoundedToHugePages(size_t bytes) {
  return (bytes + kHugePageSize - 1) & ~(kHugePageSize - 1);
}

void ReportSizeFailure(const char* typeName, const char* message) {
  QXErrorMessage(std::string(typeName) + "(m,n,o)", message);
}

// Large buffers freed recently, oldest first, kept for reuse by an allocation
// of the same rounded size. Under AddressSanitizer nothing is kept, so that a
// use after free is still caught. Constant-initialised, so that arrays freed
// while the program ends find it intact.
#if defined(__SANITIZE_ADDRESS__)
#define QX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QX_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef QX_ADDRESS_SANITIZER
constexpr int kKeptBuffers = 0;
#else
constexpr int kKeptBuffers = 4;
#endif
constexpr size_t kKeptBytes = size_t{256} << 20;

struct KeptBuffer {
  void* buffer;
  size_t bytes;
};
std::mutex keptLock;
KeptBuffer kept[kKeptBuffers > 0 ? kKeptBuffers : 1];
int keptCount = 0;
size_t keptBytes = 0;

void RemoveKept(int index) {
  keptBytes -= kept[index].bytes;
  for (int i = index + 1; i < keptCount; i++) kept[i - 1] = kept[i];
  keptCount--;
}

// A kept buffer of exactly `bytes` (rounded) bytes, the most recent first; null if none.
void* TakeKept(size_t bytes) {
  std::lock_guard<std::mutex> guard(keptLock);
  for (int i = keptCount - 1; i >= 0; i--) {
    if (kept[i].bytes != bytes) continue;
    void* buffer = kept[i].buffer;
    RemoveKept(i);
    return buffer;
  }
  return nullptr;
}

// Keeps the buffer, freeing the oldest kept ones to make room; false when it
// cannot be kept at all.
bool Keep(void* buffer, size_t bytes) {
  if (kKeptBuffers == 0 || bytes > kKeptBytes) return false;
  void* evicted[kKeptBuffers > 0 ? kKeptBuffers : 1];
  int evictedCount = 0;
  {
    std::lock_guard<std::mutex> guard(keptLock);
    while (keptCount == kKeptBuffers || keptBytes + bytes > kKeptBytes) {
      evicted[evictedCount++] = kept[0].buffer;
      RemoveKept(0);
    }
    kept[keptCount++] = {buffer, bytes};
    keptBytes += bytes;
  }
  for (int i = 0; i < evictedCount; i++) std::free(evicted[i]);
  return true;
}

}  // namespace

bool QXArrayElementCount(int m, int n, int o, size_t elementSize, const char* typeName,
                         long long* elements) {
  *elements = 0;
  if (m <= 0 || n <= 0 || o <= 0) return true;
  long long planeSize = static_cast<long long>(m) * n;  // at most 2^62
  if (planeSize > INT_MAX || planeSize * o > INT_MAX ||
      static_cast<unsigned long long>(planeSize * o) > SIZE_MAX / elementSize) {
    ReportSizeFailure(typeName, "Array size is too large.");
    return false;
  }
  *elements = planeSize * o;
  return true;
}

void* QXAllocateArrayBuffer(size_t bytes, const char* typeName) {
  void* buffer = nullptr;
  if (bytes >= kHugePageSize) {
    bytes = RoundedToHugePages(bytes);
    buffer = TakeKept(bytes);
    if (buffer != nullptr) return buffer;
    if (posix_memalign(&buffer, kHugePageSize, bytes) != 0) buffer = nullptr;
#ifdef MADV_HUGEPAGE
    if (buffer != nullptr) madvise(buffer, bytes, MADV_HUGEPAGE);
#endif
  } else {
    buffer = std::malloc(bytes);
  }
  if (buffer == nullptr) ReportSizeFailure(typeName, "Could not allocate memory.");
  return buffer;
}

void QXFreeArrayBuffer(void* buffer, size_t bytes) {
  if (buffer != nullptr && bytes >= kHugePageSize && Keep(buffer, RoundedToHugePages(bytes)))
    return;
  std::free(buffer);
}

void QXPrintArrayInfo(const char* format, int a, int b, int c) {
  std::fprintf(stderr, format, a, b, c);
}

void QXPrintOutOfBounds() { std::fputs("Out of bounds\n", stderr); }
