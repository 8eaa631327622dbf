#include "QXArguments.h"

#include <climits>
#include <cstdlib>

#include "QXError.h"

std::vector<std::string> QXInputArgumentList;
std::string QXApplicationName;

void QXSetArguments(int argc, const char** argv) {
  std::vector<std::string>& arguments = QXInputArgumentList;
  arguments.clear();
  QXApplicationName = (argc > 0 && argv[0] != nullptr) ? argv[0] : "";
  for (int i = 1; i < argc; i++) arguments.push_back(argv[i] != nullptr ? argv[i] : "");
}

int QXHowManyArguments() { return static_cast<int>(QXInputArgumentList.size()); }

std::string QXGetArgumentNumber(int num) {
  if (num < 0 || num >= QXHowManyArguments()) {
    QXErrorMessage("QXGetArgumentNumber(number)", "number out of bounds.");
    return std::string();
  }
  return QXInputArgumentList[num];
}

namespace {

// Position of the first argument equal to "-" + flagName, or -1.
int FlagPosition(const std::string& flagName) {
  const std::string flag = "-" + flagName;
  const std::vector<std::string>& arguments = QXInputArgumentList;
  for (size_t i = 0; i < arguments.size(); i++) {
    if (arguments[i] == flag) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

bool QXArgumentIncludesFlag(const std::string& flagName) { return FlagPosition(flagName) >= 0; }

std::string QXArgumentFlagEntry(const std::string& flagName) {
  int position = FlagPosition(flagName);
  if (position < 0 || position + 1 >= QXHowManyArguments()) return std::string();
  const std::string& value = QXInputArgumentList[position + 1];
  if (value.empty() || value[0] == '-') return std::string();
  return value;
}

int QXArgumentIntegerEntry(const std::string& flagName) {
  // strtol parses exactly as atoi does but reports overflow, which atoi leaves undefined.
  const std::string entry = QXArgumentFlagEntry(flagName);
  long value = std::strtol(entry.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}
