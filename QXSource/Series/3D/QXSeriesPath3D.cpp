#include "QXSeriesPath3D.h"

#include <utility>

QXSeriesPath3D::QXSeriesPath3D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Path3D") {}

void QXSeriesPath3D::Add(QXPath3D path, double time) {
  if (SaveValue(path, time)) AddToBBox(BoundingBox(path));
}

QXPath3D QXSeriesPath3D::Get(double time) const { return ReadValue<QXPath3D>(time); }

QXSeriesPath3DValues::QXSeriesPath3DValues(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Path3DValues") {}

void QXSeriesPath3DValues::Add(QXPath3DValues path, double time) {
  if (SaveValue(path, time)) AddToValueRange(ValueRange(path));
}

QXPath3DValues QXSeriesPath3DValues::Get(double time) const {
  return ReadValue<QXPath3DValues>(time);
}
