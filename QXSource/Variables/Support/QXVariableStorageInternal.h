// Steps shared by the variable types' storage functions: reading an entry of
// a fixed length, and overwriting a companion entry that a new value does not
// have, so that a save replaces the whole value.
#ifndef QXVARIABLESTORAGEINTERNAL_H
#define QXVARIABLESTORAGEINTERNAL_H

#include <initializer_list>
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

// Saves `length` numbers as a length x 1 array of their element type (an
// empty array when length is 0).
template <class T>
void QXSaveColumn(QXDataStorage& storage, const std::string& name, const T* numbers, int length) {
  QXMutableArray<T> stored(length, 1, 1);
  if (stored.Length() != length) return;  // out of memory, reported by the array
  for (int i = 0; i < length; i++) stored(i) = numbers[i];
  storage.Save(stored, name);
}

template <class T>
void QXSaveColumn(QXDataStorage& storage, const std::string& name, std::initializer_list<T> numbers) {
  QXSaveColumn(storage, name, numbers.begin(), static_cast<int>(numbers.size()));
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
