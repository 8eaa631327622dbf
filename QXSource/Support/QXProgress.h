// Progress shown to a watching program: the file "QXProgress" in the working
// directory grows by one "x" for every 2 percent, so its length out of 50 is
// the fraction done.
//
//   QXProgress progress;
//   for (int i = 0; i < n; i++) { ...; progress.UpdatePercentage(float(i + 1) / n); }
#ifndef QXPROGRESS_H
#define QXPROGRESS_H

#include "QXFile.h"

class QXProgress {
 public:
  // Replaces any old progress file with an empty one. When it cannot be
  // created, the failure is reported and updates only keep count.
  QXProgress();

  // Grows the file to floor(percent * 50 + 0.5) characters and flushes it;
  // never shrinks it. The target is clamped to [0, 50], and NaN counts as 0.
  void UpdatePercentage(float percent);

 private:
  QXFile file;
  int currentLength;
};

#endif
