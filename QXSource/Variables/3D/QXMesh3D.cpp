#include "QXMesh3D.h"

#include "QXError.h"
#include "QXRegularGridInternal.h"

QXMesh3D::QXMesh3D() : grid(), data() {}

QXMesh3D::QXMesh3D(const QXFloatArray& values, QXMesh3DGrid grid) : QXMesh3D() {
  if (values.IsEmpty()) return;
  const bool sameSize = grid.m() == values.m() && grid.n() == values.n() && grid.o() == values.o();
  if (!sameSize && grid.m() != 0)
    QXWarningMessage("QXMesh3D(Array,Grid)", "Grid size is incompatible.");
  this->grid = sameSize ? grid : ChangeSize(grid, values.m(), values.n(), values.o());
  data = values;
}

QXRegion3D BoundingBox(const QXMesh3D& mesh) { return BoundingBox(mesh.Grid()); }

QXRegion1D ValueRange(const QXMesh3D& mesh) { return ValueRange(mesh.Data()); }

void WriteToFile(QXDataStorage& storage, std::string name, const QXMesh3D& mesh) {
  QXWriteMeshCompanions(storage, name, mesh.Grid());
  storage.Save(mesh.Data(), name);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXMesh3D& mesh) {
  mesh = QXMesh3D();
  QXFloatArray values;
  ReadFromFile(storage, name, values);
  if (values.IsEmpty()) return;
  mesh = QXMesh3D(values,
                  QXReadMeshGrid<QXMesh3DGrid>(storage, name, values.m(), values.n(), values.o()));
}
