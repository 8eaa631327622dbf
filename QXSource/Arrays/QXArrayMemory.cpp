#include "QXArrayMemory.h"

#include <sys/mman.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "QXError.h"

namespace {

// Buffers of at least this size are placed on huge-page boundaries.
constexpr size_t kHugePageSize = size_t{2} << 20;

void ReportSizeFailure(const char* typeName, const char* message) {
  QXErrorMessage(std::string(typeName) + "(m,n,o)", message);
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
    if (posix_memalign(&buffer, kHugePageSize, bytes) != 0) buffer = nullptr;
#ifdef MADV_HUGEPAGE
    if (buffer != nullptr) madvise(buffer, bytes & ~size_t{4095}, MADV_HUGEPAGE);
#endif
  } else {
    buffer = std::malloc(bytes);
  }
  if (buffer == nullptr) ReportSizeFailure(typeName, "Could not allocate memory.");
  return buffer;
}

void QXFreeArrayBuffer(void* buffer) { std::free(buffer); }

void QXPrintArrayInfo(const char* format, int a, int b, int c) {
  std::fprintf(stderr, format, a, b, c);
}

void QXPrintOutOfBounds() { std::fputs("Out of bounds\n", stderr); }
