// Opens arbitrary bytes as a storage (a binary data file when they begin
// with 'V', as its header does, else a Matlab v4 file) and opens every
// series it names ("Seq_" + name), and a few fixed names, as each of the 25
// typed series: the opening must make sense of any kind string, time list,
// time entries and summaries, and the reads by time must turn any stored
// value into a value or a report. Then the same in the file opened for
// writing, with one value added to each series (taking over the stored
// summaries and writing new ones at the end), and a last read of what that
// left.
#include <string>
#include <vector>

#include "QXDataFile.h"
#include "QXError.h"
#include "QXFuzzStorage.h"
#include "QXMatlabDataFile.h"
#include "QXSource.h"

namespace {

// The series' own promises, whatever the file: one time a value, and a
// value added only at a time later than every one before.
void CheckAdd(const QXSeries& series, const QXDoubleArray& before, double time) {
  const QXDoubleArray times = series.TimeValues();
  if (times.Length() != series.HowManySaved()) __builtin_trap();
  if (times.Length() == before.Length()) return;
  for (int k = 0; k < before.Length(); k++)
    if (!(time > before(k))) __builtin_trap();
}

template <class Series>
void Exercise(QXDataStorage& storage, const std::string& name, bool add) {
  Series series(storage, name);
  const QXDoubleArray times = series.TimeValues();
  if (times.Length() != series.HowManySaved()) __builtin_trap();
  const double last = series.LastTimeValue();
  // Before, at and between the saved times, and long after them; a series
  // that holds nothing (most of the 25 over one name) has nothing to read.
  if (series.HowManySaved() > 0)
    for (double t : {0.0, last / 2, last, 1e300}) series.Get(t);
  if (!add) return;
  // The last value again, later: refused unless the series opened and the
  // storage may be written. Then the first value at 0.5, taken only when
  // that is later than every time before.
  const double later = last < 0 ? 0 : 2 * last + 1;
  series.Add(series.Get(last), later);
  CheckAdd(series, times, later);
  const QXDoubleArray now = series.TimeValues();
  series.Add(series.Get(0), 0.5);
  CheckAdd(series, now, 0.5);
}

template <class... Series>
void ExerciseAs(QXDataStorage& storage, const std::string& name, bool add) {
  (Exercise<Series>(storage, name, add), ...);
}

void ExerciseEverySeries(QXDataStorage& storage, bool add) {
  const QXList<std::string> kinds = storage.AllVariableNamesWithPrefix("Seq_");
  std::vector<std::string> names = {"", "S"};
  for (int i = 0; i < kinds.Length(); i++) names.push_back(kinds(i).substr(4));
  for (const std::string& name : names) {
    ExerciseAs<QXSeriesRealNumber, QXSeriesString, QXSeriesArray, QXSeriesNumberList,
               QXSeriesPlot1D, QXSeriesRegion1D, QXSeriesMesh2D, QXSeriesMesh2DGrid,
               QXSeriesBitmap2D, QXSeriesPath2D, QXSeriesPath2DValues, QXSeriesPoint2D,
               QXSeriesPoint2DValue, QXSeriesPointCollection2D, QXSeriesRegion2D,
               QXSeriesStructuredMesh2D, QXSeriesMesh3D, QXSeriesMesh3DGrid, QXSeriesPath3D,
               QXSeriesPath3DValues, QXSeriesPoint3D, QXSeriesPoint3DValue,
               QXSeriesPointCollection3D, QXSeriesRegion3D, QXSeriesSurface3D>(storage, name, add);
  }
}

template <class Storage>
void ExerciseFile(const std::string& path) {
  {
    Storage storage(path, QXFile::ReadOnly);
    ExerciseEverySeries(storage, false);
  }
  {
    Storage storage(path, QXFile::ExistingReadWrite);
    ExerciseEverySeries(storage, true);
  }
  Storage storage(path, QXFile::ReadOnly);
  ExerciseEverySeries(storage, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path =
      "/tmp/qxfuzz_series_" + std::to_string(static_cast<long>(getpid()));
  if (!QXFuzzWriteInput(path, data, size)) return 0;
  if (size > 0 && data[0] == 'V')
    ExerciseFile<QXDataFile>(path);
  else
    ExerciseFile<QXMatlabDataFile>(path);
  std::remove(path.c_str());
  QXClearErrorList();
  return 0;
}
