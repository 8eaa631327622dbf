// Steps shared by the variable types' storage functions: reading an entry of
// a fixed length, and overwriting a companion entry that a new value does not
// have, so that a save replaces the whole value.
#ifndef QXVARIABLESTORAGEINTERNAL_H
#define QXVARIABLESTORAGEINTERNAL_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXError.h"

// The operation name under which a variable's reader reports a stored entry
// of the wrong shape: "ReadFromArray(QXPoint2D)".
inline std::string QXReadFromArrayOperation(const char* type) {
  return std::string("ReadFromArray(") + type + ")";
}

// Reads `name` into `stored` and tells whether it holds exactly `length`
// elements; otherwise reports "ReadFromArray(type)" / "Invalid length of
// array." (after the storage's own report when the entry is missing).
template <class Array>
bool QXReadExactLength(const QXDataStorage& storage, const std::string& name, int length,
                       const char* type, Array& stored) {
  ReadFromFile(storage, name, stored);
  if (stored.Length() == length) return true;
  QXErrorMessage(QXReadFromArrayOperation(type), "Invalid length of array.");
  return false;
}

// A companion entry that the value being written does not have: an earlier
// value's entry under that name is overwritten with an empty array, which
// every reader takes as absent. Nothing is written when there is no such
// entry.
inline void QXClearCompanion(QXDataStorage& storage, const std::string& name) {
  if (storage.Contains(name)) storage.Save(QXDoubleArray(), name);
}

// A companion that a value may lack: the array when it holds something,
// otherwise the companion is cleared as above.
template <class Array>
void QXWriteOptionalCompanion(QXDataStorage& storage, const std::string& name, const Array& A) {
  if (A.NotEmpty())
    WriteToFile(storage, name, A);
  else
    QXClearCompanion(storage, name);
}

#endif
