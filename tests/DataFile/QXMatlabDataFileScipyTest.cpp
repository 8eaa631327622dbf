// Interoperability with a peer reader and writer of MAT v4 files: scipy.io.
// Python prints what it wrote or read as lines "name kind m n v1 v2 ...", the
// values in column-major order; the tests compare those with our storage.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "QXMatlabDataFile.h"
#include "QXMatlabFileBytes.h"
#include "QXTestSupport.h"

namespace {

// Debian's scipy belongs to the system interpreter, which need not be the
// first python3 on the path.
std::string FindPythonWithScipy() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    const std::string probe =
        std::string(python) + " -c \"import scipy.io, numpy\" >/dev/null 2>&1";
    if (std::system(probe.c_str()) == 0) return python;
  }
  return std::string();
}

struct QXPeerVariable {
  std::string kind;  // numpy's dtype name, or "text" for characters
  int m = 0, n = 0;
  std::vector<double> values;
};

std::map<std::string, QXPeerVariable> ParsePeerLines(const std::string& text) {
  std::map<std::string, QXPeerVariable> variables;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string name;
    QXPeerVariable variable;
    if (!(fields >> name >> variable.kind >> variable.m >> variable.n)) continue;
    for (std::string value; fields >> value;)
      variable.values.push_back(std::strtod(value.c_str(), nullptr));
    variables[name] = variable;
  }
  return variables;
}

// The script prints every variable of the MAT file at argv[1] as scipy reads it.
const char* const kPrintVariables = R"(
def print_variables(path):
    content = sio.loadmat(path, chars_as_strings=False)
    for name in sorted(k for k in content if not k.startswith('__')):
        a = content[name]
        if a.dtype.kind == 'U':
            kind, values = 'text', [ord(c) for c in a.flatten(order='F')]
        else:
            kind, values = a.dtype.name, [float(x) for x in a.flatten(order='F')]
        print(name, kind, a.shape[0], a.shape[1], ' '.join(repr(v) for v in values))
)";

class QXMatlabScipyTest : public testing::Test {
 protected:
  void SetUp() override {
    static const std::string found = FindPythonWithScipy();
    python = found;
    if (python.empty()) GTEST_SKIP() << "python3 with scipy is not installed";
  }

  // Runs the script body with the MAT path as argv[1]; returns what it printed
  // and fails the test when it does not succeed.
  std::string RunPython(const std::string& body, const std::string& matPath) {
    QXTempPath script("scipy_script", ".py");
    QXTempPath output("scipy_output", ".txt");
    script.Write("import sys\nimport numpy as np\nimport scipy.io as sio\n" +
                 std::string(kPrintVariables) + body);
    const std::string command =
        python + " " + script.path + " " + matPath + " > " + output.path + " 2>&1";
    const int status = std::system(command.c_str());
    const std::string printed = output.Read();
    EXPECT_EQ(status, 0) << printed;
    return printed;
  }

  std::string python;
  QXTempPath mat{"scipy"};
};

template <class T>
std::vector<double> AsDoubles(const QXArray<T>& A) {
  return std::vector<double>(A.Pointer(), A.Pointer() + A.Length());
}

// Our read of the record in its own element type, widened for comparison.
std::vector<double> NativeValues(const QXDataStorage& storage, const std::string& name,
                                 const std::string& kind) {
  if (kind == "float64") return AsDoubles(storage.ReadDoubleArray(name));
  if (kind == "float32") return AsDoubles(storage.ReadFloatArray(name));
  if (kind == "int32") return AsDoubles(storage.ReadIntArray(name));
  if (kind == "int16") return AsDoubles(storage.ReadShortIntArray(name));
  if (kind == "uint16") return AsDoubles(storage.ReadUShortIntArray(name));
  if (kind == "uint8") return AsDoubles(storage.ReadUCharArray(name));
  ADD_FAILURE() << "unexpected kind " << kind;
  return {};
}

TEST_F(QXMatlabScipyTest, ReadsWhatScipyWrites) {
  const std::string printed = RunPython(R"(
variables = {
    'd': np.array([[1.5, -2.0, 3.25], [4e300, -0.5, 7.0]]),
    'f': np.array([[1.5], [-3.0e38], [0.25]], dtype=np.float32),
    'i': np.array([[-2147483648, -1, 2147483647, 5]], dtype=np.int32),
    's': np.array([[-32768, 32767], [1, -2]], dtype=np.int16),
    'us': np.array([0, 65535, 1234], dtype=np.uint16),
    'uc': np.array([[200], [0], [255]], dtype=np.uint8),
    'number': 2.5,
    'txt': 'hello scipy',
    'column': np.arange(5.0).reshape(5, 1),
}
sio.savemat(sys.argv[1], variables, format='4')
print_variables(sys.argv[1])
)",
                                        mat.path);
  const std::map<std::string, QXPeerVariable> expected = ParsePeerLines(printed);
  ASSERT_EQ(expected.size(), 9u) << printed;

  QXReportCapture capture;
  QXMatlabDataFile storage(mat.path, QXFile::ReadOnly);
  const QXList<std::string> names = storage.AllVariableNames();
  ASSERT_EQ(names.Length(), 9);
  int i = 0;
  for (const auto& [name, variable] : expected) {
    EXPECT_EQ(names(i++), name);
    if (variable.kind == "text") {
      EXPECT_EQ(storage.ReadString(name),
                std::string(variable.values.begin(), variable.values.end()));
      continue;
    }
    const QXDoubleArray A = storage.ReadDoubleArray(name);
    EXPECT_EQ(A.m(), variable.m) << name;
    EXPECT_EQ(A.n(), variable.n) << name;
    EXPECT_EQ(AsDoubles(A), variable.values) << name;
    EXPECT_EQ(NativeValues(storage, name, variable.kind), variable.values) << name;
  }
  EXPECT_EQ(storage.ReadString("txt"), "hello scipy");
  EXPECT_EQ(storage.ReadNumber("number"), 2.5);
  capture.Finish();
  EXPECT_TRUE(capture.errors.empty());
}

template <class T>
QXMutableArray<T> Ramp(int m, int n, int o, double start, double step) {
  QXMutableArray<T> A(m, n, o);
  for (int i = 0; i < A.Length(); i++) A(i) = static_cast<T>(start + step * i);
  return A;
}

TEST_F(QXMatlabScipyTest, ScipyReadsWhatWeWrite) {
  std::map<std::string, QXPeerVariable> written;
  {
    QXMatlabDataFile storage(mat.path, QXFile::NewReadWrite);
    auto save = [&](const auto& A, const std::string& name, const std::string& kind) {
      storage.Save(A, name);
      // A 3-D array is a record of (m*n) rows and o columns.
      written[name] = {kind, A.m() * (A.o() > 1 ? A.n() : 1), A.o() > 1 ? A.o() : A.n(),
                       AsDoubles(A)};
    };
    save(Ramp<double>(2, 3, 1, -1e10, 0.37e10), "d", "float64");
    save(Ramp<float>(4, 1, 1, -2.5f, 1.25f), "f", "float32");
    save(Ramp<int>(1, 3, 1, -2147483648.0, 2147483647.0), "i", "int32");
    save(Ramp<short>(2, 2, 1, -32768, 21845), "s", "int16");
    save(Ramp<unsigned short>(3, 1, 1, 0, 32767.5), "us", "uint16");
    save(Ramp<unsigned char>(1, 4, 1, 0, 85), "uc", "uint8");
    save(Ramp<double>(2, 3, 4, 0.5, 1.0), "A", "float64");
    written["A_3D"] = {"float64", 1, 1, {2.0}};
    save(Ramp<int>(2, 2, 2, -4, 1), "B", "int32");
    written["B_3D"] = {"float64", 1, 1, {2.0}};
    // Character arrays and strings are text records.
    save(Ramp<signed char>(1, 3, 1, 65, 1), "c", "text");
    storage.Save(std::string("hello"), "txt");
    written["txt"] = {"text", 5, 1, {104, 101, 108, 108, 111}};
    storage.Save(7, "seven");
    written["seven"] = {"float64", 1, 1, {7.0}};
  }
  const std::string printed = RunPython("print_variables(sys.argv[1])\n", mat.path);
  const std::map<std::string, QXPeerVariable> loaded = ParsePeerLines(printed);
  ASSERT_EQ(loaded.size(), written.size()) << printed;
  for (const auto& [name, variable] : written) {
    const auto found = loaded.find(name);
    ASSERT_NE(found, loaded.end()) << name;
    EXPECT_EQ(found->second.kind, variable.kind) << name;
    EXPECT_EQ(found->second.m, variable.m) << name;
    EXPECT_EQ(found->second.n, variable.n) << name;
    EXPECT_EQ(found->second.values, variable.values) << name;
  }
}

}  // namespace
