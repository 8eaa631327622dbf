// Series of paths in the plane, with or without a value per point. Each path
// adds its box to the series' bounding box; a path with values also adds
// them to the value range.
//
//   QXSeriesPath2D outline(file, "Outline");
//   outline.Add(QXPath2D(points), 0.0);          // points is 2 x N
//
// See QXSeries.h for the entries and the time rules. Get of a time with no
// value gives the empty path.
#ifndef QXSERIESPATH2D_H
#define QXSERIESPATH2D_H

#include <string>

#include "QXPath2D.h"
#include "QXSeries.h"

class QXSeriesPath2D : public QXSeries {
 public:
  QXSeriesPath2D(QXDataStorage& storage, std::string name);
  void Add(QXPath2D path, double time);
  QXPath2D Get(double time) const;
};

class QXSeriesPath2DValues : public QXSeries {
 public:
  QXSeriesPath2DValues(QXDataStorage& storage, std::string name);
  void Add(QXPath2DValues path, double time);
  QXPath2DValues Get(double time) const;
};

#endif
