#include "QXDataStorage.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include "QXError.h"

namespace {

// The one element of a 1-element array, else 0.
template <class T>
T SingleElement(const QXArray<T>& A) {
  return A.Length() == 1 ? A.Pointer()[0] : T(0);
}

// Truncation toward zero that is defined for every double: NaN gives 0 and
// values beyond the int range saturate.
int TruncateToInt(double v) {
  if (std::isnan(v)) return 0;
  // Every double in (INT_MIN - 1, INT_MAX + 1) truncates to a representable int.
  const double above = 2147483648.0;   // INT_MAX + 1
  const double below = -2147483649.0;  // INT_MIN - 1
  if (v >= above) return std::numeric_limits<int>::max();
  if (v <= below) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

}  // namespace

QXDataStorage::~QXDataStorage() = default;

void QXDataStorage::Flush() const {}

void QXDataStorage::printInfo() const {}

double QXDataStorage::ReadNumber(std::string name) const {
  return SingleElement(ReadDoubleArray(std::move(name)));
}

int QXDataStorage::ReadInt(std::string name) const {
  return SingleElement(ReadIntArray(std::move(name)));
}

QXList<std::string> QXDataStorage::AllVariableNamesWithPrefix(std::string prefix) const {
  return NamesWithPrefix(prefix);
}

QXList<std::string> QXDataStorage::NamesWithPrefix(const std::string& prefix) const {
  const QXList<std::string> all = AllVariableNames();
  std::vector<std::string> kept;
  for (int i = 0; i < all.Length(); i++) {
    std::string name = all(i);
    if (name.size() >= prefix.size() && name.compare(0, prefix.size(), prefix) == 0)
      kept.push_back(std::move(name));
  }
  QXMutableList<std::string> matching(static_cast<int>(kept.size()));
  for (int k = 0; k < matching.Length(); k++) matching(k) = std::move(kept[k]);
  return matching;
}

// Every name met is remembered, so a chain ends even when it loops among names
// other than the starting one (A -> B -> C -> B).
std::string QXDataStorage::ResolveName(std::string name) const {
  std::string value = ReadString(name);
  std::set<std::string> visited{name};
  while (SavedAsString(value) && visited.insert(value).second) value = ReadString(value);
  if (visited.count(value) > 0) {
    QXErrorMessage("QXDataStorage::ResolveName", "Circular reference");
    return name;
  }
  return value;
}

void QXDataStorage::pinfo() const { printInfo(); }

bool QXDataStorage::RunningOnBigEndianMachine() {
  const std::uint32_t probe = 0x07AF0C26;
  std::uint16_t firstHalf = 0;
  std::memcpy(&firstHalf, &probe, sizeof firstHalf);
  return firstHalf == 0x07AF;
}

void ReadFromFile(const QXDataStorage& storage, std::string name, double& v) {
  v = storage.ReadNumber(std::move(name));
}
void ReadFromFile(const QXDataStorage& storage, std::string name, int& v) {
  v = TruncateToInt(storage.ReadNumber(std::move(name)));
}
void ReadFromFile(const QXDataStorage& storage, std::string name, std::string& v) {
  v = storage.ReadString(std::move(name));
}
void ReadFromFile(const QXDataStorage& storage, std::string name, QXDoubleArray& A) {
  A = storage.ReadDoubleArray(std::move(name));
}
void ReadFromFile(const QXDataStorage& storage, std::string name, QXFloatArray& A) {
  A = storage.ReadFloatArray(std::move(name));
}
void ReadFromFile(const QXDataStorage& storage, std::string name, QXIntArray& A) {
  A = storage.ReadIntArray(std::move(name));
}
void ReadFromFile(const QXDataStorage& storage, std::string name, QXCharArray& A) {
  A = storage.ReadCharArray(std::move(name));
}
void ReadFromFile(const QXDataStorage& storage, std::string name, QXUCharArray& A) {
  A = storage.ReadUCharArray(std::move(name));
}
void ReadFromFile(const QXDataStorage& storage, std::string name, QXShortIntArray& A) {
  A = storage.ReadShortIntArray(std::move(name));
}
void ReadFromFile(const QXDataStorage& storage, std::string name, QXUShortIntArray& A) {
  A = storage.ReadUShortIntArray(std::move(name));
}

void WriteToFile(QXDataStorage& storage, std::string name, double v) {
  storage.Save(v, std::move(name));
}
void WriteToFile(QXDataStorage& storage, std::string name, const std::string& v) {
  storage.Save(v, std::move(name));
}
void WriteToFile(QXDataStorage& storage, std::string name, const QXDoubleArray& A) {
  storage.Save(A, std::move(name));
}
void WriteToFile(QXDataStorage& storage, std::string name, const QXFloatArray& A) {
  storage.Save(A, std::move(name));
}
void WriteToFile(QXDataStorage& storage, std::string name, const QXIntArray& A) {
  storage.Save(A, std::move(name));
}
void WriteToFile(QXDataStorage& storage, std::string name, const QXCharArray& A) {
  storage.Save(A, std::move(name));
}
void WriteToFile(QXDataStorage& storage, std::string name, const QXUCharArray& A) {
  storage.Save(A, std::move(name));
}
void WriteToFile(QXDataStorage& storage, std::string name, const QXShortIntArray& A) {
  storage.Save(A, std::move(name));
}
void WriteToFile(QXDataStorage& storage, std::string name, const QXUShortIntArray& A) {
  storage.Save(A, std::move(name));
}
