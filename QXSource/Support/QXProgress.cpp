#include "QXProgress.h"

#include <cmath>
#include <string>

namespace {

constexpr int kFullLength = 50;

// The number of characters for a fraction done, computed in double so that
// the single-precision 0.01 (just below 0.01) stays below one character.
int TargetLength(float percent) {
  const double scaled = std::floor(static_cast<double>(percent) * kFullLength + 0.5);
  if (!(scaled > 0)) return 0;  // also NaN
  if (scaled >= kFullLength) return kFullLength;
  return static_cast<int>(scaled);
}

}  // namespace

QXProgress::QXProgress() : file("QXProgress", QXFile::NewReadWrite), currentLength(0) {}

void QXProgress::UpdatePercentage(float percent) {
  const int target = TargetLength(percent);
  if (target <= currentLength) return;
  const int added = target - currentLength;
  currentLength = target;
  if (!file.IsOpen()) return;
  file.WriteString(std::string(static_cast<size_t>(added), 'x'));
  file.Flush();
}
