// Collections in space, one record per column of a float array:
// QXPointCollection3D (3 x N, column j the point (x, y, z)),
// QXPointValueCollection3D (3 x N points and N double values, one per point)
// and QXAtomCollection3D (3 x N locations with one atom type each, and
// optionally bonds between atoms and a charge per atom).
//
//   QXAtomCollection3D water(locations, types);   // 3 x 3 and 3 x 1
//   water = SetBonds(water, bonds);                // atom indices 0 to 2
//   WriteToFile(storage, "water", water);
//
// A collection is valid or empty: the constructors check the shapes (and the
// bonds' indices) and leave the collection empty, with a report, when they do
// not fit; empty arguments give the empty collection without one. The arrays
// are shared with the caller's, as arrays are. Their shapes cannot change
// later, but their values can through another handle; nothing here indexes
// by a stored value, so such a change can give a wrong value, never a read
// out of range. SetBonds and SetCharges check the whole collection again.
//
// Storage (one entry per array, in this order):
//   QXPointCollection3D       name: the points, float 3 x N
//   QXPointValueCollection3D  name + "_val": the values, double;
//                             name: the points, float 3 x N
//   QXAtomCollection3D        name: the locations, float 3 x N;
//                             name + "_T": the atom types, unsigned char N x 1;
//                             name + "_B": the bonds, int, when there are any;
//                             name + "_Q": the charges, float N x 1, when given
// A save replaces the whole value: a "_B" or "_Q" entry of an earlier value
// is overwritten with an empty array when the new one has no bonds or
// charges, and the readers take an empty entry as absent. The atom reader
// takes the types from name + "_T", or from name + "_A" when "_T" is absent
// or empty (the name other writers use), then reads the bonds and charges
// that are there, so a written collection reads back whole. The readers hand
// what they read to the constructors, whose texts report a wrong shape.
//
// Failure texts (operation: message):
//   "QXPointCollection3D(Array)": "Invalid size of array."
//   "QXPointValueCollection3D(Points,Values)": "Invalid size of point.",
//       "Invalid size of value array."
//   "QXAtomCollection3D(locations,atoms)" and
//   "QXAtomCollection3D(locations,atoms,bonds,charges)": "Location array
//       needs to be a 3xN array.", "Atom length needs to equal number of
//       points."; the second also "Bonds are referring to atoms outside of
//       list." and "Invalid length of charge array."
#ifndef QXPOINTCOLLECTION3D_H
#define QXPOINTCOLLECTION3D_H

#include <string>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXRegion.h"
#include "QXUCharArray.h"

class QXPointCollection3D {
 public:
  // No points.
  QXPointCollection3D() = default;
  // Takes a 3 x N x 1 array; an empty one gives no points; any other shape
  // reports "Invalid size of array." and gives no points.
  explicit QXPointCollection3D(const QXFloatArray& A);

  QXFloatArray Data() const { return data; }
  // "N points\n" on standard error.
  void pinfo() const;

 private:
  QXFloatArray data;
};

class QXPointValueCollection3D {
 public:
  // No points.
  QXPointValueCollection3D() = default;
  // Takes 3 x N x 1 points and N values (any shape of that length). Two
  // empty arrays give no points; otherwise points of another shape report
  // "Invalid size of point.", and then a values count other than N "Invalid
  // size of value array.", and give no points.
  QXPointValueCollection3D(const QXFloatArray& points, const QXDoubleArray& values);

  QXFloatArray Points() const { return points; }
  QXDoubleArray Values() const { return values; }
  // "N points + values\n" on standard error.
  void pinfo() const;

 private:
  QXFloatArray points;
  QXDoubleArray values;
};

class QXAtomCollection3D {
 public:
  // No atoms.
  QXAtomCollection3D() = default;
  // Takes 3 x N x 1 locations and an N x 1 column of atom types. Empty
  // locations give no atoms whatever the types; otherwise reports, in this
  // order, "Location array needs to be a 3xN array." or "Atom length needs
  // to equal number of points." and gives no atoms.
  QXAtomCollection3D(const QXFloatArray& locations, const QXUCharArray& atoms);
  // As above, with bonds (empty, or an int array of any shape whose every
  // entry is an atom index in [0, N)) and charges (empty, or an N x 1
  // column). After the location and atom checks, reports "Bonds are
  // referring to atoms outside of list." or "Invalid length of charge
  // array." and gives no atoms.
  QXAtomCollection3D(const QXFloatArray& locations, const QXUCharArray& atoms,
                     const QXIntArray& bonds, const QXFloatArray& charges);

  QXFloatArray Locations() const { return locations; }
  QXUCharArray Atoms() const { return atoms; }
  QXIntArray Bonds() const { return bonds; }
  QXFloatArray Charges() const { return charges; }
  // No locations: the empty collection.
  bool IsEmpty() const { return locations.IsEmpty(); }
  // "N atoms\n" on standard error.
  void pinfo() const;

 private:
  QXFloatArray locations;
  QXUCharArray atoms;
  QXFloatArray charges;
  QXIntArray bonds;
};

// The collection with new bonds, or new charges, and the rest of the old one,
// checked by the four-array constructor (so its texts, and no atoms on
// failure). An empty collection stays empty without a report.
QXAtomCollection3D SetBonds(const QXAtomCollection3D& collection, const QXIntArray& bonds);
QXAtomCollection3D SetCharges(const QXAtomCollection3D& collection, const QXFloatArray& charges);

// The box around the points or locations (BoundingBox3D); empty for none.
QXRegion3D BoundingBox(const QXPointCollection3D& collection);
QXRegion3D BoundingBox(const QXPointValueCollection3D& collection);
QXRegion3D BoundingBox(const QXAtomCollection3D& collection);
// The smallest and largest value, NaN ignored; empty for no points.
QXRegion1D ValueRange(const QXPointValueCollection3D& collection);

// See the storage layout above. A save replaces any earlier value of the name.
void WriteToFile(QXDataStorage& storage, std::string name, const QXPointCollection3D& collection);
void WriteToFile(QXDataStorage& storage, std::string name,
                 const QXPointValueCollection3D& collection);
void WriteToFile(QXDataStorage& storage, std::string name, const QXAtomCollection3D& collection);

// Read the entries and check them as the constructors do; a missing main
// entry is reported by the storage and reads as the empty collection.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXPointCollection3D& collection);
void ReadFromFile(const QXDataStorage& storage, std::string name,
                  QXPointValueCollection3D& collection);
void ReadFromFile(const QXDataStorage& storage, std::string name, QXAtomCollection3D& collection);

#endif
