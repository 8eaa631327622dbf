#include "QXSeriesPointCollection2D.h"

#include <utility>

QXSeriesPointCollection2D::QXSeriesPointCollection2D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "PointCollection2D") {}

void QXSeriesPointCollection2D::Add(QXPointCollection2D collection, double time) {
  if (SaveValue(collection, time)) AddToBBox(BoundingBox(collection));
}

QXPointCollection2D QXSeriesPointCollection2D::Get(double time) const {
  return ReadValue<QXPointCollection2D>(time);
}
