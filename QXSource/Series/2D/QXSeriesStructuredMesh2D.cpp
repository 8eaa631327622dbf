#include "QXSeriesStructuredMesh2D.h"

#include <utility>

QXSeriesStructuredMesh2D::QXSeriesStructuredMesh2D(QXDataStorage& storage, std::string name)
    : QXSeries(storage, std::move(name), "StructuredMesh2D") {}

void QXSeriesStructuredMesh2D::Add(QXStructuredMesh2D mesh, double time) {
  const QXStructuredGrid2D grid = mesh.Grid();
  const bool sameGrid = !lastGrid.IsEmpty() && grid == lastGrid;
  auto write = [&](QXDataStorage& storage, const std::string& entry) {
    if (sameGrid)
      storage.Save(nameForLastGrid, entry + "_g");
    else
      WriteToFile(storage, entry + "_g", grid);
    WriteToFile(storage, entry, mesh);
  };
  if (!SaveWith(time, write)) return;
  // Only a grid that was saved can be referred to later.
  if (!sameGrid) {
    lastGrid = grid;
    nameForLastGrid = baseName() + "_g";
  }
  AddToBBox(BoundingBox(mesh));
  AddToValueRange(ValueRange(mesh));
}

QXStructuredMesh2D QXSeriesStructuredMesh2D::Get(double time) const {
  return ReadValue<QXStructuredMesh2D>(time);
}
