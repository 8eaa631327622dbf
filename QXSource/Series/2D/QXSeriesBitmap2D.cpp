#include "QXSeriesBitmap2D.h"

#include <utility>

QXSeriesBitmap2D::QXSeriesBitmap2D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Bitmap2D") {}

void QXSeriesBitmap2D::Add(QXBitmap2D bitmap, double time) {
  if (SaveValue(bitmap, time)) AddToBBox(BoundingBox(bitmap));
}

QXBitmap2D QXSeriesBitmap2D::Get(double time) const { return ReadValue<QXBitmap2D>(time); }
