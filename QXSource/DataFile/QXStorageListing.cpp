#include "QXStorageListingInternal.h"

#include <algorithm>

#include "QXNumberText.h"

namespace {

constexpr size_t kNameColumn = 30;
constexpr size_t kShortText = 20;
constexpr size_t kTextHead = 15;
// Up to kListingLimit entries are all listed; beyond, the head, one
// "Skipping" line and the tail make exactly kListingLimit lines.
constexpr size_t kListingLimit = 400;
constexpr size_t kListedHead = 390;
constexpr size_t kListedTail = 9;

bool IsControlCharacter(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::string QXEscapeControlCharacters(const std::string& text) {
  const auto needsEscape = [](char c) { return c == '\\' || IsControlCharacter(c); };
  if (std::none_of(text.begin(), text.end(), needsEscape)) return text;
  static const char hexDigits[] = "0123456789abcdef";
  std::string escaped;
  escaped.reserve(text.size() + 8);
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (!needsEscape(c)) {
      escaped += c;
    } else if (c == '\\') {
      escaped += "\\\\";
    } else if (c == '\n') {
      escaped += "\\n";
    } else if (c == '\r') {
      escaped += "\\r";
    } else if (c == '\t') {
      escaped += "\\t";
    } else {
      escaped += "\\x";
      escaped += hexDigits[byte >> 4];
      escaped += hexDigits[byte & 0xF];
    }
  }
  return escaped;
}

std::string QXListingName(const std::string& name) {
  std::string column = QXEscapeControlCharacters(name) + " ";
  if (column.size() < kNameColumn) column.append(kNameColumn - column.size(), '.');
  return column;
}

std::string QXListingText(const std::string& text, long long storedCharacters) {
  if (text.size() <= kShortText) return "\"" + QXEscapeControlCharacters(text) + "\"";
  return "\"" + QXEscapeControlCharacters(text.substr(0, kTextHead)) + "...\" - " +
         std::to_string(storedCharacters) + " characters";
}

bool QXListingShows(size_t i, size_t count) {
  return count <= kListingLimit || i < kListedHead || i + kListedTail >= count;
}

std::string QXListingSkipLine(size_t count) {
  const size_t leftOut = count - kListedHead - kListedTail;
  return "Skipping " + QXInt2String(static_cast<int>(leftOut)) + " entries.";
}
