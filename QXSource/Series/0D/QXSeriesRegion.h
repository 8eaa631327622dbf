// Series of regions: intervals, rectangles and boxes. A rectangle or box
// adds itself to the series' bounding box; an interval adds no summary.
//
//   QXSeriesRegion2D window(file, "Window");
//   window.Add(QXRegion2D(QXPoint2D(0, 0), QXPoint2D(4, 3)), 0.0);
//
// See QXSeries.h for the entries and the time rules. Get of a time with no
// value gives the empty region.
#ifndef QXSERIESREGION_H
#define QXSERIESREGION_H

#include <string>

#include "QXRegion.h"
#include "QXSeries.h"

class QXSeriesRegion1D : public QXSeries {
 public:
  QXSeriesRegion1D(QXDataStorage& storage, std::string name);
  void Add(QXRegion1D region, double time);
  QXRegion1D Get(double time) const;
};

class QXSeriesRegion2D : public QXSeries {
 public:
  QXSeriesRegion2D(QXDataStorage& storage, std::string name);
  void Add(QXRegion2D region, double time);
  QXRegion2D Get(double time) const;
};

class QXSeriesRegion3D : public QXSeries {
 public:
  QXSeriesRegion3D(QXDataStorage& storage, std::string name);
  void Add(QXRegion3D region, double time);
  QXRegion3D Get(double time) const;
};

#endif
