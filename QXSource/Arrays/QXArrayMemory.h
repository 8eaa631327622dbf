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
// aligned and advised for huge pages, which halves the cost of first touch.
// Reports under "<typeName>(m,n,o)" and returns null when memory runs out.
void* QXAllocateArrayBuffer(size_t bytes, const char* typeName);
void QXFreeArrayBuffer(void* buffer);

// Writes the pinfo line with up to three sizes to standard error.
void QXPrintArrayInfo(const char* format, int a = 0, int b = 0, int c = 0);
// Writes "Out of bounds\n" to standard error.
void QXPrintOutOfBounds();

#endif
