#include "QXPointCollection3D.h"

#include "QXPointCollectionInternal.h"
#include "QXVariableStorageInternal.h"

namespace {

// The checks both atom constructors make first: 3 x N x 1 locations and an
// N x 1 column of types. Reports under the operation.
bool LocationsFitAtoms(const QXFloatArray& locations, const QXUCharArray& atoms,
                       const char* operation) {
  if (!QXHoldsRecords(locations, 3)) {
    QXErrorMessage(operation, "Location array needs to be a 3xN array.");
    return false;
  }
  if (atoms.m() != locations.n() || atoms.m() != atoms.Length()) {
    QXErrorMessage(operation, "Atom length needs to equal number of points.");
    return false;
  }
  return true;
}

// Every bond names one of the atoms.
bool BondsInside(const QXIntArray& bonds, int atoms) {
  const QXRegion1D range = ValueRange(bonds);
  return !range.isSet || (range.minV >= 0 && range.maxV < atoms);
}

bool ChargesFit(const QXFloatArray& charges, int atoms) {
  return charges.IsEmpty() || (charges.m() == charges.Length() && charges.Length() == atoms);
}

}  // namespace

QXPointCollection3D::QXPointCollection3D(const QXFloatArray& A) {
  if (QXCheckRecords(A, 3, "QXPointCollection3D(Array)", "Invalid size of array.")) data = A;
}

void QXPointCollection3D::pinfo() const { QXPrintCount(data.n(), " points\n"); }

QXPointValueCollection3D::QXPointValueCollection3D(const QXFloatArray& points,
                                                   const QXDoubleArray& values) {
  if (!QXCheckPointValues(points, values, 3, "QXPointValueCollection3D(Points,Values)")) return;
  this->points = points;
  this->values = values;
}

void QXPointValueCollection3D::pinfo() const { QXPrintCount(points.n(), " points + values\n"); }

QXAtomCollection3D::QXAtomCollection3D(const QXFloatArray& locations, const QXUCharArray& atoms) {
  if (locations.IsEmpty()) return;
  if (!LocationsFitAtoms(locations, atoms, "QXAtomCollection3D(locations,atoms)")) return;
  this->locations = locations;
  this->atoms = atoms;
}

QXAtomCollection3D::QXAtomCollection3D(const QXFloatArray& locations, const QXUCharArray& atoms,
                                       const QXIntArray& bonds, const QXFloatArray& charges) {
  const char* operation = "QXAtomCollection3D(locations,atoms,bonds,charges)";
  if (locations.IsEmpty()) return;
  if (!LocationsFitAtoms(locations, atoms, operation)) return;
  if (!BondsInside(bonds, atoms.Length())) {
    QXErrorMessage(operation, "Bonds are referring to atoms outside of list.");
    return;
  }
  if (!ChargesFit(charges, atoms.Length())) {
    QXErrorMessage(operation, "Invalid length of charge array.");
    return;
  }
  this->locations = locations;
  this->atoms = atoms;
  this->bonds = bonds;
  this->charges = charges;
}

void QXAtomCollection3D::pinfo() const { QXPrintCount(locations.n(), " atoms\n"); }

QXAtomCollection3D SetBonds(const QXAtomCollection3D& collection, const QXIntArray& bonds) {
  return QXAtomCollection3D(collection.Locations(), collection.Atoms(), bonds,
                            collection.Charges());
}

QXAtomCollection3D SetCharges(const QXAtomCollection3D& collection, const QXFloatArray& charges) {
  return QXAtomCollection3D(collection.Locations(), collection.Atoms(), collection.Bonds(),
                            charges);
}

QXRegion3D BoundingBox(const QXPointCollection3D& collection) {
  return BoundingBox3D(collection.Data());
}

QXRegion3D BoundingBox(const QXPointValueCollection3D& collection) {
  return BoundingBox3D(collection.Points());
}

QXRegion3D BoundingBox(const QXAtomCollection3D& collection) {
  return BoundingBox3D(collection.Locations());
}

QXRegion1D ValueRange(const QXPointValueCollection3D& collection) {
  return ValueRange(collection.Values());
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXPointCollection3D& collection) {
  WriteToFile(storage, name, collection.Data());
}

void WriteToFile(QXDataStorage& storage, std::string name,
                 const QXPointValueCollection3D& collection) {
  QXWritePointValues(storage, name, collection.Points(), collection.Values());
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXAtomCollection3D& collection) {
  WriteToFile(storage, name, collection.Locations());
  WriteToFile(storage, name + "_T", collection.Atoms());
  QXWriteOptionalCompanion(storage, name + "_B", collection.Bonds());
  QXWriteOptionalCompanion(storage, name + "_Q", collection.Charges());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXPointCollection3D& collection) {
  QXReadRecordCollection<QXFloatArray>(storage, name, collection);
}

void ReadFromFile(const QXDataStorage& storage, std::string name,
                  QXPointValueCollection3D& collection) {
  QXReadPointValues<QXFloatArray>(storage, name, collection);
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXAtomCollection3D& collection) {
  QXFloatArray locations;
  QXUCharArray atoms;
  ReadFromFile(storage, name, locations);
  if (storage.Contains(name + "_T")) ReadFromFile(storage, name + "_T", atoms);
  if (atoms.IsEmpty() && storage.Contains(name + "_A")) ReadFromFile(storage, name + "_A", atoms);
  collection = QXAtomCollection3D(locations, atoms);
  if (collection.IsEmpty()) return;
  QXIntArray bonds;
  QXFloatArray charges;
  if (storage.Contains(name + "_B")) ReadFromFile(storage, name + "_B", bonds);
  if (storage.Contains(name + "_Q")) ReadFromFile(storage, name + "_Q", charges);
  if (bonds.NotEmpty()) collection = SetBonds(collection, bonds);
  if (charges.NotEmpty()) collection = SetCharges(collection, charges);
}
