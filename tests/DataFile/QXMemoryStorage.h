// A storage that keeps its variables in memory, for testing the interface and
// the code built on it. It records the order of the saves; a copy holds a
// copy of the variables.
#ifndef QXMEMORYSTORAGE_H
#define QXMEMORYSTORAGE_H

#include <map>
#include <variant>

#include "QXDataStorage.h"
#include "QXError.h"

class QXMemoryStorage : public QXDataStorage {
 public:
  QXMutablePointer<QXDataStorage> AsPointer() override {
    return QXMutablePointer<QXDataStorage>(new QXMemoryStorage(*this));
  }
  QXList<std::string> AllVariableNames() const override {
    QXMutableList<std::string> names(static_cast<int>(values.size()));
    int i = 0;
    for (const auto& entry : values) names(i++) = entry.first;
    return names;
  }
  bool Contains(std::string name) const override { return values.count(name) > 0; }
  bool IsReadOnly() const override { return false; }

  void Save(int v, std::string name) override { Store(QXMutableIntArray(1, 1, 1) = v, name); }
  void Save(double v, std::string name) override { Store(QXMutableDoubleArray(1, 1, 1) = v, name); }
  void Save(std::string theString, std::string name) override { Store(theString, name); }
  bool SavedAsDouble(std::string name) const override { return Holds<QXDoubleArray>(name); }
  bool SavedAsString(std::string name) const override { return Holds<std::string>(name); }
  std::string ReadString(std::string name) const override { return Read<std::string>(name); }

#define QX_MEMORY_ARRAY(T, ReadName)                                            \
  void Save(const QXArray<T>& A, std::string name) override { Store(A, name); } \
  QXArray<T> ReadName(std::string name) const override { return Read<QXArray<T>>(name); }
  QX_MEMORY_ARRAY(double, ReadDoubleArray)
  QX_MEMORY_ARRAY(float, ReadFloatArray)
  QX_MEMORY_ARRAY(int, ReadIntArray)
  QX_MEMORY_ARRAY(signed char, ReadCharArray)
  QX_MEMORY_ARRAY(unsigned char, ReadUCharArray)
  QX_MEMORY_ARRAY(short, ReadShortIntArray)
  QX_MEMORY_ARRAY(unsigned short, ReadUShortIntArray)
#undef QX_MEMORY_ARRAY

  // The names of the saves, oldest first.
  const std::vector<std::string>& SaveOrder() const { return saveOrder; }
  // Equal when both hold the same names with values of the same types and
  // contents, whatever the order of the saves.
  friend bool operator==(const QXMemoryStorage& a, const QXMemoryStorage& b) {
    return a.values == b.values;
  }

 private:
  using Value = std::variant<QXDoubleArray, QXFloatArray, QXIntArray, QXCharArray, QXUCharArray,
                             QXShortIntArray, QXUShortIntArray, std::string>;

  void Store(const Value& value, const std::string& name) {
    values.insert_or_assign(name, value);
    saveOrder.push_back(name);
  }
  template <class V>
  bool Holds(const std::string& name) const {
    auto found = values.find(name);
    return found != values.end() && std::holds_alternative<V>(found->second);
  }
  // Reads only the type that was stored: any other counts as missing.
  template <class V>
  V Read(const std::string& name) const {
    if (Holds<V>(name)) return std::get<V>(values.at(name));
    QXErrorMessage("QXMemoryStorage::Read", "Did not find the variable " + name);
    return V();
  }

  std::map<std::string, Value> values;
  std::vector<std::string> saveOrder;
};

#endif
