// Builds against the installed headers and library; exits 0 only when the
// library behaves as expected.
#include <cstdio>

#include "QXDoubleArray.h"
#include "QXSource.h"

int main(int argc, const char** argv) {
  QXSetArguments(argc, argv);
  QXMutableDoubleArray A(2, 3, 1);
  for (int p = 0; p < A.Length(); p++) A(p) = p;
  QXDoubleArray shared = A;
  QXMutableDoubleArray copy = shared.Copy();
  bool ok =
      shared(1, 2) == 5.0 && A.ReferenceCount() == 2 && copy == A && QXErrorListSnapshot().empty();
  std::printf("consumer: %s\n", ok ? "library works" : "library misbehaves");
  return ok ? 0 : 1;
}
