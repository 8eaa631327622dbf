// The variable types as scipy.io, an independent reader of MAT v4 files,
// sees them: the element type and shape of every entry each writer makes.
#include "QXMatlabFileBytes.h"
#include "QXSource.h"

namespace {

const char* const kScript = R"(import sys, scipy.io as sio
content = {k: v for k, v in sio.loadmat(sys.argv[1]).items() if not k.startswith('__')}
seen = {k: (v.dtype.str[1:],) + v.shape for k, v in content.items()}
paths = {k: seen.pop(k, None) for k in ('path2', 'path2v', 'path3', 'path3v', 'plot')}
assert paths == dict(path2=('f8', 2, 4), path2v=('f8', 3, 4), path3=('f4', 6, 1),
                     path3v=('f8', 4, 2), plot=('f8', 2, 4)), paths
structured = {k: seen.pop(k, None) for k in ('S_X', 'S_Y', 'S', 'U_X', 'U_Y', 'U_Z', 'U_Z_3D',
                                            'U', 'SM_g_X', 'SM_g_Y', 'SM_g', 'SM')}
assert structured == dict(S_X=('f4', 3, 1), S_Y=('f4', 1, 2), S=('i4', 2, 2),
                          U_X=('f4', 2, 1), U_Y=('f4', 1, 2), U_Z=('f4', 1, 2),
                          U_Z_3D=('f8', 1, 1), U=('i4', 0, 0), SM_g_X=('f4', 3, 1),
                          SM_g_Y=('f4', 1, 2), SM_g=('i4', 0, 0), SM=('f8', 3, 2)), structured
assert content['S'].T.ravel().tolist() == [0, 1, 4, 4], content['S']
assert content['path2v'][2].tolist() == [3, 7, 8, 7], content['path2v']
unstructured = {k: seen.pop(k, None) for k in (
    'su_points', 'su_normals', 'su', 'sv_values', 'sv', 'tm_g_Next', 'tm_g_PtN', 'tm_g_Pts',
    'tm_g', 'tm', 'tr_gr_pts', 'tr_gr', 'tr')}
assert unstructured == dict(
    su_points=('f4', 3, 4), su_normals=('f4', 3, 4), su=('i4', 3, 2), sv_values=('f4', 3, 1),
    sv=('f4', 9, 1), tm_g_Next=('i4', 4, 2), tm_g_PtN=('i4', 5, 1), tm_g_Pts=('f4', 3, 5),
    tm_g=('i4', 4, 2), tm=('f4', 5, 1), tr_gr_pts=('f8', 2, 4), tr_gr=('i4', 3, 2),
    tr=('f8', 4, 1)), unstructured
meshes3 = dict(C_size=('i4', 3, 1), C=('f8', 6, 1), W3_loc=('f8', 6, 1), W3_dom_dim=('i4', 3, 1),
               W3_dom=('i4', 2, 2), W3=('f4', 4, 2), W3_3D=('f8', 1, 1),
               K2_X=('f8', 2, 3), K2_Y=('f8', 2, 3), K2=('f8', 4, 1), K3_X=('f4', 2, 2),
               K3_X_3D=('f8', 1, 1), K3_Y=('f4', 2, 2), K3_Y_3D=('f8', 1, 1), K3_Z=('f4', 2, 2),
               K3_Z_3D=('f8', 1, 1), K3=('f8', 6, 1))
assert {k: seen.pop(k, None) for k in meshes3} == meshes3, content
assert content['W3'].tolist() == [[0, 4], [1, 5], [2, 6], [3, 7]], content['W3']
assert content['W3_3D'].tolist() == [[2]], content['W3_3D']
assert seen == dict(p2=('f8', 2, 1), p2v=('f8', 3, 1), p3=('f4', 3, 1), p3v=('f8', 4, 1),
                    v3=('f4', 3, 1), r1=('f8', 2, 1), r2=('f8', 4, 1), r3=('f8', 6, 1),
                    unset=('f8', 0, 0), s2=('f8', 4, 1), s3=('f8', 6, 1), plane=('f4', 6, 1),
                    cut=('f8', 2, 1),
                    V_val=('f8', 3, 1), V=('f8', 2, 3), A=('f4', 3, 3), A_T=('u1', 3, 1),
                    A_B=('i4', 2, 2), A_Q=('f4', 3, 1),
                    M_dim=('i4', 2, 1), M=('i4', 2, 3), D_dim=('i4', 3, 1), D=('i4', 2, 1),
                    L_size=('i4', 1, 1), L=('f8', 2, 1), G_size=('i4', 2, 1), G=('f8', 4, 1),
                    T_loc=('f8', 4, 1), T_dom_dim=('i4', 2, 1), T_dom=('i4', 2, 2), T=('f8', 2, 2),
                    F=('f4', 2, 3),
                    B_Gray=('u1', 3, 2), B_Alpha=('u1', 3, 2), B=('f8', 4, 1),
                    W_Red16=('u2', 2, 3), W_Green16=('u2', 2, 3), W_Blue16=('u2', 2, 3),
                    W=('f8', 4, 1)), seen
assert content['A_B'].T.ravel().tolist() == [0, 1, 0, 2], content['A_B']
assert content['T'].tolist() == [[7, 8], [0, 9]], content['T']
assert content['B_Gray'].tolist() == [[0, 3], [1, 4], [2, 5]], content['B_Gray']
assert content['W_Blue16'][1, 2] == 65535, content['W_Blue16']
assert content['W'].ravel().tolist() == [1, 2, 0.5, 0.25], content['W']
)";

QXMutableIntArray Runs(const std::vector<int>& bounds) {
  return MakeArray<int>(2, static_cast<int>(bounds.size() / 2), 1, bounds);
}

void WriteSmallValues(QXDataStorage& storage) {
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

void WriteCollections(QXDataStorage& storage) {
  const QXMutableDoubleArray points = MakeArray<double>(2, 3, 1, {0, 1, 2, 3, 4, 5});
  WriteToFile(storage, "V", QXPointValueCollection2D(points, Column<double>({7, 8, 9})));
  const QXMutableFloatArray locations(3, 3, 1);
  const QXAtomCollection3D water(locations, Column<unsigned char>({8, 1, 1}),
                                 MakeArray<int>(2, 2, 1, {0, 1, 0, 2}),
                                 Column<float>({-0.8f, 0.4f, 0.4f}));
  WriteToFile(storage, "A", water);
}

void WriteGrids(QXDataStorage& storage) {
  WriteToFile(storage, "M", QXMask::CreateFromIntervals(Runs({0, 1, 3, 5, 7, 7}), 4, 2, 1));
  WriteToFile(storage, "D", QXMask::CreateFromIntervals(Runs({2, 9}), 2, 3, 2));
  WriteToFile(storage, "L", QXMesh1DGrid(0.5, 0.25, 9));
  WriteToFile(storage, "G", QXMesh2DGrid(QXPoint2D(1, 2), 0.5, 0.25, 3, 4));
  const QXMask threeOfFour = QXMask::CreateFromIntervals(Runs({0, 0, 2, 3}), 2, 2, 1);
  const QXMesh2DGrid masked(QXPoint2D(1, 1), 0.5, 0.5, threeOfFour);
  WriteToFile(storage, "T", QXMesh2D(Column<double>({7, 8, 9}), masked));
  const QXMutableFloatArray floats = MakeArray<float>(2, 3, 1, {1, 2, 3, 4, 5, 6});
  WriteToFile(storage, "F", QXMesh2D(floats, QXMesh2DGrid()));
}

// 3D grids and meshes, and vector fields in 2D and 3D.
void WriteMeshes3D(QXDataStorage& storage) {
  const QXPoint3D at(1, 2, 3);
  WriteToFile(storage, "C", QXMesh3DGrid(at, 0.5, 0.5, 2, 2, 3, 4));
  const QXMask fiveOfEight = QXMask::CreateFromIntervals(Runs({0, 2, 5, 6}), 2, 2, 2);
  const QXMutableFloatArray values = MakeArray<float>(2, 2, 2, {0, 1, 2, 3, 4, 5, 6, 7});
  WriteToFile(storage, "W3", QXMesh3D(values, QXMesh3DGrid(at, 0.5, 0.5, 2, fiveOfEight)));
  const QXMutableDoubleArray plane = MakeArray<double>(2, 3, 1, {1, 2, 3, 4, 5, 6});
  WriteToFile(storage, "K2", QXVectorField2D(plane, plane, QXMesh2DGrid()));
  const QXMutableFloatArray component = MakeArray<float>(2, 1, 2, {1, 2, 3, 4});
  WriteToFile(
      storage, "K3",
      QXVectorField3D(component, component, component, QXMesh3DGrid(at, 0.5, 0.5, 2, 0, 0, 0)));
}

// An 8-bit gray bitmap with alpha and a 16-bit colour one.
void WriteBitmaps(QXDataStorage& storage) {
  const QXMutableUCharArray bytes = MakeArray<unsigned char>(3, 2, 1, {0, 1, 2, 3, 4, 5});
  WriteToFile(storage, "B", QXBitmap2D(bytes, bytes, QXMesh2DGrid()));
  QXMutableUShortIntArray words(2, 3, 1);
  words = static_cast<unsigned short>(65535);
  const QXMesh2DGrid placed(QXPoint2D(1, 2), 0.5, 0.25, 0, 0);
  WriteToFile(storage, "W", QXBitmap2D(words, words, words, placed));
}

void WritePaths(QXDataStorage& storage) {
  const QXMutableDoubleArray triangle = MakeArray<double>(2, 4, 1, {0, 3, 0, 0, 1, 0, 0, 0});
  const QXPath2D path(triangle, QXRegion2D(QXPoint2D(0, 0), QXPoint2D(1, 1)));
  WriteToFile(storage, "path2", path);
  WriteToFile(storage, "path2v", Combine(path, Column<double>({7, 8})));
  WriteToFile(storage, "path3", QXPath3D(MakeArray<float>(6, 1, 1, {0, 0, 0, 1, 2, 3})));
  WriteToFile(storage, "path3v",
              QXPath3DValues(MakeArray<double>(4, 2, 1, {0, 0, 0, 1, 1, 2, 3, 4})));
  WriteToFile(storage, "plot", QXPlot1D(Column<double>({0, 1, 2}), Column<double>({5, 6, 7})));
}

// A masked 2D grid, an unmasked 3D grid whose Z is 1 x 1 x 2, and a mesh.
void WriteStructuredGrids(QXDataStorage& storage) {
  const QXMutableFloatArray x = Column<float>({1, 2, 3});
  const QXMutableFloatArray y = MakeArray<float>(1, 2, 1, {5, 6});
  const QXMask threeOfSix = QXMask::CreateFromIntervals(Runs({0, 1, 4, 4}), 3, 2, 1);
  WriteToFile(storage, "S", QXStructuredGrid2D(x, y, threeOfSix));
  WriteToFile(storage, "U",
              QXStructuredGrid3D(Column<float>({1, 2}), y, MakeArray<float>(1, 1, 2, {7, 8})));
  QXMutableDoubleArray values(3, 2, 1);
  values = 0.5;
  WriteToFile(storage, "SM", QXStructuredMesh2D(values, QXStructuredGrid2D(x, y)));
}

// Surfaces in both forms (the values over triangles), tetrahedral grids
// with every companion, and a triangulated plane grid, each beside values.
void WriteUnstructured(QXDataStorage& storage) {
  const QXMutableIntArray triangles = MakeArray<int>(3, 2, 1, {0, 1, 2, 1, 2, 3});
  const QXMutableFloatArray points(3, 4, 1);
  WriteToFile(storage, "su", QXSurface3D(triangles, points, points));
  WriteToFile(
      storage, "sv",
      QXSurfaceValues3D(QXSurface3D(QXMutableFloatArray(9, 1, 1)), QXMutableFloatArray(3, 1, 1)));
  const QXMutableIntArray offsets = MakeArray<int>(4, 2, 1, {0, 1, 2, 3, 1, 2, 3, 4});
  const QXMutableIntArray next = MakeArray<int>(4, 2, 1, {1, -1, -1, -1, 0, -1, -1, -1});
  const QXTetrahedralGrid3D grid(QXMutableFloatArray(3, 5, 1), offsets, next,
                                 Column<int>({1, 2, 3, 4, 5}));
  WriteToFile(storage, "tm", QXTetrahedralMesh3D(grid, QXMutableFloatArray(5, 1, 1)));
  const QXTriangularGrid2D plane(triangles, QXMutableDoubleArray(2, 4, 1));
  WriteToFile(storage, "tr", QXTriangularMesh2D(QXMutableDoubleArray(4, 1, 1), plane));
}

TEST(QXVariablesScipyTest, ScipySeesEachEntryWithItsElementTypeAndShape) {
  static const std::string python = QXFindPythonWithScipy();
  if (python.empty()) GTEST_SKIP() << "python3 with scipy is not installed";
  QXTempPath file("variables"), script("variables", ".py"), output("variables", ".txt");
  {
    QXMatlabDataFile storage(file.path, QXFile::NewReadWrite);
    WriteSmallValues(storage);
    WriteCollections(storage);
    WriteGrids(storage);
    WriteBitmaps(storage);
    WritePaths(storage);
    WriteStructuredGrids(storage);
    WriteUnstructured(storage);
    WriteMeshes3D(storage);
  }
  script.Write(kScript);
  const std::string command = python + " " + script.path + " " + file.path + " >" + output.path + " 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << output.Read();
}

}  // namespace
