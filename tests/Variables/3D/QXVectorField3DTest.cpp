#include "QXVectorField3D.h"

#include "../Support/QXVariableTestSupport.h"

namespace {

using Numbers = std::vector<double>;

const QXPoint3D kAt(1, 2, 3);
const QXMutableFloatArray kA = Counting<float>(2, 1, 2);
const std::string kRefused = "QXVectorField3D(X,Y,Z,Grid): Incompatible sizes.";

using QXVectorField3DTest = QXReportingTest;

// The size check is shared with the 2D field; this is the 3D field's message.
TEST_F(QXVectorField3DTest, ComponentsOfAnotherSizeThanXAreRefused) {
  EXPECT_TRUE(QXVectorField3D(kA, kA, Counting<float>(2, 1, 3), QXMesh3DGrid()).X().IsEmpty());
  EXPECT_EQ(Reports(), Lines{kRefused});
}

template <class Storage>
using QXVectorField3DStorageTest = QXFileStorageTest<Storage>;
TYPED_TEST_SUITE(QXVectorField3DStorageTest, QXFileStorages);

// A stored "_size" that is not the components' is refused with the field.
TYPED_TEST(QXVectorField3DStorageTest, AFieldReadsBackThroughTheConstructor) {
  const QXMutableFloatArray Z = MakeArray<float>(2, 1, 2, {9, 8, 7, 6});
  {
    TypeParam storage = this->Create();
    WriteToFile(storage, "V", QXVectorField3D(kA, kA, Z, QXMesh3DGrid(kAt, 1, 1, 2, 2, 1, 2)));
    WriteToFile(storage, "S", QXVectorField3D(kA, kA, Z, QXMesh3DGrid()));
    storage.Save(MakeArray<int>(3, 1, 1, {2, 1, 3}), "S_size");
  }
  EXPECT_EQ(this->WriteOrder(),
            this->Expected({"V_X", "V_Y", "V_Z", "V", "S_X", "S_Y", "S_Z", "S", "S_size"},
                           {"V_X", "V_X_3D", "V_Y", "V_Y_3D", "V_Z", "V_Z_3D", "V", "S_X", "S_X_3D",
                            "S_Y", "S_Y_3D", "S_Z", "S_Z_3D", "S", "S_size"}));
  const TypeParam storage = this->Reopen();
  EXPECT_FALSE(storage.SavedAsDouble("V_Z"));
  QXVectorField3D read;
  ReadFromFile(storage, "V", read);
  EXPECT_EQ(Elements(read.Z()), Elements(Z));
  EXPECT_EQ(GridFields(read.Grid()), (Numbers{0, 0, 0, 1, 2, 3, 1, 1, 2, 0}));
  const QXRegion3D box = BoundingBox(read);
  EXPECT_EQ((Numbers{box.xmax, box.ymax, box.zmax}), (Numbers{2, 2, 5}));
  ReadFromFile(storage, "S", read);
  EXPECT_TRUE(read.X().IsEmpty());
  EXPECT_EQ(this->Reports(), Lines{kRefused});
}

}  // namespace
