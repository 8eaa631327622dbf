#include "QXMask.h"

#include "QXVariableTestSupport.h"

namespace {

using Ints = std::vector<int>;

QXMutableIntArray Runs(const Ints& bounds) {
  return MakeArray<int>(2, int(bounds.size() / 2), 1, bounds);
}
Ints Box(const QXMask& mask) { return {mask.m(), mask.n(), mask.o()}; }
const Ints kNoBox = {0, 0, 0};

using QXMaskTest = QXReportingTest;

// clang-format off
TEST_F(QXMaskTest, ConstructorsRefuseEachBrokenRule) {
  const struct { QXIntArray runs; Ints box; std::string report; } cases[] = {
      {Runs({0, 1}), {-1, 2, 1}, "One of the indices is negative"},
      {Runs({0, 1}), {65536, 65536, 1}, "Out of bounds."},
      {Runs({0, 1}), {65536, 32768, 1}, "Out of bounds."},
      {Runs({0, 1}), {2147483647, 2147483647, 2147483647}, "Out of bounds."},
      {MakeArray<int>(3, 1, 1, {0, 1, 2}), {4, 1, 1}, "interval array has incorrect size"},
      {MakeArray<int>(2, 1, 2, {0, 1, 2, 3}), {4, 1, 1}, "interval array has incorrect size"},
      {Runs({3, 2}), {4, 1, 1}, "One of the intervals is incorrect."},
      {Runs({0, 3, 3, 5}), {6, 1, 1}, "Intervals need to be in increasing order."},
      {Runs({-1, 2}), {4, 1, 1}, "Out of bounds."},
      {Runs({0, 4}), {2, 2, 1}, "Out of bounds."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Box(QXMask::CreateFromIntervals(c.runs, c.box[0], c.box[1], c.box[2])), kNoBox);
    EXPECT_EQ(Reports(), Lines{"QXMask::CreateFromIntervals(intervals,...): " + c.report});
  }
  EXPECT_EQ(Box(QXMask(2, -1, 1)), kNoBox);
  EXPECT_EQ(Reports(), Lines{"QXMask(m,n,o): One of the indices is  negative"});
  EXPECT_EQ(Box(QXMask(65536, 65536, 1)), kNoBox);
  EXPECT_EQ(Reports(), Lines{"QXMask(m,n,o): Out of bounds."});
}

TEST_F(QXMaskTest, CreateFromIntervalsAcceptsAbuttingRunsNoRunsAndTheLargestIntBox) {
  const struct { QXIntArray runs; Ints box; int points; } cases[] = {
      {Runs({0, 2, 3, 5}), {2, 3, 1}, 6},
      {QXIntArray(), {2, 3, 1}, 0},
      {Runs({0, 2147483646}), {2147483647, 1, 1}, 2147483647},
  };
  for (const auto& c : cases) {
    const QXMask mask = QXMask::CreateFromIntervals(c.runs, c.box[0], c.box[1], c.box[2]);
    EXPECT_EQ(Box(mask), c.box);
    EXPECT_EQ(mask.NumberOfPoints(), c.points);
  }
}

TEST_F(QXMaskTest, CreateFromMaskEndsEveryRunAtTheEndOfItsColumn) {
  const std::pair<QXUCharArray, Ints> cases[] = {
      {MakeArray<unsigned char>(4, 2, 1, {0, 1, 1, 1, 1, 1, 0, 0}), {1, 3, 4, 5}},
      {MakeArray<unsigned char>(3, 1, 2, {2, 0, 255, 0, 7, 7}), {0, 0, 2, 2, 4, 5}},
      {MakeArray<unsigned char>(2, 2, 1, {0, 0, 0, 0}), {}},
  };
  for (const auto& [bytes, runs] : cases) {
    const QXMask mask = QXMask::CreateFromMask(bytes);
    EXPECT_EQ(Elements(mask.Intervals()), runs);
    EXPECT_EQ(Box(mask), SizeOf(bytes));
  }
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
    EXPECT_EQ(mask.NumberOfPoints(), int(offsets.size()));
    EXPECT_EQ(Elements(Offsets(mask)), offsets);
    EXPECT_EQ(Elements(mask.MaskArray()).size(), 6u);
  }
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
// clang-format on

TEST_F(QXMaskTest, OffsetsAndMaskArrayListTheIndicesInside) {
  const QXMask mask = QXMask::CreateFromIntervals(Runs({1, 1, 2, 3, 6, 6}), 2, 2, 2);
  EXPECT_EQ(Elements(Offsets(mask)), (Ints{1, 2, 3, 6}));
  const QXUCharArray bytes = mask.MaskArray();
  EXPECT_EQ(SizeOf(bytes), (Ints{2, 2, 2}));
  EXPECT_EQ(Elements(bytes), (std::vector<unsigned char>{0, 1, 1, 1, 0, 0, 1, 0}));
  EXPECT_EQ(QXMask::CreateFromMask(bytes), mask);
}

TEST_F(QXMaskTest, EqualityComparesTheRunsOnly) {
  const QXMask flat = QXMask::CreateFromIntervals(Runs({0, 1}), 2, 2, 1);
  EXPECT_EQ(flat, QXMask::CreateFromIntervals(Runs({0, 1}), 4, 3, 2));
  EXPECT_NE(flat, QXMask::CreateFromIntervals(Runs({0, 2}), 2, 2, 1));
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
  EXPECT_EQ(Elements(storage.ReadIntArray("D_dim")), (Ints{2, 2, 3}));
  QXMask read;
  ReadFromFile(storage, "F", read);
  EXPECT_EQ(read, flat);
  EXPECT_EQ(Box(read), (Ints{3, 2, 1}));
  ReadFromFile(storage, "D", read);
  EXPECT_EQ(read, deep);
  EXPECT_EQ(Box(read), (Ints{2, 2, 3}));
}

// Also: an empty mask writes no "_dim", yet overwrites the one left there.
TYPED_TEST(QXMaskStorageTest, ReaderGivesTheEmptyMaskForDimensionsItCannotUse) {
  const std::string intervals = "QXMask::CreateFromIntervals(intervals,...): ";
  // clang-format off
  const std::pair<std::function<void(QXDataStorage&)>, Lines> cases[] = {
      {[](QXDataStorage& s) { WriteToFile(s, "M", Runs({0, 1})); }, {}},
      {[](QXDataStorage& s) { WriteToFile(s, "M", Runs({0, 1})); WriteToFile(s, "M_dim", QXIntArray()); }, {}},
      {[](QXDataStorage& s) { WriteToFile(s, "M", QXMask(2, 2, 1)); WriteToFile(s, "M", QXMask()); }, {}},
      {[](QXDataStorage& s) { s.Save(Column<int>({2, 2, 1, 1}), "M_dim"); }, {"ReadFromArray(QXMask): Invalid length of array."}},
      {[](QXDataStorage& s) { s.Save(Column<int>({65536, 65536}), "M_dim"); s.Save(Runs({0, 1}), "M"); }, {intervals + "Out of bounds."}},
      {[](QXDataStorage& s) { s.Save(Column<int>({-2, 2}), "M_dim"); s.Save(Runs({0, 1}), "M"); }, {intervals + "One of the indices is negative"}},
  };
  // clang-format on
  for (const auto& [write, reports] : cases) {
    {
      TypeParam storage = this->Create();
      write(storage);
    }
    QXMask read = QXMask::CreateFromIntervals(Runs({0, 0}), 1, 1, 1);
    ReadFromFile(this->Reopen(), "M", read);
    EXPECT_EQ(Box(read), kNoBox);
    EXPECT_EQ(this->Reports(), reports);
  }
}

}  // namespace
