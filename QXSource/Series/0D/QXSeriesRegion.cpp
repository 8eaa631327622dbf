#include "QXSeriesRegion.h"

#include <utility>

QXSeriesRegion1D::QXSeriesRegion1D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Region1D") {}

void QXSeriesRegion1D::Add(QXRegion1D region, double time) { SaveValue(region, time); }

QXRegion1D QXSeriesRegion1D::Get(double time) const { return ReadValue<QXRegion1D>(time); }

QXSeriesRegion2D::QXSeriesRegion2D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Region2D") {}

void QXSeriesRegion2D::Add(QXRegion2D region, double time) {
  if (SaveValue(region, time)) AddToBBox(region);
}

QXRegion2D QXSeriesRegion2D::Get(double time) const { return ReadValue<QXRegion2D>(time); }

QXSeriesRegion3D::QXSeriesRegion3D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Region3D") {}

void QXSeriesRegion3D::Add(QXRegion3D region, double time) {
  if (SaveValue(region, time)) AddToBBox(region);
}

QXRegion3D QXSeriesRegion3D::Get(double time) const { return ReadValue<QXRegion3D>(time); }
