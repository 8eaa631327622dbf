// Series of triangulated surfaces in space. Each surface adds its box to the
// series' bounding box.
//
//   QXSeriesSurface3D front(file, "Front");
//   front.Add(QXSurface3D(connections, points), 0.0);
//
// See QXSeries.h for the entries and the time rules. Get of a time with no
// value gives the empty surface.
#ifndef QXSERIESSURFACE3D_H
#define QXSERIESSURFACE3D_H

#include <string>

#include "QXSeries.h"
#include "QXSurface3D.h"

class QXSeriesSurface3D : public QXSeries {
 public:
  QXSeriesSurface3D(QXDataStorage& storage, std::string name);
  void Add(QXSurface3D surface, double time);
  QXSurface3D Get(double time) const;
};

#endif
