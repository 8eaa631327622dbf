// Series of 1D plots (x, y curves). A plot adds no summary.
//
//   QXSeriesPlot1D profile(file, "Profile");
//   profile.Add(QXPlot1D(xs, ys), 0.0);
//
// See QXSeries.h for the entries and the time rules. Get of a time with no
// value gives the empty plot.
#ifndef QXSERIESPLOT1D_H
#define QXSERIESPLOT1D_H

#include <string>

#include "QXPlot1D.h"
#include "QXSeries.h"

class QXSeriesPlot1D : public QXSeries {
 public:
  QXSeriesPlot1D(QXDataStorage& storage, std::string name);
  void Add(QXPlot1D plot, double time);
  QXPlot1D Get(double time) const;
};

#endif
