// Series of point collections in the plane. Each collection adds its box to
// the series' bounding box.
//
//   QXSeriesPointCollection2D particles(file, "Particles");
//   particles.Add(QXPointCollection2D(points), 0.0);
//
// See QXSeries.h for the entries and the time rules. Get of a time with no
// value gives the empty collection.
#ifndef QXSERIESPOINTCOLLECTION2D_H
#define QXSERIESPOINTCOLLECTION2D_H

#include <string>

#include "QXPointCollection2D.h"
#include "QXSeries.h"

class QXSeriesPointCollection2D : public QXSeries {
 public:
  QXSeriesPointCollection2D(QXDataStorage& storage, std::string name);
  void Add(QXPointCollection2D collection, double time);
  QXPointCollection2D Get(double time) const;
};

#endif
