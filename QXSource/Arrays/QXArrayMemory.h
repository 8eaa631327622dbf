// Helpers shared by every member of the array family that need not be
// templates: size checks, buffer allocation and the debug texts.
#ifndef QXARRAYMEMORY_H
#define QXARRAYMEMORY_H

#include <cstddef>

// The number of elements of an m x n x o array: 0 when any size is zero or
// negative. Reports under "<typeName>(m,n,o)" and returns false when the
// count exceeds the int range or the byte size would not fit in memory.
bool QXArrayElementCount(int m, int n, int o, size_t elementSize, const char* typeName,
                         long long* elements);

// An uninitialised buffer of the given size (not zero). Large buffers are
// aligned and advised for huge pages, which halves the cost of first touch,
// and are preferably one of the large buffers freed recently (see
// QXFreeArrayBuffer). Reports under "<typeName>(m,n,o)" and returns null when
// memory runs out.
void* QXAllocateArrayBuffer(size_t bytes, const char* typeName);
// Frees a buffer of `bytes` bytes (the size it was allocated with). A few
// large buffers, up to 256 MiB in all, are kept for the next allocation of
// the same size, so that an operation that makes a new array in a loop
// (R = A + B) writes into pages already mapped rather than paying a page
// fault per page, which costs more than the arithmetic itself.
void QXFreeArrayBuffer(void* buffer, size_t bytes);

// Writes the pinfo line with up to three sizes to standard error.
void QXPrintArrayInfo(const char* format, int a = 0, int b = 0, int c = 0);
// Writes "Out of bounds\n" to standard error.
void QXPrintOutOfBounds();

#endif
