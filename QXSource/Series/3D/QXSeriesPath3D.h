// Series of paths in space, with or without a value per point. A path adds
// its box to the series' bounding box; a path with values adds only its
// values to the value range.
//
//   QXSeriesPath3D track(file, "Track");
//   track.Add(QXPath3D(points), 0.0);             // points is 3 x N, float
//
// See QXSeries.h for the entries and the time rules. Get of a time with no
// value gives the empty path.
#ifndef QXSERIESPATH3D_H
#define QXSERIESPATH3D_H

#include <string>

#include "QXPath3D.h"
#include "QXSeries.h"

class QXSeriesPath3D : public QXSeries {
 public:
  QXSeriesPath3D(QXDataStorage& storage, std::string name);
  void Add(QXPath3D path, double time);
  QXPath3D Get(double time) const;
};

class QXSeriesPath3DValues : public QXSeries {
 public:
  QXSeriesPath3DValues(QXDataStorage& storage, std::string name);
  void Add(QXPath3DValues path, double time);
  QXPath3DValues Get(double time) const;
};

#endif
