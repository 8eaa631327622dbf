// Instantiates every member of the array family once, so that each is
// compiled and checked whether or not the library uses it yet.
#include "QXCharArray.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXShortIntArray.h"
#include "QXUCharArray.h"
#include "QXUShortIntArray.h"

template class QXArray<double>;
template class QXArray<float>;
template class QXArray<int>;
template class QXArray<short>;
template class QXArray<unsigned short>;
template class QXArray<signed char>;
template class QXArray<unsigned char>;
template class QXMutableArray<double>;
template class QXMutableArray<float>;
template class QXMutableArray<int>;
template class QXMutableArray<short>;
template class QXMutableArray<unsigned short>;
template class QXMutableArray<signed char>;
template class QXMutableArray<unsigned char>;
