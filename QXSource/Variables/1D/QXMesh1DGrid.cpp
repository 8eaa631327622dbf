#include "QXMesh1DGrid.h"

#include "QXError.h"
#include "QXGridInternal.h"
#include "QXVariableStorageInternal.h"

namespace {

const char* const kReadOperation = "ReadFromArray(QXMesh1DGrid)";
const char* const kIncorrectSize = "Incorrect size array.";

}  // namespace

QXMesh1DGrid::QXMesh1DGrid() : _m(0), _origin(0), _h(1) {}

QXMesh1DGrid::QXMesh1DGrid(double origin, double h, int m) : QXMesh1DGrid() {
  if (m < 0) {
    QXErrorMessage("QXMeshGrid(origin,h,m)", "One of the size is negative.");
    return;
  }
  if (!QXIsPositiveStep(h)) {
    QXErrorMessage("QXMeshGrid(origin,h,m)", "The step size is negative.");
    return;
  }
  _m = m;
  _origin = origin;
  _h = h;
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXMesh1DGrid& grid) {
  const std::string sizeName = name + "_size";
  if (grid.m() != 0)
    QXSaveColumn<int>(storage, sizeName, {grid.m()});
  else
    QXClearCompanion(storage, sizeName);
  QXSaveColumn<double>(storage, name, {grid.Origin(), grid.h()});
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXMesh1DGrid& grid) {
  grid = QXMesh1DGrid();
  QXDoubleArray numbers;
  ReadFromFile(storage, name, numbers);
  if (numbers.Length() != 2) {
    QXErrorMessage(kReadOperation, kIncorrectSize);
    return;
  }
  int m = 0;
  const std::string sizeName = name + "_size";
  if (storage.Contains(sizeName)) {
    QXIntArray size;
    ReadFromFile(storage, sizeName, size);
    if (size.Length() == 1) {
      m = size(0);
    } else if (size.NotEmpty()) {
      QXErrorMessage(kReadOperation, kIncorrectSize);
      return;
    }
  }
  grid = QXMesh1DGrid(numbers(0), numbers(1), m);
}
