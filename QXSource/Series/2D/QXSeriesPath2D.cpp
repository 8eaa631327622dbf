#include "QXSeriesPath2D.h"

#include <utility>

QXSeriesPath2D::QXSeriesPath2D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Path2D") {}

void QXSeriesPath2D::Add(QXPath2D path, double time) {
  if (SaveValue(path, time)) AddToBBox(BoundingBox(path));
}

QXPath2D QXSeriesPath2D::Get(double time) const { return ReadValue<QXPath2D>(time); }

QXSeriesPath2DValues::QXSeriesPath2DValues(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Path2DValues") {}

void QXSeriesPath2DValues::Add(QXPath2DValues path, double time) {
  if (!SaveValue(path, time)) return;
  AddToBBox(BoundingBox(path));
  AddToValueRange(ValueRange(path));
}

QXPath2DValues QXSeriesPath2DValues::Get(double time) const {
  return ReadValue<QXPath2DValues>(time);
}
