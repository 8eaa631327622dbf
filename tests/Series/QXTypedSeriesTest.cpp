// The typed series: every class written into both file storages, read back
// and reported on, and the adds with boxes, refusals or grid references of
// their own.
#include <algorithm>
#include <filesystem>
#include <memory>

#include "../Variables/Support/QXVariableTestSupport.h"
#include "QXContentReport.h"

namespace {

using Numbers = std::vector<double>;

// Two values are alike when their writers store the same entries.
template <class Value>
bool StoresAlike(const Value& a, const Value& b) {
  QXMemoryStorage first, second;
  WriteToFile(first, "v", a);
  WriteToFile(second, "v", b);
  return first == second;
}

// The numbers stored under the name, or none when it is absent.
Numbers Stored(const QXDataStorage& storage, const std::string& name) {
  return storage.Contains(name) ? Elements(storage.ReadDoubleArray(name)) : Numbers{};
}

// A strip of two points at height y.
QXStructuredGrid2D Strip(float y) {
  return QXStructuredGrid2D(Column<float>({0, 1}), MakeArray(1, 1, 1, std::vector<float>{y}));
}

template <class Storage>
class QXTypedSeriesFileTest : public QXFileStorageTest<Storage> {
 protected:
  // Adds the sample at times 0 and 1 to a series named after its type string
  // in a new file, and expects the reopened file to give it back, to hold as
  // many numbers in the box and value range (0 for none) and to be reported.
  template <class Series>
  void Expect(const std::string& type, size_t box, size_t range,
              const decltype(std::declval<Series>().Get(0))& sample) {
    SCOPED_TRACE(type);
    {
      Storage storage = this->Create();
      Series series(storage, type);
      for (double time : {0.0, 1.0}) series.Add(sample, time);
    }
    Storage storage = this->Reopen();
    const Series series(storage, type);
    EXPECT_EQ(series.HowManySaved(), 2);
    EXPECT_TRUE(StoresAlike(series.Get(1), sample));
    EXPECT_EQ(storage.ReadString("Seq_" + type), type);
    EXPECT_EQ(Stored(storage, "SeqInfo_" + type + "_BBox").size(), box);
    EXPECT_EQ(Stored(storage, "SeqInfo_" + type + "_VRange").size(), range);
    EXPECT_EQ(CountTimeValues(storage, type), series.HowManySaved());
    PrintReport(storage);
    EXPECT_EQ(this->Printed(), type + " - " + type + " - 2 time values\n");
  }
};
TYPED_TEST_SUITE(QXTypedSeriesFileTest, QXFileStorages);

// clang-format off
TYPED_TEST(QXTypedSeriesFileTest, EveryClassRecordsItsTypeReadsBackSummarizesAndIsReported) {
  const QXMesh2DGrid placed(QXPoint2D(1, 2), 0.5, 0.5, 2, 3);
  this->template Expect<QXSeriesRealNumber>("RealNumber", 0, 2, 1.5);
  this->template Expect<QXSeriesString>("String", 0, 0, "a");
  this->template Expect<QXSeriesArray>("Array", 0, 2, Column<double>({1, 2}));
  this->template Expect<QXSeriesNumberList>("NumberList", 0, 2, Column<double>({1, 2}));
  this->template Expect<QXSeriesPlot1D>("Plot1D", 0, 0, QXPlot1D(Column<double>({1, 2}), Column<double>({3, 4})));
  this->template Expect<QXSeriesRegion1D>("Region1D", 0, 0, QXRegion1D(1, 2));
  this->template Expect<QXSeriesMesh2D>("Mesh2D", 4, 2, QXMesh2D(Counting<double>(2, 3), placed));
  this->template Expect<QXSeriesMesh2DGrid>("Mesh2DGrid", 4, 0, placed);
  this->template Expect<QXSeriesBitmap2D>("Bitmap2D", 4, 0, QXBitmap2D(Counting<unsigned char>(2, 3), placed));
  this->template Expect<QXSeriesPath2D>("Path2D", 4, 0, QXPath2D(MakeArray(2, 3, 1, Numbers{0, 2, 1, 1, 2, 2})));
  this->template Expect<QXSeriesPath2DValues>("Path2DValues", 4, 2, QXPath2DValues(MakeArray(3, 2, 1, Numbers{0, 0, 1, 1, 2, 3})));
  this->template Expect<QXSeriesPoint2D>("Point2D", 4, 0, QXPoint2D(1, 2));
  this->template Expect<QXSeriesPoint2DValue>("Point2DValue", 4, 2, QXPoint2DValue(1, 2, 3));
  this->template Expect<QXSeriesPointCollection2D>("PointCollection2D", 4, 0, QXPointCollection2D(Counting<double>(2, 2)));
  this->template Expect<QXSeriesRegion2D>("Region2D", 4, 0, QXRegion2D(QXPoint2D(0, 0), QXPoint2D(1, 2)));
  this->template Expect<QXSeriesStructuredMesh2D>("StructuredMesh2D", 4, 2, QXStructuredMesh2D(Column<double>({1, 2}), Strip(5)));
  this->template Expect<QXSeriesMesh3D>("Mesh3D", 6, 2, QXMesh3D(Counting<float>(2, 2, 2), QXMesh3DGrid(QXPoint3D(1, 2, 3), 0.5, 0.5, 1, 0, 0, 0)));
  this->template Expect<QXSeriesMesh3DGrid>("Mesh3DGrid", 6, 0, QXMesh3DGrid(QXPoint3D(1, 2, 3), 0.5, 0.5, 1, 2, 3, 4));
  this->template Expect<QXSeriesPath3D>("Path3D", 6, 0, QXPath3D(MakeArray(3, 3, 1, std::vector<float>{0, 0, 2, 1, 1, 1, 2, 2, 2})));
  this->template Expect<QXSeriesPath3DValues>("Path3DValues", 0, 2, QXPath3DValues(MakeArray(4, 2, 1, Numbers{0, 0, 0, 1, 1, 2, 3, 4})));
  this->template Expect<QXSeriesPoint3D>("Point3D", 6, 0, QXPoint3D(1, 2, 3));
  this->template Expect<QXSeriesPoint3DValue>("Point3DValue", 6, 2, QXPoint3DValue(1, 2, 3, 4));
  this->template Expect<QXSeriesPointCollection3D>("PointCollection3D", 6, 0, QXPointCollection3D(Counting<float>(3, 2)));
  this->template Expect<QXSeriesRegion3D>("Region3D", 6, 0, QXRegion3D(QXPoint3D(0, 0, 0), QXPoint3D(1, 2, 3)));
  this->template Expect<QXSeriesSurface3D>("Surface3D", 6, 0, QXSurface3D(Column<int>({0, 1, 2}), Counting<float>(3, 3)));
}
// clang-format on

TYPED_TEST(QXTypedSeriesFileTest, NumbersLeaveTheirTimesAndAColumnOfTimes) {
  {
    TypeParam storage = this->Create();
    QXSeriesRealNumber series(storage, "S");
    series.Add(1.5, 0);
    series.Add(2.5, 1);
    series.Add(0.5, 2);
  }
  EXPECT_EQ(this->WriteOrder(), (Texts{"Seq_S", "S_0_time", "S_0", "S_1_time", "S_1", "S_2_time",
                                       "S_2", "SeqInfo_S_VRange", "SeqInfo_S_TimeValues"}));
  const TypeParam storage = this->Reopen();
  EXPECT_EQ(SizeOf(storage.ReadDoubleArray("SeqInfo_S_TimeValues")), (std::vector<int>{3, 1, 1}));
}

// clang-format off
TYPED_TEST(QXTypedSeriesFileTest, ArraysAddTheBoxOfTheirGridTakenAtTheirSize) {
  const QXMesh2DGrid noSize(QXPoint2D(1, 2), 0.5);
  const QXMesh3DGrid noSize3D(QXPoint3D(1, 2, 3), 0.5, 0.5, 1, 0, 0, 0);
  const QXMutableDoubleArray values = Counting<double>(3, 4), values3D = Counting<double>(2, 3, 4);
  const struct { std::function<void(QXDataStorage&&)> add; Numbers box; std::string written; } cases[] = {
      {[&](QXDataStorage&& s) { QXSeriesMesh2D(s, "S").Add(values, 0); }, {0, 2, 0, 3}, "S_0"},
      {[&](QXDataStorage&& s) { QXSeriesMesh2D(s, "S").Add(QXDoubleArray(), 0); }, {}, "S_0"},
      {[&](QXDataStorage&& s) { QXSeriesMesh2D(s, "S").Add(values, noSize, 0); }, {1, 2, 2, 3.5}, "S_0_loc"},
      {[&](QXDataStorage&& s) { QXSeriesMesh3D(s, "S").Add(values3D, 0); }, {0, 1, 0, 2, 0, 3}, "S_0"},
      {[&](QXDataStorage&& s) { QXSeriesMesh3D(s, "S").Add(values3D, noSize3D, 0); }, {1, 1.5, 2, 3, 3, 6}, "S_0_loc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    c.add(this->Create());
    const TypeParam storage = this->Reopen();
    EXPECT_EQ(Stored(storage, "SeqInfo_S_BBox"), c.box);
    EXPECT_TRUE(storage.Contains(c.written));
  }
}
// clang-format on

TYPED_TEST(QXTypedSeriesFileTest, AThreeDimensionalArrayInAPlaneSeriesLeavesNoTrace) {
  TypeParam storage = this->Create();
  QXSeriesMesh2D series(storage, "S");
  series.Add(Counting<double>(2, 2, 2), 0);
  series.Add(Counting<double>(2, 2, 2), QXMesh2DGrid(QXPoint2D(1, 2), 0.5), 0);
  EXPECT_EQ(this->Reports(), Lines(2, "QXSeriesMesh2D: Array is three dimensional."));
  EXPECT_EQ(series.HowManySaved(), 0);
  EXPECT_FALSE(storage.Contains("S_0_time"));
}

// A refused add may leave the companions it wrote before its values; the
// values saved next under that name read back on their own grid all the same.
TYPED_TEST(QXTypedSeriesFileTest, ArraysAfterARefusedAddReadBackOnTheirOwnGrid) {
  TypeParam storage = this->Create();
  QXSeriesMesh2D series(storage, "S");
  const QXMask half = QXMask::CreateFromIntervals(MakeArray<int>(2, 1, 1, {0, 59}), 30, 4, 1);
  const QXMutableDoubleArray values = Counting<double>(30, 4);
  const QXMesh2DGrid noSize(QXPoint2D(1, 2), 0.5);
  const auto refused = [&](double time) {
    const QXFileSizeLimit limit(std::filesystem::file_size(this->file.path) + 400);
    series.Add(QXMesh2D(values, QXMesh2DGrid(QXPoint2D(1, 2), 0.5, 0.5, half)), time);
  };
  refused(0);
  series.Add(values, noSize, 1);
  refused(2);
  series.Add(values, 3);
  EXPECT_EQ(this->Reports().size(), 2u);
  EXPECT_TRUE(storage.ReadDoubleArray("S_0_dom").IsEmpty());
  EXPECT_TRUE(StoresAlike(series.Get(1), QXMesh2D(values, noSize)));
  EXPECT_TRUE(StoresAlike(series.Get(3), QXMesh2D(values, QXMesh2DGrid())));
}

// A storage in memory whose copies share one record of the strings saved,
// as "name=text".
class QXStringRecordingStorage : public QXMemoryStorage {
 public:
  QXMutablePointer<QXDataStorage> AsPointer() override {
    return QXMutablePointer<QXDataStorage>(new QXStringRecordingStorage(*this));
  }
  using QXMemoryStorage::Save;
  void Save(std::string text, std::string name) override {
    strings->push_back(name + "=" + text);
    QXMemoryStorage::Save(text, name);
  }
  std::shared_ptr<Texts> strings = std::make_shared<Texts>();
};

// Shows the storage the series writes to, its own copy of the one given.
struct QXSeenStructuredMeshSeries : QXSeriesStructuredMesh2D {
  using QXSeriesStructuredMesh2D::DataFile;
  using QXSeriesStructuredMesh2D::QXSeriesStructuredMesh2D;
};

using QXTypedSeriesTest = QXReportingTest;

TEST_F(QXTypedSeriesTest, AGridEqualToTheOneBeforeIsReferencedThenWrittenWhole) {
  QXStringRecordingStorage storage;
  QXSeenStructuredMeshSeries series(storage, "S");
  const QXStructuredMesh2D meshes[] = {QXStructuredMesh2D(Column<double>({1, 2}), Strip(5)),
                                       QXStructuredMesh2D(Column<double>({3, 4}), Strip(5)),
                                       QXStructuredMesh2D(Column<double>({5, 6}), Strip(6))};
  for (int k = 0; k < 3; k++) series.Add(meshes[k], k);
  EXPECT_EQ(*storage.strings, (Texts{"Seq_S=StructuredMesh2D", "S_1_g=S_0_g"}));
  const Texts& saves = static_cast<QXMemoryStorage&>(series.DataFile()).SaveOrder();
  const auto second = std::find(saves.begin(), saves.end(), "S_1_time");
  EXPECT_EQ(Texts(second, std::find(second, saves.end(), "S_2_time")),
            (Texts{"S_1_time", "S_1_g", "S_1_g_X", "S_1_g_Y", "S_1_g", "S_1"}));
  for (int k = 0; k < 3; k++) EXPECT_TRUE(series.Get(k) == meshes[k]) << k;
}

}  // namespace
