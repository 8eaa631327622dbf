#include "QXPoint.h"

#include "QXConversionTemplatesInternal.h"
#include "QXFloatArray.h"
#include "QXVariableStorageInternal.h"

void WriteToFile(QXDataStorage& storage, std::string name, const QXPoint2D& p) {
  QXSaveColumn<double>(storage, name, {p.x, p.y});
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPoint2DValue& p) {
  QXSaveColumn<double>(storage, name, {p.x, p.y, p.v});
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPoint3D& p) {
  QXSaveColumn<float>(storage, name, {p.x, p.y, p.z});
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPoint3DValue& p) {
  QXSaveColumn<double>(storage, name, {p.x, p.y, p.z, p.v});
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXVector3D& v) {
  QXSaveColumn<float>(storage, name, {v.x, v.y, v.z});
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPoint2D& p) {
  QXDoubleArray a;
  p = QXReadExactLength(storage, name, 2, "QXPoint2D", a) ? QXPoint2D(a(0), a(1)) : QXPoint2D();
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPoint2DValue& p) {
  QXDoubleArray a;
  p = QXReadExactLength(storage, name, 3, "QXPoint2DValue", a) ? QXPoint2DValue(a(0), a(1), a(2))
                                                               : QXPoint2DValue();
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPoint3D& p) {
  QXFloatArray a;
  p = QXReadExactLength(storage, name, 3, "QXPoint3D", a) ? QXPoint3D(a(0), a(1), a(2)) : QXPoint3D();
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPoint3DValue& p) {
  QXDoubleArray a;
  p = QXReadExactLength(storage, name, 4, "QXPoint3DValue", a)
          ? QXPoint3DValue(QXRoundToFloat(a(0)), QXRoundToFloat(a(1)), QXRoundToFloat(a(2)), a(3))
          : QXPoint3DValue();
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXVector3D& v) {
  QXFloatArray a;
  v = QXReadExactLength(storage, name, 3, "QXVector3D", a) ? QXVector3D(a(0), a(1), a(2)) : QXVector3D();
}
