// Series of plain values: a number, a string, or a double array per time.
// QXSeriesArray and QXSeriesNumberList behave alike and differ only in the
// type string they record, "Array" and "NumberList".
//
//   QXSeriesRealNumber energy(file, "Energy");
//   energy.Add(1.5, 0.0);
//   double e = energy.Get(0.0);               // 1.5
//
// Each value is saved under S + "_" + k (see QXSeries.h for the rest of the
// series' entries). Numbers and arrays add to the value range (NaN ignored);
// strings add no summary. Get of a time with no value gives 0, the empty
// string or the empty array.
#ifndef QXSERIESREALNUMBER_H
#define QXSERIESREALNUMBER_H

#include <string>

#include "QXDoubleArray.h"
#include "QXSeries.h"

class QXSeriesRealNumber : public QXSeries {
 public:
  QXSeriesRealNumber(QXDataStorage& storage, std::string name);
  void Add(double value, double time);
  double Get(double time) const;
};

class QXSeriesString : public QXSeries {
 public:
  QXSeriesString(QXDataStorage& storage, std::string name);
  void Add(std::string value, double time);
  std::string Get(double time) const;
};

class QXSeriesArray : public QXSeries {
 public:
  QXSeriesArray(QXDataStorage& storage, std::string name);
  void Add(const QXDoubleArray& value, double time);
  QXDoubleArray Get(double time) const;
};

class QXSeriesNumberList : public QXSeries {
 public:
  QXSeriesNumberList(QXDataStorage& storage, std::string name);
  void Add(const QXDoubleArray& value, double time);
  QXDoubleArray Get(double time) const;
};

#endif
