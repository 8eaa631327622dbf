#include "QXShiftScale.h"

#include "QXConversionTemplatesInternal.h"
#include "QXVariableStorageInternal.h"

void WriteToFile(QXDataStorage& storage, std::string name, const QXShiftScale2D& t) {
  QXSaveColumn<double>(storage, name, {t.shift.x, t.shift.y, t.scaleX, t.scaleY});
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXShiftScale3D& t) {
  QXSaveColumn<double>(storage, name, {t.shift.x, t.shift.y, t.shift.z, t.scaleX, t.scaleY, t.scaleZ});
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXShiftScale2D& t) {
  QXDoubleArray a;
  t = QXReadExactLength(storage, name, 4, "QXShiftScale2D", a)
          ? QXShiftScale2D(QXPoint2D(a(0), a(1)), a(2), a(3))
          : QXShiftScale2D();
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXShiftScale3D& t) {
  QXDoubleArray a;
  if (!QXReadExactLength(storage, name, 6, "QXShiftScale3D", a)) {
    t = QXShiftScale3D();
    return;
  }
  const QXPoint3D shift(QXRoundToFloat(a(0)), QXRoundToFloat(a(1)), QXRoundToFloat(a(2)));
  t = QXShiftScale3D(shift, a(3), a(4), a(5));
}
