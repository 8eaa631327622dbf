#include "QXMesh2D.h"

#include <cstring>
#include <string>
#include <type_traits>

#include "QXArrayConversion.h"
#include "QXError.h"
#include "QXGridInternal.h"
#include "QXRegularGridInternal.h"

namespace {

const char* const kBuildOperation = "QXMesh(Array,Grid)";
const char* const kReadOperation = "ReadFromFile(QXMesh2D)";

// A mask box larger than this, holding far more points than the stored
// values, is not expanded by the reader.
constexpr long long kLargestClaimedBox = 1LL << 28;
constexpr long long kLargestSpread = 16;

// A column holding one value for every point of the grid's mask.
template <class T>
bool FillsTheMask(const QXArray<T>& values, const QXMesh2DGrid& grid) {
  return values.n() == 1 && values.o() == 1 && grid.MaskDefined() &&
         grid.Mask().NumberOfPoints() == values.m();
}

// The column spread over the grid's m x n points: value k at the k-th point
// of the mask, 0 elsewhere. Each run moves as one block, clipped to what is
// left of the column. Empty when the allocation failed (reported).
template <class T>
QXMutableArray<T> Expanded(const QXArray<T>& column, const QXMesh2DGrid& grid) {
  QXMutableArray<T> full(grid.m(), grid.n(), 1);
  if (full.Length() != QXBoxSize(grid.m(), grid.n(), 1)) return QXMutableArray<T>();
  T* to = full.Pointer();
  std::memset(to, 0, sizeof(T) * static_cast<size_t>(full.Length()));
  const T* from = column.Pointer();
  const int available = column.Length();
  int taken = 0;
  QXForEachRun(grid.Mask(), [&](int start, int end) {
    const int wanted = end - start + 1;
    const int count = wanted < available - taken ? wanted : available - taken;
    if (count <= 0) return;
    std::memcpy(to + start, from + taken, sizeof(T) * static_cast<size_t>(count));
    taken += count;
  });
  return full;
}

}  // namespace

QXMesh2D::QXMesh2D() : grid(), floatData(), doubleData() {}

QXMesh2D::QXMesh2D(const QXDoubleArray& values, QXMesh2DGrid grid) : QXMesh2D() {
  Build(values, grid);
}

QXMesh2D::QXMesh2D(const QXFloatArray& values, QXMesh2DGrid grid) : QXMesh2D() {
  Build(values, grid);
}

template <class T>
void QXMesh2D::Build(const QXArray<T>& values, QXMesh2DGrid onGrid) {
  if (values.IsEmpty()) return;
  if (values.o() != 1) {
    QXErrorMessage(kBuildOperation, "Array is three dimensional.");
    return;
  }
  QXArray<T> data = values;
  bool expanded = false;
  if constexpr (std::is_same_v<T, double>) {
    if (FillsTheMask(values, onGrid)) {
      data = Expanded(values, onGrid);
      if (data.IsEmpty()) return;
      expanded = true;
    }
  }
  const bool sameSize = onGrid.m() == data.m() && onGrid.n() == data.n();
  if (!expanded && !sameSize && onGrid.m() != 0)
    QXWarningMessage(kBuildOperation, "Grid size is incompatible.");
  grid = sameSize ? onGrid : ChangeSize(onGrid, data.m(), data.n());
  Keep(data);
}

int QXMesh2D::m() const { return DoublePrecision() ? doubleData.m() : floatData.m(); }
int QXMesh2D::n() const { return DoublePrecision() ? doubleData.n() : floatData.n(); }

void QXMesh2D::pinfo() const { grid.pinfo(); }

QXMesh2D ConvertToFloat(const QXMesh2D& mesh) {
  if (!mesh.DoublePrecision()) return mesh;
  return QXMesh2D(ConvertToFloat(mesh.DoubleData()), mesh.Grid());
}

QXMesh2D ConvertToDouble(const QXMesh2D& mesh) {
  if (!mesh.FloatPrecision()) return mesh;
  return QXMesh2D(ConvertToDouble(mesh.FloatData()), mesh.Grid());
}

QXRegion2D BoundingBox(const QXMesh2D& mesh) { return BoundingBox(mesh.Grid()); }

QXRegion1D ValueRange(const QXMesh2D& mesh) {
  return mesh.DoublePrecision() ? ValueRange(mesh.DoubleData()) : ValueRange(mesh.FloatData());
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXMesh2D& mesh) {
  QXWriteMeshCompanions(storage, name, mesh.Grid());
  if (mesh.DoublePrecision())
    storage.Save(mesh.DoubleData(), name);
  else
    storage.Save(mesh.FloatData(), name);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXMesh2D& mesh) {
  mesh = QXMesh2D();
  QXDoubleArray doubles;
  QXFloatArray floats;
  if (storage.SavedAsDouble(name))
    ReadFromFile(storage, name, doubles);
  else
    ReadFromFile(storage, name, floats);
  const int m = doubles.NotEmpty() ? doubles.m() : floats.m();
  const int n = doubles.NotEmpty() ? doubles.n() : floats.n();
  if (doubles.o() >= 2 || floats.o() >= 2) {
    QXErrorMessage(kReadOperation, "Can not read a three dimensional array.");
    return;
  }
  const QXMesh2DGrid grid = QXReadMeshGrid<QXMesh2DGrid>(storage, name, m, n);
  if (FillsTheMask(doubles, grid)) {
    const long long box = QXBoxSize(grid.m(), grid.n(), 1);
    if (box > kLargestClaimedBox && box > kLargestSpread * doubles.Length()) {
      QXErrorMessage(kReadOperation, "The mask's box of " + std::to_string(box) +
                                         " points is too large for the " +
                                         std::to_string(doubles.Length()) + " values stored.");
      return;
    }
  }
  mesh = floats.NotEmpty() ? QXMesh2D(floats, grid) : QXMesh2D(doubles, grid);
}
