// The parts of a file storage's pinfo() listing that the Matlab and the
// binary data file share: the dotted name column, the form of string values,
// the choice of lines for long listings, and the escaping of control
// characters that keeps every entry on one line (the content report uses it
// too).
#ifndef QXSTORAGELISTING_H
#define QXSTORAGELISTING_H

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <string>
#include <vector>

#include "QXStorageInternal.h"

// The text with every control character (a byte below 0x20, or 0x7F) written
// as an escape, so that a name or value read from a file cannot start a line
// of its own: a line feed as the two characters \n, a carriage return as \r,
// a tab as \t, any other as \x and two lower-case hex digits (\x00, \x1b,
// \x7f). A backslash becomes \\, so every escaped text reads back to exactly
// one original. Bytes of 0x80 and above are kept: UTF-8 prints unchanged.
std::string QXEscapeControlCharacters(const std::string& text);

// The escaped name + " ", filled with dots to 30 characters when shorter.
std::string QXListingName(const std::string& name);
// A string value, escaped: quoted whole when at most 20 characters long;
// otherwise its first 15 characters and "..." quoted, then " - " and the
// number of characters the storage holds for it.
std::string QXListingText(const std::string& text, long long storedCharacters);
// Whether line i of count is written: all of them up to 400 entries, else
// the first 390 and the last nine, so that a listing never has more than 400
// lines (the "Skipping" line included).
bool QXListingShows(size_t i, size_t count);
// The line that stands for the entries a long listing leaves out:
// "Skipping " and their number, count - 399, then " entries.".
std::string QXListingSkipLine(size_t count);

// The lines of a listing, one per index entry in file order (by the entries'
// location), each made by describe(name, entry) and ended by a line feed.
// Only the lines written are described, so a long listing reads no values
// for the stretch it leaves out. Line is the storage's (pos, description) pair.
template <class Line, class Entry, class Describe>
std::string QXListingLines(const QXStorageIndex<Entry>& index, Describe describe) {
  struct Item {
    long location;
    std::string_view name;
    const Entry* entry;
  };
  std::vector<Item> inFileOrder;
  inFileOrder.reserve(static_cast<size_t>(index.Count()));
  index.ForEach([&](std::string_view name, const Entry& entry) {
    inFileOrder.push_back({entry.location, name, &entry});
  });
  std::sort(inFileOrder.begin(), inFileOrder.end(),
            [](const Item& a, const Item& b) { return a.location < b.location; });
  const size_t count = inFileOrder.size();
  std::vector<Line> lines;
  for (size_t i = 0; i < count; i++) {
    const Item& item = inFileOrder[i];
    if (QXListingShows(i, count))
      lines.push_back({item.location, describe(std::string(item.name), *item.entry)});
    else if (i > 0 && QXListingShows(i - 1, count))  // the first entry left out
      lines.push_back({item.location, QXListingSkipLine(count)});
  }
  std::string text;
  for (const Line& line : lines) text += line.description + "\n";
  return text;
}

#endif
