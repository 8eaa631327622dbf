#include "QXColor.h"

#include <gtest/gtest.h>

#include "QXDataFile.h"
#include "QXMatlabDataFile.h"
#include "QXMatlabFileBytes.h"

namespace {

template <class Storage>
class QXColorStorageTest : public QXReportingTest {
 protected:
  QXTempPath file{"color"};
};

using QXFileStorages = testing::Types<QXMatlabDataFile, QXDataFile>;
TYPED_TEST_SUITE(QXColorStorageTest, QXFileStorages);

TYPED_TEST(QXColorStorageTest, AColorComesBackFromTheFileAndFourFloatsReadAsWhite) {
  {
    TypeParam storage(this->file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "C", QXColor(0.25f, 0.5f, 0.75f, 0.125f));
    storage.Save(MakeArray<float>(4, 1, 1, {1, 0, 0, 0}), "Four");
  }
  const TypeParam storage(this->file.path, QXFile::ReadOnly);
  QXColor color, white(0, 0, 0, 0);
  ReadFromFile(storage, "C", color);
  ReadFromFile(storage, "Four", white);
  EXPECT_EQ(this->Reports(), Texts{"ReadFromFile(File,Name,Color): Invalid array length"});
  EXPECT_EQ(Elements(storage.ReadFloatArray("C")),
            (std::vector<float>{1, 0.25f, 0.5f, 0.75f, 0.125f}));
  EXPECT_EQ(color.Red(), 0.25f);
  EXPECT_EQ(color.Green(), 0.5f);
  EXPECT_EQ(color.Blue(), 0.75f);
  EXPECT_EQ(color.Alpha(), 0.125f);
  EXPECT_EQ(white.Red(), 1);
  EXPECT_EQ(white.Alpha(), 1);
}

}  // namespace
