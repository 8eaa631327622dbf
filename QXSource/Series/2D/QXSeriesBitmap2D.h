// Series of bitmaps. Each bitmap adds the box of its grid to the series'
// bounding box.
//
//   QXSeriesBitmap2D frames(file, "Frames");
//   frames.Add(QXBitmap2D(gray, grid), 0.0);
//
// See QXSeries.h for the entries and the time rules. Get of a time with no
// value gives the empty bitmap.
#ifndef QXSERIESBITMAP2D_H
#define QXSERIESBITMAP2D_H

#include <string>

#include "QXBitmap2D.h"
#include "QXSeries.h"

class QXSeriesBitmap2D : public QXSeries {
 public:
  QXSeriesBitmap2D(QXDataStorage& storage, std::string name);
  void Add(QXBitmap2D bitmap, double time);
  QXBitmap2D Get(double time) const;
};

#endif
