#include "QXSeriesSurface3D.h"

#include <utility>

QXSeriesSurface3D::QXSeriesSurface3D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Surface3D") {}

void QXSeriesSurface3D::Add(QXSurface3D surface, double time) {
  if (SaveValue(surface, time)) AddToBBox(BoundingBox(surface));
}

QXSurface3D QXSeriesSurface3D::Get(double time) const { return ReadValue<QXSurface3D>(time); }
