#include "QXBitmap2D.h"

#include <cmath>

#include "../Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;

// The samples of the ten channels, in the order of writing.
std::vector<std::vector<int>> Channels(const QXBitmap2D& b) {
  auto ints = [](const auto& A) { return std::vector<int>(A.Pointer(), A.Pointer() + A.Length()); };
  return {ints(b.Gray()),   ints(b.Red()),    ints(b.Green()), ints(b.Blue()),
          ints(b.Alpha()),  ints(b.Gray16()), ints(b.Red16()), ints(b.Green16()),
          ints(b.Blue16()), ints(b.Alpha16())};
}

// m, n, origin, steps and whether a mask is defined.
Numbers Placement(const QXBitmap2D& b) {
  const QXMesh2DGrid g = b.Grid();
  return {double(g.m()), double(g.n()), g.Origin().x,           g.Origin().y,
          g.dx(),        g.dy(),        double(g.MaskDefined())};
}

bool IsDefault(const QXBitmap2D& b) {
  return Placement(b) == Numbers{0, 0, 0, 0, 1, 1, 0} && Channels(b) == Channels(QXBitmap2D());
}

const QXMesh2DGrid kPlace(QXPoint2D(1, 2), 0.5, 0.25, 7, 7);

// A 2 x 3 channel numbered k: 8-bit samples k*16 + i, and 16-bit samples
// with those as high bytes and 0x34 as low bytes.
template <class T>
QXMutableArray<T> Samples(int k) {
  QXMutableArray<T> A(2, 3, 1);
  for (int i = 0; i < 6; i++) A(i) = T(sizeof(T) == 1 ? k * 16 + i : (k * 16 + i) * 256 + 0x34);
  return A;
}

// Gray, gray with alpha, colour, colour with alpha.
template <class T>
QXBitmap2D OfKind(int kind) {
  const QXMutableArray<T> G = Samples<T>(0), R = Samples<T>(1), Gr = Samples<T>(2),
                          B = Samples<T>(3), A = Samples<T>(4);
  const QXBitmap2D kinds[] = {QXBitmap2D(G, kPlace), QXBitmap2D(G, A, kPlace),
                              QXBitmap2D(R, Gr, B, kPlace), QXBitmap2D(R, Gr, B, A, kPlace)};
  return kinds[kind];
}

using QXBitmap2DTest = QXReportingTest;

TEST_F(QXBitmap2DTest, ConstructorKeepsTheChannelsOnThePlacementOfTheGrid) {
  const QXUCharArray G = Counting<unsigned char>(4, 3);
  const QXBitmap2D bitmap(G, QXMesh2DGrid(QXPoint2D(5, 5), 2, 2, 10, 10));
  EXPECT_EQ(Placement(bitmap), (Numbers{4, 3, 5, 5, 2, 2, 0}));
  EXPECT_EQ(bitmap.Gray().Pointer(), G.Pointer());
  const QXRegion2D box = BoundingBox(bitmap);
  EXPECT_EQ((Numbers{box.xmin, box.ymin, box.xmax, box.ymax}), (Numbers{5, 5, 11, 9}));
  const QXMask all = QXMask::CreateFromIntervals(MakeArray<int>(2, 1, 1, {0, 3}), 2, 2, 1);
  EXPECT_EQ(Placement(QXBitmap2D(G, QXMesh2DGrid(QXPoint2D(1, 1), 3, 3, all))),
            (Numbers{4, 3, 1, 1, 3, 3, 0}));
  EXPECT_EQ(Placement(QXBitmap2D(QXUCharArray(), kPlace)), (Numbers{0, 0, 1, 2, 0.5, 0.25, 0}));
}

TEST_F(QXBitmap2DTest, ConstructorsRefuseChannelsOfAnotherSize) {
  const QXUCharArray b = Counting<unsigned char>(4, 3), b3D = Counting<unsigned char>(4, 3, 2),
                     b42 = Counting<unsigned char>(4, 2);
  const QXUShortIntArray w = Counting<unsigned short>(4, 3), w34 = Counting<unsigned short>(3, 4),
                         w3D = Counting<unsigned short>(4, 3, 2);
  const QXMesh2DGrid grid = kPlace;
  // clang-format off
  const QXRefusal cases[] = {
      {[&] { return IsDefault(QXBitmap2D(b3D, grid)); }, "QXBitmap2D(G,grid): Incorrect array sizes."},
      {[&] { return IsDefault(QXBitmap2D(b, b42, grid)); }, "QXBitmap2D(G,A,grid): Incorrect array sizes."},
      {[&] { return IsDefault(QXBitmap2D(b, b, b42, grid)); }, "QXBitmap2D(R,G,B,grid): Incorrect array sizes."},
      {[&] { return IsDefault(QXBitmap2D(b, b, b, b3D, grid)); }, "QXBitmap2D(R,G,B,A,grid): Incorrect array sizes."},
      {[&] { return IsDefault(QXBitmap2D(w3D, grid)); }, "QXBitmap2D(G,grid): Incorrect array sizes."},
      {[&] { return IsDefault(QXBitmap2D(w, w34, w, w, grid)); }, "QXBitmap2D(R,G,B,A,grid): Incorrect array sizes."},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(cases[i].leavesEmpty());
    EXPECT_EQ(Reports(), Lines{cases[i].report});
  }
}

TEST_F(QXBitmap2DTest, PinfoTellsSizeDepthAndKind) {
  // clang-format off
  const QXPrinting cases[] = {
      {[] { QXBitmap2D().pinfo(); }, "Empty bitmap\n"},
      {[] { OfKind<unsigned char>(0).pinfo(); }, "2x3 8-bit gray bitmap\n"},
      {[] { OfKind<unsigned char>(3).pinfo(); }, "2x3 8-bit colour with alpha bitmap\n"},
      {[] { OfKind<unsigned short>(1).pinfo(); }, "2x3 16-bit gray with alpha bitmap\n"},
  };
  // clang-format on
  for (const QXPrinting& c : cases) {
    c.print();
    EXPECT_EQ(Printed(), c.text);
  }
  EXPECT_TRUE(OfKind<unsigned short>(1).Is16Bits());
  EXPECT_FALSE(OfKind<unsigned char>(3).Is16Bits());
  EXPECT_FALSE(QXBitmap2D().Is16Bits());
}

TEST_F(QXBitmap2DTest, ConvertTo8BitsKeepsKindAlphaAndPlacement) {
  for (int kind = 0; kind < 4; kind++) {
    SCOPED_TRACE(kind);
    const QXBitmap2D converted = ConvertTo8Bits(OfKind<unsigned short>(kind));
    EXPECT_EQ(Channels(converted), Channels(OfKind<unsigned char>(kind)));
    EXPECT_EQ(Placement(converted), Placement(OfKind<unsigned char>(kind)));
  }
  const QXBitmap2D gray(Column<unsigned short>({0x1234, 0xffff, 0x00ff}), kPlace);
  EXPECT_EQ(Elements(ConvertTo8Bits(gray).Gray()), (std::vector<unsigned char>{0x12, 0xff, 0x00}));
  const QXBitmap2D eightBits = OfKind<unsigned char>(0);
  EXPECT_EQ(ConvertTo8Bits(eightBits).Gray().Pointer(), eightBits.Gray().Pointer());
  EXPECT_TRUE(IsDefault(ConvertTo8Bits(QXBitmap2D())));
}

TEST_F(QXBitmap2DTest, AMissingBitmapIsReportedOnceAndABadGridLeavesTheSamples) {
  QXMemoryStorage storage;
  QXBitmap2D read = OfKind<unsigned char>(0);
  ReadFromFile(storage, "B", read);
  EXPECT_TRUE(IsDefault(read));
  EXPECT_EQ(Reports(), Lines{"QXMemoryStorage::Read: Did not find the variable B"});
  storage.Save(Column<double>({1, 2, 3}), "B");
  storage.Save(Samples<unsigned char>(0), "B_Gray");
  ReadFromFile(storage, "B", read);
  EXPECT_EQ(Placement(read), (Numbers{2, 3, 0, 0, 1, 1, 0}));
  EXPECT_EQ(Reports(), Lines{"ReadFromArray(QXMesh2DGrid): Incorrect size array."});
}

template <class Storage>
using QXBitmap2DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXBitmap2DStorageTest, QXFileStorages);

// The listing lines of a bitmap of 2 x 3 channels with these suffixes.
std::string Entries(const std::string& name, const Texts& suffixes, const std::string& depth,
                    const std::string& type) {
  std::string lines;
  for (const std::string& s : suffixes) lines += Line(name + s + depth, type + " - 2 x 3 array");
  return lines + Line(name, "double - 4 numbers");
}

TYPED_TEST(QXBitmap2DStorageTest, EveryKindReadsBackFromItsChannelsInOrder) {
  const Texts suffixes[] = {{"_Gray"},
                            {"_Gray", "_Alpha"},
                            {"_Red", "_Green", "_Blue"},
                            {"_Red", "_Green", "_Blue", "_Alpha"}};
  std::string listing;
  {
    TypeParam storage = this->Create();
    for (int kind = 0; kind < 4; kind++) {
      const std::string eight = "b" + std::to_string(kind), sixteen = "w" + std::to_string(kind);
      WriteToFile(storage, eight, OfKind<unsigned char>(kind));
      WriteToFile(storage, sixteen, OfKind<unsigned short>(kind));
      listing += Entries(eight, suffixes[kind], "", " UChar");
      listing += Entries(sixteen, suffixes[kind], "16", "UShort");
    }
    WriteToFile(storage, "e", QXBitmap2D(QXUCharArray(), kPlace));
  }
  EXPECT_EQ(this->Listing(), listing + Line("e", "double - 4 numbers"));
  const TypeParam storage = this->Reopen();
  QXBitmap2D read;
  for (int kind = 0; kind < 4; kind++) {
    SCOPED_TRACE(kind);
    ReadFromFile(storage, "b" + std::to_string(kind), read);
    EXPECT_EQ(Channels(read), Channels(OfKind<unsigned char>(kind)));
    EXPECT_EQ(Placement(read), Placement(OfKind<unsigned char>(kind)));
    ReadFromFile(storage, "w" + std::to_string(kind), read);
    EXPECT_EQ(Channels(read), Channels(OfKind<unsigned short>(kind)));
  }
  ReadFromFile(storage, "e", read);
  EXPECT_EQ(Placement(read), (Numbers{0, 0, 1, 2, 0.5, 0.25, 0}));
}

TYPED_TEST(QXBitmap2DStorageTest, AGrayBitmapOverAColourOneReadsBackGray) {
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "B", OfKind<unsigned short>(3));
    WriteToFile(storage, "B", OfKind<unsigned char>(0));
  }
  const std::string cleared = "double - Empty";
  EXPECT_EQ(this->Listing(), Line("B_Gray", " UChar - 2 x 3 array") + Line("B_Red16", cleared) +
                                 Line("B_Green16", cleared) + Line("B_Blue16", cleared) +
                                 Line("B_Alpha16", cleared) + Line("B", "double - 4 numbers"));
  QXBitmap2D read;
  ReadFromFile(this->Reopen(), "B", read);
  EXPECT_EQ(Channels(read), Channels(OfKind<unsigned char>(0)));
}

// clang-format off
TYPED_TEST(QXBitmap2DStorageTest, TheChannelsStoredChooseTheKind) {
  struct Entry { std::string suffix; std::vector<int> size = {2, 3, 1}; };
  const std::string noKind = "ReadFromArray(QXBitmap2D): The stored channels make no bitmap kind.";
  const std::string empty = "Empty bitmap\n";
  const struct { std::vector<Entry> entries; std::string kind; Lines reports; } cases[] = {
      {{{"_Gray"}, {"_Red"}}, "2x3 8-bit gray bitmap\n", {}},
      {{{"_Red"}, {"_Green"}, {"_Blue"}, {"_Gray16"}}, "2x3 16-bit gray bitmap\n", {}},
      {{{"_Gray"}, {"_Alpha16"}}, "2x3 8-bit gray bitmap\n", {}},
      {{{"_Gray16"}, {"_Red16"}, {"_Alpha16"}}, "2x3 16-bit gray with alpha bitmap\n", {}},
      {{{"_Red16"}}, empty, {noKind}},
      {{{"_Red"}, {"_Green"}}, empty, {noKind}},
      {{{"_Gray", {0, 0, 0}}}, empty, {}},
      {{{"_Gray", {2, 3, 2}}}, empty, {"QXBitmap2D(G,grid): Incorrect array sizes."}},
      {{{"_Red"}, {"_Green"}, {"_Blue", {3, 2, 1}}}, empty, {"QXBitmap2D(R,G,B,grid): Incorrect array sizes."}},
  };
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    {
      TypeParam storage = this->Create();
      storage.Save(Column<double>({1, 2, 0.5, 0.5}), "B");
      for (const Entry& e : cases[i].entries) {
        const auto& s = e.size;
        if (e.suffix.back() == '6')
          storage.Save(Counting<unsigned short>(s[0], s[1], s[2]), "B" + e.suffix);
        else
          storage.Save(Counting<unsigned char>(s[0], s[1], s[2]), "B" + e.suffix);
      }
    }
    QXBitmap2D read;
    ReadFromFile(this->Reopen(), "B", read);
    this->Printed();
    read.pinfo();
    EXPECT_EQ(this->Printed(), cases[i].kind);
    EXPECT_EQ(this->Reports(), cases[i].reports);
  }
}
// clang-format on

}  // namespace
