#include "QXStorageListing.h"

#include "QXNumberText.h"

namespace {

constexpr size_t kNameColumn = 30;
constexpr size_t kShortText = 20;
constexpr size_t kTextHead = 15;
constexpr size_t kListingLimit = 400;
constexpr size_t kListedHead = 390;
constexpr size_t kListedTail = 9;

}  // namespace

std::string QXListingName(const std::string& name) {
  std::string column = name + " ";
  if (column.size() < kNameColumn) column.append(kNameColumn - column.size(), '.');
  return column;
}

std::string QXListingText(const std::string& text, long long storedCharacters) {
  if (text.size() <= kShortText) return "\"" + text + "\"";
  return "\"" + text.substr(0, kTextHead) + "...\" - " + std::to_string(storedCharacters) +
         " characters";
}

bool QXListingShows(size_t i, size_t count) {
  return count < kListingLimit || i < kListedHead || i + kListedTail >= count;
}

std::string QXListingSkipLine(size_t count) {
  return "Skipping " + QXInt2String(static_cast<int>(count - kListingLimit)) + " entries.";
}
