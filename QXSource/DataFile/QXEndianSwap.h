// Reversal of byte order in place, for data stored in the other byte order
// than the machine's.
//
//   QXMutableDoubleArray values = ...;  // read from a file of the other order
//   SwapEndian(values);                 // now in the machine's order
//
// The raw swaps reverse each 2-, 4- or 8-byte group of the first count bytes;
// a count that is not positive or not a whole number of groups leaves the
// bytes unchanged, without a report.
#ifndef QXENDIANSWAP_H
#define QXENDIANSWAP_H

#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXShortIntArray.h"
#include "QXUCharArray.h"
#include "QXUShortIntArray.h"

void QXSwap2Bytes(unsigned char* bytes, int count);
void QXSwap4Bytes(unsigned char* bytes, int count);
void QXSwap8Bytes(unsigned char* bytes, int count);

// Reverse the bytes of every element of the array.
void SwapEndian(QXMutableShortIntArray& A);
void SwapEndian(QXMutableUShortIntArray& A);
void SwapEndian(QXMutableIntArray& A);
void SwapEndian(QXMutableFloatArray& A);
void SwapEndian(QXMutableDoubleArray& A);

// Treat a byte array as raw 2-, 4- or 8-byte values, each column holding
// whole values, and reverse every value. When the first dimension is not a
// multiple of the value size they report and change nothing.
void Swap2Bytes(QXMutableUCharArray& A);
void Swap4Bytes(QXMutableUCharArray& A);
void Swap8Bytes(QXMutableUCharArray& A);

#endif
