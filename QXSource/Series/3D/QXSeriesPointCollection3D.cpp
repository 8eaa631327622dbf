#include "QXSeriesPointCollection3D.h"

#include <utility>

QXSeriesPointCollection3D::QXSeriesPointCollection3D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "PointCollection3D") {}

void QXSeriesPointCollection3D::Add(QXPointCollection3D collection, double time) {
  if (SaveValue(collection, time)) AddToBBox(BoundingBox(collection));
}

QXPointCollection3D QXSeriesPointCollection3D::Get(double time) const {
  return ReadValue<QXPointCollection3D>(time);
}
