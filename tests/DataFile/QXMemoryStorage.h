// A storage that keeps its variables in memory, for testing the interface and
// the code built on it. Copies share one content, as the real storages do.
// It records the order of accepted saves and can be made read-only.
#ifndef QXMEMORYSTORAGE_H
#define QXMEMORYSTORAGE_H

#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "QXDataStorage.h"
#include "QXError.h"

class QXMemoryStorage : public QXDataStorage {
 public:
  using Value = std::variant<QXDoubleArray, QXFloatArray, QXIntArray, QXCharArray, QXUCharArray,
                             QXShortIntArray, QXUShortIntArray, std::string>;

  QXMemoryStorage() : content(std::make_shared<Content>()) {}

  QXMutablePointer<QXDataStorage> AsPointer() override {
    return QXMutablePointer<QXDataStorage>(new QXMemoryStorage(*this));
  }
  QXList<std::string> AllVariableNames() const override {
    QXMutableList<std::string> names(static_cast<int>(content->values.size()));
    int i = 0;
    for (const auto& entry : content->values) names(i++) = entry.first;
    return names;
  }
  bool Contains(std::string name) const override { return content->values.count(name) > 0; }
  bool IsReadOnly() const override { return content->readOnly; }

  void Save(int v, std::string name) override { Store(Number<int>(v), name); }
  void Save(double v, std::string name) override { Store(Number<double>(v), name); }
  void Save(const QXDoubleArray& A, std::string name) override { Store(A, name); }
  void Save(const QXFloatArray& A, std::string name) override { Store(A, name); }
  void Save(const QXIntArray& A, std::string name) override { Store(A, name); }
  void Save(const QXCharArray& A, std::string name) override { Store(A, name); }
  void Save(const QXUCharArray& A, std::string name) override { Store(A, name); }
  void Save(const QXShortIntArray& A, std::string name) override { Store(A, name); }
  void Save(const QXUShortIntArray& A, std::string name) override { Store(A, name); }
  void Save(std::string theString, std::string name) override { Store(theString, name); }

  bool SavedAsDouble(std::string name) const override { return Holds<QXDoubleArray>(name); }
  bool SavedAsString(std::string name) const override { return Holds<std::string>(name); }

  QXDoubleArray ReadDoubleArray(std::string name) const override { return Read<double>(name); }
  QXFloatArray ReadFloatArray(std::string name) const override { return Read<float>(name); }
  QXIntArray ReadIntArray(std::string name) const override { return Read<int>(name); }
  QXCharArray ReadCharArray(std::string name) const override { return Read<signed char>(name); }
  QXUCharArray ReadUCharArray(std::string name) const override { return Read<unsigned char>(name); }
  QXShortIntArray ReadShortIntArray(std::string name) const override { return Read<short>(name); }
  QXUShortIntArray ReadUShortIntArray(std::string name) const override {
    return Read<unsigned short>(name);
  }
  std::string ReadString(std::string name) const override {
    auto found = content->values.find(name);
    if (found == content->values.end() || !std::holds_alternative<std::string>(found->second)) {
      QXErrorMessage("QXMemoryStorage::ReadString", "No string variable " + name);
      return std::string();
    }
    return std::get<std::string>(found->second);
  }

  // Test helpers.
  void SetReadOnly(bool readOnly) { content->readOnly = readOnly; }
  // The names of the accepted saves, oldest first.
  const std::vector<std::string>& SaveOrder() const { return content->saveOrder; }
  // True when the variable exists and was stored as exactly this value type.
  template <class V>
  bool Holds(const std::string& name) const {
    auto found = content->values.find(name);
    return found != content->values.end() && std::holds_alternative<V>(found->second);
  }

 private:
  struct Content {
    std::map<std::string, Value> values;
    std::vector<std::string> saveOrder;
    bool readOnly = false;
  };

  template <class T>
  static QXArray<T> Number(T v) {
    QXMutableArray<T> A(1, 1, 1);
    A(0) = v;
    return A;
  }
  void Store(const Value& value, const std::string& name) {
    if (content->readOnly) {
      QXErrorMessage("QXMemoryStorage::Save", "Storage is read only.");
      return;
    }
    content->values.insert_or_assign(name, value);
    content->saveOrder.push_back(name);
  }
  // Stored arrays are converted element by element; the tests keep values in range.
  template <class T>
  QXArray<T> Read(const std::string& name) const {
    auto found = content->values.find(name);
    if (found == content->values.end() || std::holds_alternative<std::string>(found->second)) {
      QXErrorMessage("QXMemoryStorage::Read", "Did not find the variable " + name);
      return QXArray<T>();
    }
    return std::visit(
        [](const auto& stored) -> QXArray<T> {
          using Stored = std::decay_t<decltype(stored)>;
          if constexpr (std::is_same_v<Stored, std::string>) {
            return QXArray<T>();
          } else if constexpr (std::is_same_v<Stored, QXArray<T>>) {
            return stored;
          } else {
            QXMutableArray<T> converted(stored.m(), stored.n(), stored.o());
            for (int i = 0; i < stored.Length(); i++)
              converted.Pointer()[i] = static_cast<T>(stored.Pointer()[i]);
            return converted;
          }
        },
        found->second);
  }

  std::shared_ptr<Content> content;
};

#endif
