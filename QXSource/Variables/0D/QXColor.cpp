#include "QXColor.h"

#include "QXError.h"

void WriteToFile(QXDataStorage& storage, std::string name, const QXColor& color) {
  QXMutableFloatArray stored(5, 1, 1);
  if (stored.Length() != 5) return;  // out of memory, reported by the array
  stored(0) = 1;
  stored(1) = color.Red();
  stored(2) = color.Green();
  stored(3) = color.Blue();
  stored(4) = color.Alpha();
  storage.Save(stored, name);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXColor& color) {
  const QXFloatArray stored = storage.ReadFloatArray(name);
  if (stored.Length() != 5) {
    QXErrorMessage("ReadFromFile(File,Name,Color)", "Invalid array length");
    color = QXColor();
    return;
  }
  color = QXColor(stored(1), stored(2), stored(3), stored(4));
}
