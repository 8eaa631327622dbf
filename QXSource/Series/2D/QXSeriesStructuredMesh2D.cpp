#include "QXSeriesStructuredMesh2D.h"

#include <utility>

QXSeriesStructuredMesh2D::QXSeriesStructuredMesh2D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "StructuredMesh2D") {}

void QXSeriesStructuredMesh2D::Add(QXStructuredMesh2D mesh, double time) {
  auto write = [&](QXDataStorage& storage, const std::string& entry) {
    const std::string gridName = entry + "_g";
    const QXStructuredGrid2D grid = mesh.Grid();
    if (!lastGrid.IsEmpty() && grid == lastGrid) {
      storage.Save(nameForLastGrid, gridName);
    } else {
      WriteToFile(storage, gridName, grid);
      lastGrid = grid;
      nameForLastGrid = gridName;
    }
    WriteToFile(storage, entry, mesh);
  };
  if (!SaveWith(time, write)) return;
  AddToBBox(BoundingBox(mesh));
  AddToValueRange(ValueRange(mesh));
}

QXStructuredMesh2D QXSeriesStructuredMesh2D::Get(double time) const {
  return ReadValue<QXStructuredMesh2D>(time);
}
