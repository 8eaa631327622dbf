// Helpers for the tests of the variable types: arrays and masks of a given
// shape, table cases of refusals and printed lines, the fields of a 3D grid,
// and a fixture that writes a variable into a new file of each storage type
// and lists what the file holds.
#ifndef QXVARIABLETESTSUPPORT_H
#define QXVARIABLETESTSUPPORT_H

#include <functional>
#include <numeric>
#include <sstream>
#include <type_traits>

#include "QXMatlabFileBytes.h"
#include "QXMemoryStorage.h"

using QXFileStorages = testing::Types<QXMatlabDataFile, QXDataFile>;
// The reports of a typed test, which does not see the fixture's own name.
using Lines = std::vector<std::string>;

// An m x n x o array holding 0, 1, 2 ... in column-major order.
template <class T>
QXMutableArray<T> Counting(int m, int n, int o = 1) {
  QXMutableArray<T> A(m, n, o);
  std::iota(A.Pointer(), A.Pointer() + A.Length(), T(0));
  return A;
}

// A storage's listing without its three heading lines: one line per entry,
// in the order of the file.
inline std::string WithoutHeading(const std::string& listing) {
  size_t start = 0;
  for (int line = 0; line < 3; line++) start = listing.find('\n', start) + 1;
  return listing.substr(start);
}

// A call that should fail and leave its result empty, and its report.
struct QXRefusal {
  std::function<bool()> leavesEmpty;
  std::string report;
};

// A call that prints, and what it prints on standard error.
struct QXPrinting {
  std::function<void()> print;
  std::string text;
};

// Makes each call in turn and expects it to leave its result empty with its
// report, and no other.
template <size_t N>
void ExpectRefusals(const QXRefusal (&cases)[N]) {
  for (const QXRefusal& c : cases) {
    SCOPED_TRACE(c.report);
    EXPECT_TRUE(c.leavesEmpty());
    EXPECT_EQ(QXErrorListSnapshot(), Lines{c.report});
    QXClearErrorList();
  }
}

// The mask of the m x n x o box holding the points of the runs, given as
// first and last index of each.
inline QXMask MaskOfRuns(int m, int n, int o, const std::vector<int>& runs) {
  return QXMask::CreateFromIntervals(MakeArray<int>(2, int(runs.size() / 2), 1, runs), m, n, o);
}

// All a 3D grid holds but its mask's points: m, n, o, origin, steps and
// whether a mask is defined.
inline std::vector<double> GridFields(const QXMesh3DGrid& g) {
  const QXPoint3D at = g.Origin();
  return {double(g.m()), double(g.n()), double(g.o()), at.x,   at.y,
          at.z,          g.dx(),        g.dy(),        g.dz(), double(g.MaskDefined())};
}

template <class Storage>
class QXFileStorageTest : public QXReportingTest {
 protected:
  QXFileStorageTest() : file("variable") {}

  // A new, empty file; the handle closes the file when it goes.
  Storage Create() const { return Storage(file.path, QXFile::NewReadWrite); }
  Storage Reopen() const { return Storage(file.path, QXFile::ReadOnly); }

  // The file's listing without its heading.
  std::string Listing() {
    Printed();
    Reopen().printInfo();
    return WithoutHeading(Printed());
  }
  // The names of the file's listing, in file order: every name once, where
  // its last save lies.
  Texts WriteOrder() {
    std::istringstream listing(Listing());
    Texts names;
    for (std::string line; std::getline(listing, line);)
      names.push_back(line.substr(0, line.find(' ')));
    return names;
  }

  // The listing expected in this storage: a Matlab file adds a "_3D" entry
  // after each array of three dimensions.
  static Texts Expected(const Texts& binary, const Texts& matlab) {
    return std::is_same_v<Storage, QXMatlabDataFile> ? matlab : binary;
  }

  QXTempPath file;
};

#endif
