#include "QXColor.h"

#include "QXMatlabFileBytes.h"

namespace {

// The four components, red first.
std::vector<float> Rgba(const QXColor& c) { return {c.Red(), c.Green(), c.Blue(), c.Alpha()}; }

template <class Storage>
class QXColorStorageTest : public testing::Test {};
using QXFileStorages = testing::Types<QXMatlabDataFile, QXDataFile>;
TYPED_TEST_SUITE(QXColorStorageTest, QXFileStorages);

TYPED_TEST(QXColorStorageTest, AColorGoesThroughTheFileAsFiveFloatsLedByOne) {
  QXTempPath file("color");
  {
    TypeParam storage(file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "C", QXColor(0.5f, 0, 0.25f, 0.75f));
  }
  const TypeParam storage(file.path, QXFile::ReadOnly);
  QXColor color;
  ReadFromFile(storage, "C", color);
  EXPECT_EQ(Elements(storage.ReadFloatArray("C")), (std::vector<float>{1, 0.5f, 0, 0.25f, 0.75f}));
  EXPECT_EQ(Rgba(color), (std::vector<float>{0.5f, 0, 0.25f, 0.75f}));
}

}  // namespace
