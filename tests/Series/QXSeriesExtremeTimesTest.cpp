// A series reopened over time entries near the top of the double range.
#include "QXMemoryStorage.h"
#include "QXReportingTest.h"
#include "QXSeriesRealNumber.h"

using QXSeriesExtremeTimes = QXReportingTest;

// The times of values 2 to 4 are extrapolated to infinity and then NaN.
TEST_F(QXSeriesExtremeTimes, SeriesWhoseTimesRanPastTheDoubleRangeTakesNoValue) {
  QXMemoryStorage storage;
  storage.Save(std::string("RealNumber"), "Seq_S");
  for (int k = 0; k < 5; k++) storage.Save(1.0 * k, "S_" + std::to_string(k));
  storage.Save(1e308, "S_0_time");
  storage.Save(1.7e308, "S_1_time");
  QXSeriesRealNumber series(storage, "S");
  series.Add(42, 0.0);
  EXPECT_EQ(series.HowManySaved(), 5);
  EXPECT_EQ(Reports(),
            Lines{"QXSeriesRealNumber: Invalid time value.  Needs to be strictly increasing."});
}
