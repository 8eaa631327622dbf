#include "QXSeriesPlot1D.h"

#include <utility>

QXSeriesPlot1D::QXSeriesPlot1D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "Plot1D") {}

void QXSeriesPlot1D::Add(QXPlot1D plot, double time) { SaveValue(plot, time); }

QXPlot1D QXSeriesPlot1D::Get(double time) const { return ReadValue<QXPlot1D>(time); }
