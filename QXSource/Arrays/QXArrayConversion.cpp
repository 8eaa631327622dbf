// The 42 public conversions, each a one-line instantiation of the generic
// element loop for its pair of element types.
#include "QXArrayConversion.h"

#include "QXConversionTemplatesInternal.h"

#define QX_DEFINE_ARRAY_CONVERSION(Source, Target)                             \
  QXMutable##Target##Array ConvertTo##Target(const QX##Source##Array& A) {     \
    return QXConvertedArray<QXMutable##Target##Array::Element>(A);             \
  }                                                                            \
  void ConvertArray(const QX##Source##Array& A, QXMutable##Target##Array& B) { \
    QXConvertArrayInto(A, B);                                                  \
  }

QX_ARRAY_CONVERSION_PAIRS(QX_DEFINE_ARRAY_CONVERSION)
