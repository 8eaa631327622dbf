#include "QXSeriesPoint.h"

#include <utility>

#include "QXRegion.h"

QXSeriesPoint2D::QXSeriesPoint2D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Point2D") {}

void QXSeriesPoint2D::Add(QXPoint2D point, double time) {
  if (SaveValue(point, time)) AddToBBox(QXRegion2D(point, point));
}

QXPoint2D QXSeriesPoint2D::Get(double time) const { return ReadValue<QXPoint2D>(time); }

QXSeriesPoint2DValue::QXSeriesPoint2DValue(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Point2DValue") {}

void QXSeriesPoint2DValue::Add(QXPoint2DValue point, double time) {
  if (!SaveValue(point, time)) return;
  QXPoint2D place(point.x, point.y);
  AddToBBox(QXRegion2D(place, place));
  AddToValueRange(QXRegion1D(point.v, point.v));
}

QXPoint2DValue QXSeriesPoint2DValue::Get(double time) const {
  return ReadValue<QXPoint2DValue>(time);
}

QXSeriesPoint3D::QXSeriesPoint3D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Point3D") {}

void QXSeriesPoint3D::Add(QXPoint3D point, double time) {
  if (SaveValue(point, time)) AddToBBox(QXRegion3D(point, point));
}

QXPoint3D QXSeriesPoint3D::Get(double time) const { return ReadValue<QXPoint3D>(time); }

QXSeriesPoint3DValue::QXSeriesPoint3DValue(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Point3DValue") {}

void QXSeriesPoint3DValue::Add(QXPoint3DValue point, double time) {
  if (!SaveValue(point, time)) return;
  QXPoint3D place(point.x, point.y, point.z);
  AddToBBox(QXRegion3D(place, place));
  AddToValueRange(QXRegion1D(point.v, point.v));
}

QXPoint3DValue QXSeriesPoint3DValue::Get(double time) const {
  return ReadValue<QXPoint3DValue>(time);
}
