// The storage of named variables. A variable is a name (case-sensitive) bound
// to a typed array of up to three dimensions or to a string; numbers are
// 1 x 1 arrays. Files, containers and everything that saves itself go through
// this interface only, so any value can go to any storage.
//
//   storage.Save(2.5, "x");
//   double x = storage.ReadNumber("x");        // 2.5
//   WriteToFile(storage, "grid", A);           // A is any typed array
//
// Failures are reported by the storage through the error service and end in
// an empty array, an empty string, 0 or false.
#ifndef QXDATASTORAGE_H
#define QXDATASTORAGE_H

#include <string>

#include "QXCharArray.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXList.h"
#include "QXPointer.h"
#include "QXShortIntArray.h"
#include "QXUCharArray.h"
#include "QXUShortIntArray.h"

// Concrete storages are handles: copies share one content. The order of the
// virtual operations below is part of the interface and must not change.
class QXDataStorage {
 public:
  QXDataStorage() = default;
  QXDataStorage(const QXDataStorage&) = default;
  QXDataStorage& operator=(const QXDataStorage&) = default;
  virtual ~QXDataStorage();

  // A new heap handle on the same content; writes through either are seen by both.
  virtual QXMutablePointer<QXDataStorage> AsPointer() = 0;
  // Every variable name once.
  virtual QXList<std::string> AllVariableNames() const = 0;
  virtual bool Contains(std::string name) const = 0;
  // When true, every Save reports and changes nothing.
  virtual bool IsReadOnly() const = 0;

  // Stores the value under the name, replacing any variable of that name.
  // Numbers are stored as 1 x 1 arrays.
  virtual void Save(int v, std::string name) = 0;
  virtual void Save(double v, std::string name) = 0;
  virtual void Save(const QXDoubleArray& A, std::string name) = 0;
  virtual void Save(const QXFloatArray& A, std::string name) = 0;
  virtual void Save(const QXIntArray& A, std::string name) = 0;
  virtual void Save(const QXCharArray& A, std::string name) = 0;
  virtual void Save(const QXUCharArray& A, std::string name) = 0;
  virtual void Save(const QXShortIntArray& A, std::string name) = 0;
  virtual void Save(const QXUShortIntArray& A, std::string name) = 0;
  virtual void Save(std::string theString, std::string name) = 0;

  // False for a missing name, without a report.
  virtual bool SavedAsDouble(std::string name) const = 0;
  virtual bool SavedAsString(std::string name) const = 0;

  // Pushes what was written to the medium. Does nothing by default.
  virtual void Flush() const;

  // The variable converted to the requested element type. A missing name is
  // reported and gives the empty array.
  virtual QXDoubleArray ReadDoubleArray(std::string name) const = 0;
  virtual QXFloatArray ReadFloatArray(std::string name) const = 0;
  virtual QXIntArray ReadIntArray(std::string name) const = 0;
  virtual QXCharArray ReadCharArray(std::string name) const = 0;
  virtual QXUCharArray ReadUCharArray(std::string name) const = 0;
  virtual QXShortIntArray ReadShortIntArray(std::string name) const = 0;
  virtual QXUShortIntArray ReadUShortIntArray(std::string name) const = 0;

  // The single element of the variable; 0 when it has none or more than one.
  // Reports nothing itself: a missing name is reported by the array read.
  virtual double ReadNumber(std::string name) const;
  virtual int ReadInt(std::string name) const;
  // The stored string; a missing or non-string variable is reported and gives "".
  virtual std::string ReadString(std::string name) const = 0;

  // Writes the storage's listing to standard error. Writes nothing by default.
  virtual void printInfo() const;

  // The names that begin with prefix, in the order of AllVariableNames(),
  // for AllVariableNamesWithPrefix. By default it filters AllVariableNames();
  // a storage that keeps its names indexed filters before ordering them.
  virtual QXList<std::string> NamesWithPrefix(const std::string& prefix) const;

  // The names that begin with prefix, whole and in the order of AllVariableNames().
  QXList<std::string> AllVariableNamesWithPrefix(std::string prefix) const;
  // Follows string variables whose text names another string variable and
  // returns the text that ends the chain. A chain that repeats a name is
  // reported as "Circular reference" and gives the starting name.
  std::string ResolveName(std::string name) const;
  // The storage's listing on standard error (printInfo()).
  void pinfo() const;

  // True when the machine stores the most significant byte first.
  static bool RunningOnBigEndianMachine();
};

// Free building blocks for values that store themselves: each forwards to
// the matching read or Save. An int is written through the double overload.
void ReadFromFile(const QXDataStorage& storage, std::string name, double& v);
// The stored number truncated toward zero; NaN gives 0 and values beyond
// the int range give INT_MIN or INT_MAX.
void ReadFromFile(const QXDataStorage& storage, std::string name, int& v);
void ReadFromFile(const QXDataStorage& storage, std::string name, std::string& v);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXDoubleArray& A);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXFloatArray& A);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXIntArray& A);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXCharArray& A);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXUCharArray& A);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXShortIntArray& A);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXUShortIntArray& A);

// Reading into a mutable handle through its immutable base would leave the
// storage's count of mutable handles wrong; read into the immutable type.
template <class T>
void ReadFromFile(const QXDataStorage& storage, std::string name, QXMutableArray<T>& A) = delete;

void WriteToFile(QXDataStorage& storage, std::string name, double v);
void WriteToFile(QXDataStorage& storage, std::string name, const std::string& v);
void WriteToFile(QXDataStorage& storage, std::string name, const QXDoubleArray& A);
void WriteToFile(QXDataStorage& storage, std::string name, const QXFloatArray& A);
void WriteToFile(QXDataStorage& storage, std::string name, const QXIntArray& A);
void WriteToFile(QXDataStorage& storage, std::string name, const QXCharArray& A);
void WriteToFile(QXDataStorage& storage, std::string name, const QXUCharArray& A);
void WriteToFile(QXDataStorage& storage, std::string name, const QXShortIntArray& A);
void WriteToFile(QXDataStorage& storage, std::string name, const QXUShortIntArray& A);

#endif
