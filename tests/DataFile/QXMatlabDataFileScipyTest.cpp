// Interoperability with scipy.io, a peer reader and writer of MAT v4 files.
// Scipy loads a file we wrote, checks the element type and shape it sees for
// each variable and saves all it loaded, with variables of its own in shapes
// we do not write, into a copy that we read back.

#include "QXMatlabDataFile.h"
#include "QXMatlabFileBytes.h"
#include "QXTestSupport.h"

namespace {

const char* const kScript = R"(import sys, numpy as np, scipy.io as sio
content = {k: v for k, v in sio.loadmat(sys.argv[1]).items() if not k.startswith('__')}
seen = {k: (v.dtype.str[1:],) + v.shape for k, v in content.items()}
assert seen == dict(d=('f8', 2, 3), f=('f4', 3, 1), i=('i4', 1, 3), s=('i2', 2, 2),
                    us=('u2', 1, 2), uc=('u1', 1, 3), threeD_3D=('f8', 1, 1), threeD=('i4', 2, 3),
                    chars=('U2', 3), text=('U1', 5), seven=('f8', 1, 1)), seen
content.update(row=np.array([0, 65535, 1234], dtype=np.uint16), words='hello scipy', number=2.5)
sio.savemat(sys.argv[2], content, format='4')
)";

TEST(QXMatlabScipyTest, ScipyAndWeReadEachOthersFiles) {
  static const std::string python = QXFindPythonWithScipy();
  if (python.empty()) GTEST_SKIP() << "python3 with scipy is not installed";
  QXTempPath ours("scipy"), copy("scipy"), script("scipy", ".py"), output("scipy", ".txt");
  QXMatlabDataFile storage(ours.path, QXFile::NewReadWrite);
  storage.Save(MakeArray<double>(2, 3, 1, {-1e300, 0.1, -0.0, 2, 3, 4}), "d");
  storage.Save(MakeArray<float>(3, 1, 1, {-3e38f, 1.25f, 7}), "f");
  storage.Save(MakeArray<int>(1, 3, 1, {-2147483647 - 1, 0, 2147483647}), "i");
  storage.Save(MakeArray<short>(2, 2, 1, {-32768, 32767, 1, -2}), "s");
  storage.Save(MakeArray<unsigned short>(1, 2, 1, {0, 65535}), "us");
  storage.Save(MakeArray<unsigned char>(1, 3, 1, {0, 200, 255}), "uc");
  storage.Save(MakeArray<int>(2, 1, 3, {-4, -3, -2, -1, 0, 1}), "threeD");
  storage.Save(MakeArray<signed char>(3, 2, 1, {'a', 'b', 'c', 'd', 'e', 'f'}), "chars");
  storage.Save(std::string("hello"), "text");
  storage.Save(7, "seven");
  script.Write(kScript);
  const std::string command =
      python + " " + script.path + " " + ours.path + " " + copy.path + " >" + output.path + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << output.Read();
  // The copy, in the byte order of scipy's machine, holds the values we wrote.
  const QXMatlabDataFile mine(ours.path, QXFile::ReadOnly), theirs(copy.path, QXFile::ReadOnly);
  for (const char* name : {"d", "f", "i", "s", "us", "uc", "threeD", "threeD_3D", "seven"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(Elements(mine.ReadDoubleArray(name)), std::vector<double>{});
    EXPECT_EQ(Elements(theirs.ReadDoubleArray(name)), Elements(mine.ReadDoubleArray(name)));
    EXPECT_EQ(SizeOf(theirs, name), SizeOf(mine, name));
  }
  EXPECT_EQ(Elements(theirs.ReadCharArray("chars")), Elements(mine.ReadCharArray("chars")));
  EXPECT_EQ(theirs.ReadString("text"), "hello");
  // Scipy writes a 1-D array as a row, a text as a row and a number as 1 x 1.
  EXPECT_EQ(SizeOf(theirs, "row"), (std::vector<int>{1, 3, 1}));
  EXPECT_EQ(Elements(theirs.ReadUShortIntArray("row")),
            (std::vector<unsigned short>{0, 65535, 1234}));
  EXPECT_EQ(theirs.ReadString("words"), "hello scipy");
  EXPECT_EQ(theirs.ReadNumber("number"), 2.5);
}

}  // namespace
