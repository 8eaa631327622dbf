#include "QXSaveError.h"

#include <climits>
#include <cstring>
#include <vector>

#include "QXError.h"

void QXSaveError(QXDataStorage& output, std::string name) {
  // A copy: other threads may report while the messages are packed.
  const std::vector<std::string> messages = QXErrorListSnapshot();
  // The packed size must fit the arrays' int sizes: messages beyond that are
  // left out rather than overflowing the count.
  size_t count = 0;
  size_t totalLength = 0;
  for (const std::string& message : messages) {
    if (message.size() + 1 > static_cast<size_t>(INT_MAX) - totalLength) break;
    totalLength += message.size() + 1;
    count++;
  }
  QXMutableUCharArray characters(static_cast<int>(totalLength), 1, 1);
  QXMutableIntArray offsets(static_cast<int>(count), 1, 1);
  if (characters.Length() != static_cast<int>(totalLength) ||
      offsets.Length() != static_cast<int>(count)) {
    // Out of memory, reported by the arrays: hand over an empty list.
    count = 0;
    characters = QXMutableUCharArray();
    offsets = QXMutableIntArray();
  }
  unsigned char* text = characters.Pointer();
  int* starts = offsets.Pointer();
  size_t pos = 0;
  for (size_t i = 0; i < count; i++) {
    const std::string& message = messages[i];
    std::memcpy(text + pos, message.data(), message.size());
    text[pos + message.size()] = 0;
    starts[i] = static_cast<int>(pos);
    pos += message.size() + 1;
  }
  output.Save(offsets, name + "_offs");
  output.Save(characters, name);
}
