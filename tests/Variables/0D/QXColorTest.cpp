#include "QXColor.h"

#include <gtest/gtest.h>

#include "QXDataFile.h"
#include "QXMatlabDataFile.h"
#include "QXMatlabFileBytes.h"
#include "QXMemoryStorage.h"

namespace {

template <class Storage>
class QXColorStorageTest : public testing::Test {
 protected:
  QXTempPath file{"color"};
};

using QXFileStorages = testing::Types<QXMatlabDataFile, QXDataFile>;
TYPED_TEST_SUITE(QXColorStorageTest, QXFileStorages);

TYPED_TEST(QXColorStorageTest, AColorComesBackFromTheFile) {
  {
    TypeParam storage(this->file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "C", QXColor(0.25f, 0.5f, 0.75f, 0.125f));
  }
  const TypeParam storage(this->file.path, QXFile::ReadOnly);
  QXColor color;
  ReadFromFile(storage, "C", color);
  EXPECT_EQ(Elements(storage.ReadFloatArray("C")),
            (std::vector<float>{1, 0.25f, 0.5f, 0.75f, 0.125f}));
  EXPECT_EQ(color.Red(), 0.25f);
  EXPECT_EQ(color.Green(), 0.5f);
  EXPECT_EQ(color.Blue(), 0.75f);
  EXPECT_EQ(color.Alpha(), 0.125f);
}

using QXColorTest = QXReportingTest;

TEST_F(QXColorTest, AStoredArrayOfOtherThanFiveElementsReadsAsWhite) {
  QXMemoryStorage storage;
  storage.Save(MakeArray<float>(4, 1, 1, {1, 0, 0, 0}), "C");
  QXColor color(0, 0, 0, 0);
  ReadFromFile(storage, "C", color);
  EXPECT_EQ(Reports(), Lines{"ReadFromFile(File,Name,Color): Invalid array length"});
  EXPECT_EQ(color.Red(), 1);
  EXPECT_EQ(color.Alpha(), 1);
}

}  // namespace
