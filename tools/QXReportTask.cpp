#include <cstdio>
#include <string>

#include "QXArguments.h"
#include "QXContentReport.h"
#include "QXMatlabDataFile.h"

namespace {

const char* const DefaultPath = "../Data Files/Variables.mat";

// The first argument that does not begin with '-', wherever it stands among
// the flags; an empty word counts as a path.
std::string PathFromArguments() {
  for (int i = 0; i < QXHowManyArguments(); i++) {
    std::string argument = QXGetArgumentNumber(i);
    if (argument.empty() || argument[0] != '-') return argument;
  }
  return DefaultPath;
}

}  // namespace

int ComputeTask() {
  std::string path = PathFromArguments();
  QXMatlabDataFile storage(path, QXFile::ReadOnly);
  if (!storage.IsOpen()) {
    std::string line = "Could not open the file " + path + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return 0;
  }
  if (QXArgumentIncludesFlag("all")) {
    storage.pinfo();
  } else {
    PrintReport(storage);
  }
  return 0;
}
