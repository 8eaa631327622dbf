#include "QXSeriesRealNumber.h"

#include <utility>

QXSeriesRealNumber::QXSeriesRealNumber(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "RealNumber") {}

void QXSeriesRealNumber::Add(double value, double time) {
  if (SaveValue(value, time)) AddToValueRange(QXRegion1D(value, value));
}

double QXSeriesRealNumber::Get(double time) const { return ReadValue<double>(time); }

QXSeriesString::QXSeriesString(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "String") {}

void QXSeriesString::Add(std::string value, double time) { SaveValue(value, time); }

std::string QXSeriesString::Get(double time) const { return ReadValue<std::string>(time); }

QXSeriesArray::QXSeriesArray(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Array") {}

void QXSeriesArray::Add(const QXDoubleArray& value, double time) {
  if (SaveValue(value, time)) AddToValueRange(ValueRange(value));
}

QXDoubleArray QXSeriesArray::Get(double time) const { return ReadValue<QXDoubleArray>(time); }

QXSeriesNumberList::QXSeriesNumberList(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "NumberList") {}

void QXSeriesNumberList::Add(const QXDoubleArray& value, double time) {
  if (SaveValue(value, time)) AddToValueRange(ValueRange(value));
}

QXDoubleArray QXSeriesNumberList::Get(double time) const { return ReadValue<QXDoubleArray>(time); }
