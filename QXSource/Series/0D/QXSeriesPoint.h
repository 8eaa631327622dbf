// Series of single points, in the plane or in space, with or without a
// value. Each point adds itself to the series' bounding box; a point with a
// value adds the value to the value range.
//
//   QXSeriesPoint2D probe(file, "Probe");
//   probe.Add(QXPoint2D(0.5, 1), 0.0);
//   QXPoint2D where = probe.Get(0.0);
//
// See QXSeries.h for the entries and the time rules. Get of a time with no
// value gives the zero point.
#ifndef QXSERIESPOINT_H
#define QXSERIESPOINT_H

#include <string>

#include "QXPoint.h"
#include "QXSeries.h"

class QXSeriesPoint2D : public QXSeries {
 public:
  QXSeriesPoint2D(QXDataStorage& storage, std::string name);
  void Add(QXPoint2D point, double time);
  QXPoint2D Get(double time) const;
};

class QXSeriesPoint2DValue : public QXSeries {
 public:
  QXSeriesPoint2DValue(QXDataStorage& storage, std::string name);
  void Add(QXPoint2DValue point, double time);
  QXPoint2DValue Get(double time) const;
};

class QXSeriesPoint3D : public QXSeries {
 public:
  QXSeriesPoint3D(QXDataStorage& storage, std::string name);
  void Add(QXPoint3D point, double time);
  QXPoint3D Get(double time) const;
};

class QXSeriesPoint3DValue : public QXSeries {
 public:
  QXSeriesPoint3DValue(QXDataStorage& storage, std::string name);
  void Add(QXPoint3DValue point, double time);
  QXPoint3DValue Get(double time) const;
};

#endif
