// Series of point collections in space. Each collection adds its box to the
// series' bounding box.
//
//   QXSeriesPointCollection3D atoms(file, "Atoms");
//   atoms.Add(QXPointCollection3D(points), 0.0);
//
// See QXSeries.h for the entries and the time rules. Get of a time with no
// value gives the empty collection.
#ifndef QXSERIESPOINTCOLLECTION3D_H
#define QXSERIESPOINTCOLLECTION3D_H

#include <string>

#include "QXPointCollection3D.h"
#include "QXSeries.h"

class QXSeriesPointCollection3D : public QXSeries {
 public:
  QXSeriesPointCollection3D(QXDataStorage& storage, std::string name);
  void Add(QXPointCollection3D collection, double time);
  QXPointCollection3D Get(double time) const;
};

#endif
