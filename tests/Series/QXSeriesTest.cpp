#include "QXSeries.h"

#include <cmath>

#include "../Variables/Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;
const std::string kAdd = "QXSeriesRealNumber: ";

// Opens or creates the number series S, adds 10 + t at each time t, and
// closes it.
template <class Storage>
void WriteSeries(Storage&& storage, const Numbers& times, bool eachTime = true) {
  QXSeriesRealNumber s(storage, "S");
  s.SetSaveEachTime(eachTime);
  for (double t : times) s.Add(10 + t, t);
}

// The stored time list of S, or nothing when there is none.
Numbers Listed(const QXDataStorage& storage) {
  const std::string list = "SeqInfo_S_TimeValues";
  return storage.Contains(list) ? Elements(storage.ReadDoubleArray(list)) : Numbers{};
}

struct QXSeriesTest : QXReportingTest {
  QXDataContainer store;
};

// After time 0 any later time is far enough apart, however small.
TEST_F(QXSeriesTest, ARefusedCallIsReportedAndChangesNothing) {
  QXSeriesRealNumber s(store, "S");
  for (double t : {0.0, 1e-300, 1.0, 2.0}) s.Add(10 + t, t);
  // clang-format off
  const struct { std::function<void()> call; std::string report; } cases[] = {
      {[&] { s.Add(9, 2); }, kAdd + "Invalid time value.  Needs to be strictly increasing."},
      {[&] { s.Add(9, -1); }, kAdd + "Invalid time value.  Can't be negative."},
      {[&] { s.Add(9, 2.0000001); }, kAdd + "Time values are too close together."},
      {[&] { s.Add(9, NAN); }, kAdd + "Invalid time value.  Can't be negative."},
      {[&] { s.Add(9, INFINITY); }, kAdd + "Invalid time value.  Has to be finite."},
      {[&] { s.SetSaveEachTime(false); }, "QXSeries::SetSaveEachTime: Can't switch in the middle."},
  };
  // clang-format on
  for (const auto& c : cases) {
    c.call();
    EXPECT_EQ(Reports(), Lines{c.report});
  }
  EXPECT_EQ(Elements(s.TimeValues()), (Numbers{0, 1e-300, 1, 2}));
  s.Add(13, 3);
  EXPECT_TRUE(store.Contains("S_4_time"));
}

TEST_F(QXSeriesTest, LookupFindsTheLastValueAtOrJustBelowTheTime) {
  QXSeriesRealNumber s(store, "S");
  for (double t : {0, 1, 2}) s.Add(10 + t, t);
  // clang-format off
  const struct { double time; double value; Lines reports; } cases[] = {
      {0.5, 10, {}},
      {1, 11, {}},
      {0.9999999999, 11, {}},
      {5, 12, {}},
      {-1, 0, {"QXSeries::Get: Time has to be >=0."}},
      {NAN, 0, {"QXSeries::Get: Time has to be >=0."}},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(s.Get(c.time), c.value) << c.time;
    EXPECT_EQ(Reports(), c.reports) << c.time;
  }
}

// Without time entries, the list is the only record of the times. A series
// reopened and added to keeps the earlier summaries.
TEST_F(QXSeriesTest, TheEndWritesTheRangeAndTheTimesTheEntriesDoNotHold) {
  // clang-format off
  const struct { Numbers times; bool eachTime; Numbers more; Numbers listed; Numbers range; } cases[] = {
      {{0, 1}, true, {}, {}, {10, 11}},
      {{0, 1, 2}, true, {}, {0, 1, 2}, {10, 12}},
      {{3}, false, {}, {3}, {13, 13}},
      {{0, 4}, false, {}, {0, 4}, {10, 14}},
      {{0, 1}, true, {5}, {0, 1, 5}, {10, 15}},
  };
  // clang-format on
  for (const auto& c : cases) {
    QXDataContainer storage;
    WriteSeries(storage, c.times, c.eachTime);
    WriteSeries(storage, c.more);
    EXPECT_EQ(storage.Contains("S_0_time"), c.eachTime);
    EXPECT_EQ(Listed(storage), c.listed);
    EXPECT_EQ(Elements(storage.ReadDoubleArray("SeqInfo_S_VRange")), c.range);
  }
}

TEST_F(QXSeriesTest, ANaNValueLeavesTheRangeUnset) {
  QXSeriesRealNumber(store, "S").Add(NAN, 0);
  EXPECT_FALSE(store.Contains("SeqInfo_S_VRange"));
}

// Each time comes from a valid list, else from the value's own time entry
// while those rise, else one step on from the last. The count is the run of
// values, whatever the list's length; a series created over values goes on
// after them.
TEST_F(QXSeriesTest, OpeningTakesTheTimesFromWhatIsStored) {
  // clang-format off
  const struct { std::string kind; QXDoubleArray list; int values; Numbers timeEntries; Numbers times; } cases[] = {
      {"RealNumber", QXDoubleArray(), 4, {1, 3}, {1, 3, 5, 7}},
      {"RealNumber", QXDoubleArray(), 3, {0, 5, 5}, {0, 5, 10}},
      {"RealNumber", Column<double>({0, 2, 1}), 3, {0, 10, 20}, {0, 10, 20}},
      {"RealNumber", Column<double>({0, NAN, 1}), 3, {0, 10, 20}, {0, 10, 20}},
      {"RealNumber", Column<double>({-1, 0, 1}), 3, {0, 10, 20}, {0, 10, 20}},
      {"RealNumber", Column<double>({0, 1, 2, 3}), 2, {}, {0, 1}},
      {"RealNumber", MakeArray<double>(1, 3, 1, {0, 5, 9}), 3, {}, {0, 5, 9}},
      {"RealNumber", Column<double>({0, 5}), 4, {0, 1, 7}, {0, 5, 7, 9}},
      {"", QXDoubleArray(), 2, {0, 4}, {0, 4}},
  };
  // clang-format on
  for (const auto& c : cases) {
    QXDataContainer storage;
    if (!c.kind.empty()) storage.Save(c.kind, "Seq_S");
    if (c.list.Length() > 0) storage.Save(c.list, "SeqInfo_S_TimeValues");
    for (int k = 0; k < c.values; k++) storage.Save(10.0 + k, "S_" + std::to_string(k));
    for (size_t k = 0; k < c.timeEntries.size(); k++)
      storage.Save(c.timeEntries[k], "S_" + std::to_string(k) + "_time");
    EXPECT_EQ(Elements(QXSeriesRealNumber(storage, "S").TimeValues()), c.times);
  }
}

// The times of values 2 to 4 are extrapolated to infinity and then NaN.
TEST_F(QXSeriesTest, SeriesWhoseTimesRanPastTheDoubleRangeTakesNoValue) {
  store.Save(std::string("RealNumber"), "Seq_S");
  for (int k = 0; k < 5; k++) store.Save(1.0 * k, "S_" + std::to_string(k));
  store.Save(1e308, "S_0_time");
  store.Save(1.7e308, "S_1_time");
  QXSeriesRealNumber series(store, "S");
  series.Add(42, 0.0);
  EXPECT_EQ(series.HowManySaved(), 5);
  EXPECT_EQ(Reports(), Lines{kAdd + "Invalid time value.  Needs to be strictly increasing."});
}

TEST_F(QXSeriesTest, APlainVariableIsOneValueAtTimeZero) {
  store.Save(std::string("RealNumber"), "Seq_S");
  store.Save(4.5, "S");
  QXSeriesRealNumber s(store, "S");
  EXPECT_EQ(Elements(s.TimeValues()), Numbers{0});
  EXPECT_EQ(s.Get(3), 4.5);
  s.Add(1, 1);
  EXPECT_EQ(Reports(), Lines{kAdd + "Can not add a time value to the variable \"S\"."});
}

TEST_F(QXSeriesTest, ASeriesOfAnotherTypeRefusesEveryAdd) {
  store.Save(std::string("String"), "Seq_S");
  QXSeriesRealNumber(store, "S").Add(1, 1);
  EXPECT_EQ(Reports(), (Lines{"QXSeriesRealNumber(file,name): The file already contains a variable "
                              "with the same name but a differen type.",
                              kAdd + "The series did not open."}));
  EXPECT_EQ(store.AllVariableNames().Length(), 1);
}

template <class Storage>
using QXSeriesFileTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXSeriesFileTest, QXFileStorages);

TYPED_TEST(QXSeriesFileTest, ASeriesOnlyOpenedWritesNothingAndAReadOnlyOneTakesNothing) {
  WriteSeries(this->Create(), {0, 0.5, 2});
  const std::string before = this->file.Read();
  WriteSeries(TypeParam(this->file.path, QXFile::ExistingReadWrite), {});
  EXPECT_EQ(this->file.Read(), before);
  TypeParam storage = this->Reopen();
  QXSeriesRealNumber s(storage, "S");
  s.Add(13, 3);
  EXPECT_EQ(this->Reports(), Lines{kAdd + "The storage is read only."});
  EXPECT_EQ(Elements(s.TimeValues()), (Numbers{0, 0.5, 2}));
  EXPECT_EQ(QXSeriesRealNumber(storage, "T").HowManySaved(), 0);
}

// The name S_0 fits in the 254 bytes a name may have, S_0_time does not;
// without time entries the value itself meets a full disk.
TYPED_TEST(QXSeriesFileTest, AValueTheStorageDoesNotKeepIsNotCounted) {
  const std::string name(250, 'S');
  const std::string op = std::is_same_v<TypeParam, QXDataFile> ? "QXDataFile" : "QXMatlabDataFile";
  TypeParam storage = this->Create();
  QXSeriesRealNumber s(storage, name);
  s.Add(1, 0);
  EXPECT_EQ(this->Reports(), Lines{op + "::Save: The name is longer than 254 characters."});
  EXPECT_FALSE(storage.Contains(name + "_0"));
  EXPECT_EQ(s.HowManySaved(), 0);
  s.SetSaveEachTime(false);
  {
    QXFileSizeLimit full(this->file.Read().size());
    s.Add(1, 0);
  }
  const std::string failure = "Could not write \"" + name + "_0\" to the file (File too large)";
  EXPECT_EQ(this->Reports(), Lines{op + "::Save: " + failure + "; nothing was saved."});
  EXPECT_EQ(s.HowManySaved(), 0);
  EXPECT_EQ(s.LastTimeValue(), -1);
}

}  // namespace
