#include "QXMask.h"

#include "QXFileStorageTest.h"

namespace {

using Ints = std::vector<int>;

QXMutableIntArray Runs(const Ints& bounds) {
  return MakeArray<int>(2, static_cast<int>(bounds.size() / 2), 1, bounds);
}

// The mask's m, n and o.
Ints Box(const QXMask& mask) { return {mask.m(), mask.n(), mask.o()}; }

using QXMaskTest = QXReportingTest;

TEST_F(QXMaskTest, CreateFromIntervalsRefusesEachBrokenRule) {
  const std::string operation = "QXMask::CreateFromIntervals(intervals,...): ";
  const struct {
    QXIntArray runs;
    Ints box;
    std::string report;
  } cases[] = {
      {Runs({0, 1}), {-1, 2, 1}, "One of the indices is negative"},
      {Runs({0, 1}), {65536, 65536, 1}, "Out of bounds."},
      {Runs({0, 1}), {65536, 32768, 1}, "Out of bounds."},
      {MakeArray<int>(3, 1, 1, {0, 1, 2}), {4, 1, 1}, "interval array has incorrect size"},
      {MakeArray<int>(2, 1, 2, {0, 1, 2, 3}), {4, 1, 1}, "interval array has incorrect size"},
      {Runs({3, 2}), {4, 1, 1}, "One of the intervals is incorrect."},
      {Runs({0, 3, 3, 5}), {6, 1, 1}, "Intervals need to be in increasing order."},
      {Runs({-1, 2}), {4, 1, 1}, "Out of bounds."},
      {Runs({0, 4}), {2, 2, 1}, "Out of bounds."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.report);
    const QXMask mask = QXMask::CreateFromIntervals(c.runs, c.box[0], c.box[1], c.box[2]);
    EXPECT_EQ(Box(mask), (Ints{0, 0, 0}));
    EXPECT_EQ(mask.NumberOfPoints(), 0);
    EXPECT_EQ(Reports(), Lines{operation + c.report});
  }
}

TEST_F(QXMaskTest, CreateFromIntervalsAcceptsRunsThatAbut) {
  const QXMask mask = QXMask::CreateFromIntervals(Runs({0, 2, 3, 5}), 2, 3, 1);
  EXPECT_EQ(mask.NumberOfPoints(), 6);
  EXPECT_EQ(Box(mask), (Ints{2, 3, 1}));
}

TEST_F(QXMaskTest, TheLargestBoxAnIntCountsIsAccepted) {
  const QXMask mask = QXMask::CreateFromIntervals(Runs({0, 2147483646}), 2147483647, 1, 1);
  EXPECT_EQ(mask.NumberOfPoints(), 2147483647);
}

TEST_F(QXMaskTest, NoRunsGiveABoxWithoutPoints) {
  const QXMask mask = QXMask::CreateFromIntervals(QXIntArray(), 2, 3, 1);
  EXPECT_EQ(Box(mask), (Ints{2, 3, 1}));
  EXPECT_EQ(mask.NumberOfPoints(), 0);
  EXPECT_EQ(Elements(Offsets(mask)), Ints{});
}

TEST_F(QXMaskTest, BoxConstructorRefusesNegativeAndOversizedBoxes) {
  const std::pair<Ints, Lines> cases[] = {
      {{2, -1, 1}, {"QXMask(m,n,o): One of the indices is  negative"}},
      {{65536, 65536, 1}, {"QXMask(m,n,o): Out of bounds."}},
      {{0, 5, 1}, {}},
  };
  for (const auto& [box, reports] : cases) {
    EXPECT_EQ(Box(QXMask(box[0], box[1], box[2])), (Ints{0, 0, 0}));
    EXPECT_EQ(Reports(), reports);
  }
}

TEST_F(QXMaskTest, CreateFromMaskEndsEveryRunAtTheEndOfItsColumn) {
  const std::pair<QXUCharArray, Ints> cases[] = {
      {MakeArray<unsigned char>(4, 2, 1, {0, 1, 1, 1, 1, 1, 0, 0}), {1, 3, 4, 5}},
      {MakeArray<unsigned char>(3, 1, 2, {2, 0, 255, 0, 7, 7}), {0, 0, 2, 2, 4, 5}},
      {MakeArray<unsigned char>(2, 2, 1, {1, 1, 1, 1}), {0, 1, 2, 3}},
      {MakeArray<unsigned char>(2, 2, 1, {0, 0, 0, 0}), {}},
  };
  for (const auto& [bytes, runs] : cases) {
    const QXMask mask = QXMask::CreateFromMask(bytes);
    EXPECT_EQ(Elements(mask.Intervals()), runs);
    EXPECT_EQ(Box(mask), SizeOf(bytes));
  }
}

TEST_F(QXMaskTest, OffsetsAndMaskArrayListTheIndicesInside) {
  const QXMask mask = QXMask::CreateFromIntervals(Runs({1, 1, 2, 3, 6, 6}), 2, 2, 2);
  EXPECT_EQ(mask.NumberOfPoints(), 4);
  EXPECT_EQ(Elements(Offsets(mask)), (Ints{1, 2, 3, 6}));
  const QXUCharArray bytes = mask.MaskArray();
  EXPECT_EQ(SizeOf(bytes), (Ints{2, 2, 2}));
  EXPECT_EQ(Elements(bytes), (std::vector<unsigned char>{0, 1, 1, 1, 0, 0, 1, 0}));
  EXPECT_EQ(QXMask::CreateFromMask(bytes), mask);
}

// The runs are shared with the caller's array, which may change after the
// checks: the walks clip each run to the box and to after the one before.
TEST_F(QXMaskTest, RunsChangedThroughAnotherHandleStayInsideTheBox) {
  const std::pair<Ints, Ints> cases[] = {
      {{0, 100, -5, 5}, {0, 1, 2, 3, 4, 5}},
      {{4, 1, 0, 2}, {0, 1, 2}},
      {{-2147483647 - 1, 0, 2147483647, 2147483647}, {0}},
      {{3, 3, 3, 3}, {3}},
  };
  for (const auto& [changed, offsets] : cases) {
    QXMutableIntArray runs = Runs({0, 1, 4, 5});
    const QXMask mask = QXMask::CreateFromIntervals(runs, 3, 2, 1);
    std::copy(changed.begin(), changed.end(), runs.Pointer());
    EXPECT_EQ(mask.NumberOfPoints(), static_cast<int>(offsets.size()));
    EXPECT_EQ(Elements(Offsets(mask)), offsets);
    EXPECT_EQ(Elements(mask.MaskArray()).size(), 6u);
  }
}

TEST_F(QXMaskTest, EqualityComparesTheRunsOnly) {
  const QXMask flat = QXMask::CreateFromIntervals(Runs({0, 1}), 2, 2, 1);
  EXPECT_EQ(flat, QXMask::CreateFromIntervals(Runs({0, 1}), 4, 3, 2));
  EXPECT_NE(flat, QXMask::CreateFromIntervals(Runs({0, 2}), 2, 2, 1));
}

TEST_F(QXMaskTest, PinfoNamesTheBoxAndThePoints) {
  const std::pair<QXMask, std::string> cases[] = {
      {QXMask(), "Empty\n"},
      {QXMask::CreateFromIntervals(Runs({0, 2}), 2, 3, 1), "2 x 3 mask with 3 points.\n"},
      {QXMask::CreateFromIntervals(Runs({1, 4}), 2, 2, 2), "2 x 2 x 2 mask with 4 points.\n"},
  };
  for (const auto& [mask, line] : cases) {
    mask.pinfo();
    EXPECT_EQ(Printed(), line);
  }
}

template <class Storage>
using QXMaskStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXMaskStorageTest, QXFileStorages);

TYPED_TEST(QXMaskStorageTest, AMaskReadsBackAfterItsDimensions) {
  const QXMask flat = QXMask::CreateFromIntervals(Runs({1, 3, 5, 5}), 3, 2, 1);
  const QXMask deep = QXMask::CreateFromIntervals(Runs({0, 6}), 2, 2, 3);
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "F", flat);
    WriteToFile(storage, "D", deep);
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"F_dim", "F", "D_dim", "D"}));
  const TypeParam storage = this->Reopen();
  EXPECT_EQ(Elements(storage.ReadIntArray("F_dim")), (Ints{3, 2}));
  EXPECT_EQ(Elements(storage.ReadIntArray("D_dim")), (Ints{2, 2, 3}));
  QXMask read;
  ReadFromFile(storage, "F", read);
  EXPECT_EQ(read, flat);
  EXPECT_EQ(Box(read), (Ints{3, 2, 1}));
  ReadFromFile(storage, "D", read);
  EXPECT_EQ(read, deep);
  EXPECT_EQ(Box(read), (Ints{2, 2, 3}));
}

TYPED_TEST(QXMaskStorageTest, AnEmptyMaskWrittenOverAMaskReadsBackEmptyWithoutReport) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "M", QXMask::CreateFromIntervals(Runs({0, 1}), 2, 2, 1));
    WriteToFile(storage, "M", QXMask());
  }
  QXMask read = QXMask::CreateFromIntervals(Runs({0, 0}), 1, 1, 1);
  ReadFromFile(this->Reopen(), "M", read);
  EXPECT_EQ(Box(read), (Ints{0, 0, 0}));
  EXPECT_EQ(read.NumberOfPoints(), 0);
  EXPECT_EQ(this->WriteOrder(), (Texts{"M_dim", "M"}));
  EXPECT_EQ(this->Reports(), Lines{});
}

TYPED_TEST(QXMaskStorageTest, ReaderReportsDimensionsItCannotUse) {
  const std::pair<QXIntArray, Lines> cases[] = {
      {MakeArray<int>(4, 1, 1, {2, 2, 1, 1}), {"ReadFromArray(QXMask): Invalid length of array."}},
      {MakeArray<int>(2, 1, 1, {65536, 65536}),
       {"QXMask::CreateFromIntervals(intervals,...): Out of bounds."}},
      {MakeArray<int>(2, 1, 1, {-2, 2}),
       {"QXMask::CreateFromIntervals(intervals,...): One of the indices is negative"}},
  };
  for (const auto& [dims, reports] : cases) {
    {
      TypeParam storage = this->Create();
      storage.Save(Runs({0, 1}), "M");
      storage.Save(dims, "M_dim");
    }
    QXMask read = QXMask::CreateFromIntervals(Runs({0, 0}), 1, 1, 1);
    ReadFromFile(this->Reopen(), "M", read);
    EXPECT_EQ(Box(read), (Ints{0, 0, 0}));
    EXPECT_EQ(this->Reports(), reports);
  }
}

TYPED_TEST(QXMaskStorageTest, RunsWithoutDimensionsReadAsTheEmptyMask) {
  {
    TypeParam storage = this->Create();
    storage.Save(Runs({0, 1}), "M");
  }
  QXMask read = QXMask::CreateFromIntervals(Runs({0, 0}), 1, 1, 1);
  ReadFromFile(this->Reopen(), "M", read);
  EXPECT_EQ(Box(read), (Ints{0, 0, 0}));
}

}  // namespace
