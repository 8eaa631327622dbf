#include "QXStringList.h"

#include <climits>
#include <cstring>

#include "QXError.h"

namespace {

bool IsColumn(const QXCharArray& A) { return A.n() == 1 && A.o() == 1; }
bool IsColumn(const QXIntArray& A) { return A.n() == 1 && A.o() == 1; }

// The message for offsets that do not fit the characters, or null.
const char* OffsetFault(const int* offsets, int count, int characters) {
  for (int i = 0; i < count; i++)
    if (offsets[i] < 0 || offsets[i] >= characters) return "One of the offsets is out of range.";
  for (int i = 1; i < count; i++)
    if (offsets[i] < offsets[i - 1]) return "The offsets need to be increasing.";
  return nullptr;
}

}  // namespace

QXStringList::QXStringList(const QXCharArray& characters, const QXIntArray& offsets) {
  const char* operation = "QXStringList(characters,offsets)";
  if (characters.IsEmpty() && offsets.IsEmpty()) return;
  if (!IsColumn(characters) || !IsColumn(offsets)) {
    QXErrorMessage(operation, "Invalid array sizes.");
    return;
  }
  if (const char* fault = OffsetFault(offsets.Pointer(), offsets.Length(), characters.Length())) {
    QXErrorMessage(operation, fault);
    return;
  }
  this->characters = characters;
  this->offsets = offsets;
}

QXStringList::QXStringList(const QXList<std::string>& list) {
  const int count = list.Length();
  size_t total = 0;
  for (int i = 0; i < count; i++) total += list(i).size() + 1;
  if (total > static_cast<size_t>(INT_MAX)) {
    QXErrorMessage("QXStringList(list)", "The strings are too long to pack.");
    return;
  }
  QXMutableCharArray packed(static_cast<int>(total), 1, 1);
  QXMutableIntArray starts(count, 1, 1);
  if (packed.Length() != static_cast<int>(total) || starts.Length() != count) return;  // reported
  int pos = 0;
  for (int i = 0; i < count; i++) {
    const std::string text = list(i);
    starts(i) = pos;
    std::memcpy(packed.Pointer() + pos, text.data(), text.size());
    packed(pos + static_cast<int>(text.size())) = 0;
    pos += static_cast<int>(text.size()) + 1;
  }
  characters = packed;
  offsets = starts;
}

std::string QXStringList::SingleEntry(int i) const {
  const int count = NumberOfStrings();
  const int length = characters.Length();
  const int* starts = offsets.Pointer();
  // The offsets were checked when the list was made, but a mutable handle
  // on them may have changed them since.
  const bool inList = i >= 0 && i < count;
  const int start = inList ? starts[i] : 0;
  const int end = inList && i + 1 < count ? starts[i + 1] : length;
  if (!inList || start < 0 || start > end || end > length) {
    QXErrorMessage("QXStringList::SingleEntry", "Out of bounds.");
    return std::string();
  }
  const char* text = reinterpret_cast<const char*>(characters.Pointer()) + start;
  const int size = end - start;
  return std::string(text, size > 0 && text[size - 1] == 0 ? size - 1 : size);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXStringList& list) {
  storage.Save(list.Offsets(), name + "_offs");
  storage.Save(list.Characters(), name);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXStringList& list) {
  const QXIntArray offsets = storage.ReadIntArray(name + "_offs");
  list = QXStringList(storage.ReadCharArray(name), offsets);
}
