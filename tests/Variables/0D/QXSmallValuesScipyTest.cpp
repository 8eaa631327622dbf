// The small value types as scipy.io, an independent reader of MAT v4 files,
// sees them: the element type and shape of every entry.
#include "QXMatlabFileBytes.h"
#include "QXPlane3D.h"
#include "QXPoint.h"
#include "QXRegion.h"
#include "QXShiftScale.h"

namespace {

const char* const kScript = R"(import sys, scipy.io as sio
seen = {k: (v.dtype.str[1:],) + v.shape for k, v in sio.loadmat(sys.argv[1]).items() if not k.startswith('__')}
assert seen == dict(p2=('f8', 2, 1), p2v=('f8', 3, 1), p3=('f4', 3, 1), p3v=('f8', 4, 1),
                    v3=('f4', 3, 1), r1=('f8', 2, 1), r2=('f8', 4, 1), r3=('f8', 6, 1),
                    unset=('f8', 0, 0), s2=('f8', 4, 1), s3=('f8', 6, 1), plane=('f4', 6, 1),
                    cut=('f8', 2, 1)), seen
)";

TEST(QXSmallValuesScipyTest, ScipySeesEachValueAsAColumnOfItsElementType) {
  static const std::string python = QXFindPythonWithScipy();
  if (python.empty()) GTEST_SKIP() << "python3 with scipy is not installed";
  QXTempPath file("small-values"), script("small-values", ".py"), output("small-values", ".txt");
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    WriteToFile(storage, "p2", QXPoint2D(1, 2));
    WriteToFile(storage, "p2v", QXPoint2DValue(1, 2, 3));
    WriteToFile(storage, "p3", QXPoint3D(1, 2, 3));
    WriteToFile(storage, "p3v", QXPoint3DValue(1, 2, 3, 4));
    WriteToFile(storage, "v3", QXVector3D(1, 0, 0));
    WriteToFile(storage, "r1", QXRegion1D(1, 2));
    WriteToFile(storage, "r2", QXRegion2D(QXPoint2D(0, 0), QXPoint2D(1, 1)));
    WriteToFile(storage, "r3", QXRegion3D(QXPoint3D(0, 0, 0), QXPoint3D(1, 1, 1)));
    WriteToFile(storage, "unset", QXRegion3D());
    WriteToFile(storage, "s2", QXShiftScale2D());
    WriteToFile(storage, "s3", QXShiftScale3D());
    WriteToFile(storage, "plane", QXPlane3D());
    WriteToFile(storage, "cut", QXCoordinatePlane3D(QXCoordinatePlane3D::XPlane, 2));
  }
  script.Write(kScript);
  const std::string command = python + " " + script.path + " " + file.path + " >" + output.path + " 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << output.Read();
}

}  // namespace
