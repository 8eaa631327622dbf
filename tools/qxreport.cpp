// qxreport [-all] [path]: reports what a Matlab v4 data file holds, on
// standard error. The path defaults to "../Data Files/Variables.mat".
#include "QXArguments.h"
#include "QXContentReport.h"

int main(int argc, char** argv) {
  QXSetArguments(argc, const_cast<const char**>(argv));
  return ComputeTask();
}
