// The parts of a file storage's pinfo() listing that the Matlab and the
// binary data file share: the dotted name column, the form of string values
// and the choice of lines for long listings.
#ifndef QXSTORAGELISTING_H
#define QXSTORAGELISTING_H

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <string>
#include <vector>

#include "QXStorageInternal.h"

// name + " ", filled with dots to 30 characters when shorter.
std::string QXListingName(const std::string& name);
// A string value: quoted whole when at most 20 characters long; otherwise
// its first 15 characters and "..." quoted, then " - " and the number of
// characters the storage holds for it.
std::string QXListingText(const std::string& text, long long storedCharacters);
// Whether line i of count is written: all of them below 400 entries, else
// the first 390 and the last nine.
bool QXListingShows(size_t i, size_t count);
// The line that stands for the entries a long listing leaves out.
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
    else if (QXListingShows(i - 1, count))  // the first entry left out
      lines.push_back({item.location, QXListingSkipLine(count)});
  }
  std::string text;
  for (const Line& line : lines) text += line.description + "\n";
  return text;
}

#endif
