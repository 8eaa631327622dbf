#include "QXPointCollection3D.h"

#include <cmath>

#include "../Support/QXVariableTestSupport.h"

namespace {

QXMutableFloatArray Floats(int m, int n, int o = 1) { return Counting<float>(m, n, o); }
QXUCharArray Types() { return Column<unsigned char>({8, 1, 1}); }
QXIntArray Ints(const std::vector<int>& values) { return Column<int>(values); }

std::vector<double> Corners(const QXRegion3D& r) {
  return {r.xmin, r.xmax, r.ymin, r.ymax, r.zmin, r.zmax};
}

// Three atoms with two bonds (a 2 x 2 array: pairs of atom indices) and charges.
QXAtomCollection3D Water() {
  return QXAtomCollection3D(Floats(3, 3), Types(), MakeArray<int>(2, 2, 1, {0, 1, 0, 2}),
                            Column<float>({-0.8f, 0.4f, 0.4f}));
}

using QXPointCollection3DTest = QXReportingTest;

TEST_F(QXPointCollection3DTest, ConstructorsRefuseArraysOfTheWrongShape) {
  const std::string values = "QXPointValueCollection3D(Points,Values): ";
  const std::string two = "QXAtomCollection3D(locations,atoms): ";
  const std::string four = "QXAtomCollection3D(locations,atoms,bonds,charges): ";
  // clang-format off
  const QXRefusal cases[] = {
      {[] { return QXPointCollection3D(Floats(2, 3)).Data().IsEmpty(); }, "QXPointCollection3D(Array): Invalid size of array."},
      {[] { return QXPointValueCollection3D(Floats(3, 2, 2), Counting<double>(4, 1)).Points().IsEmpty(); }, values + "Invalid size of point."},
      {[] { return QXPointValueCollection3D(Floats(3, 2), Counting<double>(3, 1)).Points().IsEmpty(); }, values + "Invalid size of value array."},
      {[] { return QXAtomCollection3D(Floats(2, 3), Types()).IsEmpty(); }, two + "Location array needs to be a 3xN array."},
      {[] { return QXAtomCollection3D(Floats(3, 2), Types()).IsEmpty(); }, two + "Atom length needs to equal number of points."},
      {[] { return QXAtomCollection3D(Floats(3, 3), MakeArray<unsigned char>(1, 3, 1, {8, 1, 1})).IsEmpty(); }, two + "Atom length needs to equal number of points."},
      {[] { return QXAtomCollection3D(Floats(3, 3, 2), Types(), QXIntArray(), QXFloatArray()).IsEmpty(); }, four + "Location array needs to be a 3xN array."},
      {[] { return QXAtomCollection3D(Floats(3, 3), Types(), Ints({0, 3}), QXFloatArray()).IsEmpty(); }, four + "Bonds are referring to atoms outside of list."},
      {[] { return QXAtomCollection3D(Floats(3, 3), Types(), Ints({-1, 0}), QXFloatArray()).IsEmpty(); }, four + "Bonds are referring to atoms outside of list."},
      {[] { return QXAtomCollection3D(Floats(3, 3), Types(), Ints({0, 3}), Floats(2, 1)).IsEmpty(); }, four + "Bonds are referring to atoms outside of list."},
      {[] { return QXAtomCollection3D(Floats(3, 3), Types(), QXIntArray(), Floats(2, 1)).IsEmpty(); }, four + "Invalid length of charge array."},
      {[] { return QXAtomCollection3D(Floats(3, 3), Types(), QXIntArray(), Floats(1, 3)).IsEmpty(); }, four + "Invalid length of charge array."},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(cases[i].leavesEmpty());
    EXPECT_EQ(Reports(), Lines{cases[i].report});
  }
}

TEST_F(QXPointCollection3DTest, EmptyLocationsGiveNoAtomsWithoutAReportWhateverTheRest) {
  EXPECT_TRUE(QXAtomCollection3D(QXFloatArray(), Types()).IsEmpty());
  EXPECT_TRUE(QXAtomCollection3D(QXFloatArray(), Types(), Ints({5}), Floats(1, 7)).IsEmpty());
  EXPECT_TRUE(SetBonds(QXAtomCollection3D(), Ints({5})).IsEmpty());
}

// The bonds were checked when they were set; changed since through their
// own handle, they are refused when the collection is made again.
TEST_F(QXPointCollection3DTest, BondsChangedAfterTheCheckAreRefusedByTheNextSet) {
  QXMutableIntArray bonds = Column<int>({0, 2});
  const QXAtomCollection3D atoms = SetBonds(QXAtomCollection3D(Floats(3, 3), Types()), bonds);
  bonds(1) = 7;
  EXPECT_TRUE(SetCharges(atoms, Column<float>({1, 2, 3})).IsEmpty());
  EXPECT_EQ(Reports(), Lines{"QXAtomCollection3D(locations,atoms,bonds,charges): Bonds are "
                             "referring to atoms outside of list."});
}

TEST_F(QXPointCollection3DTest, BoxesSpanThePointsAndRangeTheValues) {
  const QXFloatArray points = MakeArray<float>(3, 2, 1, {1, 5, -1, 3, -2, 4});
  const std::vector<double> box = {1, 3, -2, 5, -1, 4};
  const QXPointValueCollection3D probes(points, Column<double>({NAN, 2.5}));
  EXPECT_EQ(Corners(BoundingBox(QXPointCollection3D(points))), box);
  EXPECT_EQ(Corners(BoundingBox(probes)), box);
  EXPECT_EQ(Corners(BoundingBox(QXAtomCollection3D(points, Column<unsigned char>({6, 8})))), box);
  EXPECT_EQ(ValueRange(probes).minV, 2.5);
  EXPECT_EQ(ValueRange(probes).maxV, 2.5);
  EXPECT_FALSE(BoundingBox(QXAtomCollection3D()).isSet);
}

TEST_F(QXPointCollection3DTest, PinfoCountsTheColumns) {
  // clang-format off
  const QXPrinting cases[] = {
      {[] { QXPointCollection3D(Floats(3, 4)).pinfo(); }, "4 points\n"},
      {[] { QXPointCollection3D().pinfo(); }, "0 points\n"},
      {[] { QXPointValueCollection3D(Floats(3, 2), Counting<double>(2, 1)).pinfo(); }, "2 points + values\n"},
      {[] { Water().pinfo(); }, "3 atoms\n"},
  };
  // clang-format on
  for (const QXPrinting& c : cases) {
    SCOPED_TRACE(c.text);
    c.print();
    EXPECT_EQ(Printed(), c.text);
  }
}

// Each case stores entries beside three locations under "A" and reads an
// atom collection from them.
TEST_F(QXPointCollection3DTest, AtomReaderTakesTypesFromEitherSuffixAndChecksWhatItRead) {
  const std::string four = "QXAtomCollection3D(locations,atoms,bonds,charges): ";
  const struct {
    std::function<void(QXMemoryStorage&)> store;
    QXUCharArray atoms;
    Lines reports;
  } cases[] = {
      // clang-format off
      {[](QXMemoryStorage& s) { s.Save(Types(), "A_A"); }, Types(), {}},
      {[](QXMemoryStorage& s) { s.Save(QXUCharArray(), "A_T"); s.Save(Types(), "A_A"); }, Types(), {}},
      {[](QXMemoryStorage& s) { s.Save(Types(), "A_T"); s.Save(QXUCharArray(), "A_A"); }, Types(), {}},
      {[](QXMemoryStorage&) {}, QXUCharArray(), {"QXAtomCollection3D(locations,atoms): Atom length needs to equal number of points."}},
      {[](QXMemoryStorage& s) { s.Save(Types(), "A_T"); s.Save(Ints({3}), "A_B"); }, QXUCharArray(), {four + "Bonds are referring to atoms outside of list."}},
      {[](QXMemoryStorage& s) { s.Save(Types(), "A_T"); s.Save(Floats(4, 1), "A_Q"); }, QXUCharArray(), {four + "Invalid length of charge array."}},
      // clang-format on
  };
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    QXMemoryStorage storage;
    storage.Save(Floats(3, 3), "A");
    cases[i].store(storage);
    QXAtomCollection3D atoms;
    ReadFromFile(storage, "A", atoms);
    EXPECT_EQ(atoms.Atoms(), cases[i].atoms);
    EXPECT_EQ(Reports(), cases[i].reports);
  }
}

template <class Storage>
using QXPointCollection3DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXPointCollection3DStorageTest, QXFileStorages);

TYPED_TEST(QXPointCollection3DStorageTest, CollectionsAreStoredUnderTheirNamesInOrderAndReadBack) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "Q", QXPointCollection3D(Floats(3, 2)));
    WriteToFile(storage, "R", QXPointValueCollection3D(Floats(3, 2), Column<double>({0.5, 1e300})));
    WriteToFile(storage, "A", Water());
  }
  EXPECT_EQ(this->Listing(),
            Line("Q", " float - 3 x 2 array") + Line("R_val", "double - 2 numbers") +
                Line("R", " float - 3 x 2 array") + Line("A", " float - 3 x 3 array") +
                Line("A_T", " UChar - 3 numbers") + Line("A_B", "   int - 2 x 2 array") +
                Line("A_Q", " float - 3 numbers"));
  const TypeParam storage = this->Reopen();
  QXPointCollection3D points;
  QXPointValueCollection3D probes;
  QXAtomCollection3D atoms;
  ReadFromFile(storage, "Q", points);
  ReadFromFile(storage, "R", probes);
  ReadFromFile(storage, "A", atoms);
  EXPECT_EQ(points.Data(), Floats(3, 2));
  EXPECT_EQ(probes.Points(), Floats(3, 2));
  EXPECT_EQ(Elements(probes.Values()), (std::vector<double>{0.5, 1e300}));
  EXPECT_EQ(atoms.Locations(), Water().Locations());
  EXPECT_EQ(atoms.Atoms(), Water().Atoms());
  EXPECT_EQ(atoms.Bonds(), Water().Bonds());
  EXPECT_EQ(atoms.Charges(), Water().Charges());
}

TYPED_TEST(QXPointCollection3DStorageTest, AtomsRewrittenWithoutBondsAndChargesReadBackWithout) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "A", Water());
    WriteToFile(storage, "A", QXAtomCollection3D(Floats(3, 3), Types()));
  }
  QXAtomCollection3D atoms;
  ReadFromFile(this->Reopen(), "A", atoms);
  EXPECT_EQ(atoms.Locations(), Floats(3, 3));
  EXPECT_TRUE(atoms.Bonds().IsEmpty());
  EXPECT_TRUE(atoms.Charges().IsEmpty());
}

}  // namespace
