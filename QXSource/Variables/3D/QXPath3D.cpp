#include "QXPath3D.h"

#include "QXLoopArrayInternal.h"
#include "QXPointCollectionInternal.h"

namespace {

// rows, least, segmentRows, closedCountsOnce, lengthNamesColumn, operation, shape
const QXLoopArrayType kPath = {
    3, 2, 6, true, false, "QXPath(Array)", "Invalid size of path array."};
const QXLoopArrayType kValuedPath = {
    4, 1, 0, true, false, "QXPath3DValues(Array)", "Need four rows"};

}  // namespace

QXPath3D::QXPath3D(const QXFloatArray& A) { SetStorage(A); }

QXPath3D::QXPath3D(const QXFloatArray& A, QXRegion3D cropBox) {
  if (SetStorage(A)) this->cropBox = cropBox;
}

bool QXPath3D::SetStorage(const QXFloatArray& A) {
  return QXSetPathStorage(A, kPath, data, cropBox);
}

QXPath3DValues::QXPath3DValues(const QXDoubleArray& A) {
  if (QXAcceptLoopArray(A, kValuedPath)) data = A;
}

QXRegion3D BoundingBox(const QXPath3D& path) {
  return QXBox3DOf(QXLoopExtremes<3>(path.Data(), kPath));
}

QXRegion3D BoundingBox(const QXPath3DValues& path) {
  return QXBox3DOf(QXLoopExtremes<4>(path.Data(), kValuedPath));
}

QXRegion1D ValueRange(const QXPath3DValues& path) {
  return QXRangeOf(QXLoopExtremes<4>(path.Data(), kValuedPath), 3);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPath3D& path) {
  QXWritePath(storage, name, path);
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPath3DValues& path) {
  WriteToFile(storage, name, path.Data());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPath3D& path) {
  QXReadPath<float, QXRegion3D>(storage, name, path);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPath3DValues& path) {
  QXReadRecordCollection<QXDoubleArray>(storage, name, path);
}
