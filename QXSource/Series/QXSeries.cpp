#include "QXSeries.h"

#include <cmath>
#include <utility>

#include "QXError.h"
#include "QXNumberText.h"

namespace {

bool IsTime(double t) { return t >= 0 && std::isfinite(t); }

// A stored time list is taken only when every entry is a time and each is
// later than the one before; anything else was not written by a series.
bool IsTimeList(const QXDoubleArray& times) {
  double previous = -1;
  for (int k = 0; k < times.Length(); k++) {
    if (!IsTime(times(k)) || !(times(k) > previous)) return false;
    previous = times(k);
  }
  return true;
}

// The time of value k when nothing stored gives it: one step on from the
// last, the step being the last interval, or 1 before there are two times.
double ExtrapolatedTime(const std::vector<double>& times) {
  size_t k = times.size();
  if (k == 0) return 0;
  double step = k >= 2 ? times[k - 1] - times[k - 2] : 1.0;
  return times[k - 1] + step;
}

bool HasNaN(const QXRegion1D& r) { return std::isnan(r.minV) || std::isnan(r.maxV); }
bool HasNaN(const QXRegion2D& r) {
  return std::isnan(r.xmin) || std::isnan(r.xmax) || std::isnan(r.ymin) || std::isnan(r.ymax);
}
bool HasNaN(const QXRegion3D& r) {
  return std::isnan(r.xmin) || std::isnan(r.xmax) || std::isnan(r.ymin) || std::isnan(r.ymax) ||
         std::isnan(r.zmin) || std::isnan(r.zmax);
}

// The union, leaving out a region with a NaN bound.
template <class Region>
void Accumulate(Region& total, const Region& more) {
  if (more.isSet && !HasNaN(more)) total = Union(total, more);
}

}  // namespace

QXSeries::QXSeries(QXDataStorage& storage, std::string name, std::string type)
    : name(std::move(name)),
      type(std::move(type)),
      howManySaved(0),
      lastTimeValue(-1),
      saveEachTime(true),
      readOnly(storage.IsReadOnly()),
      valid(true),
      onlyOneTimeValue(false),
      savedHere(false),
      theDataFile(storage.AsPointer()) {
  const std::string kind = "Seq_" + this->name;
  const bool existed = DataFile().Contains(kind);
  if (!existed) {
    if (readOnly) {
      valid = false;
      return;
    }
    DataFile().Save(this->type, kind);
    // Without its kind entry the series would be invisible to readers.
    if (!DataFile().Contains(kind)) {
      valid = false;
      return;
    }
  } else if (DataFile().ReadString(kind) != this->type) {
    QXErrorMessage("QXSeries" + this->type + "(file,name)",
                   "The file already contains a variable with the same name but a differen type.");
    valid = false;
    return;
  }
  FindSavedValues();
  if (howManySaved > 0) {
    TakeOverSummaries();
  } else if (existed && DataFile().Contains(this->name)) {
    // A plain variable under the series' name: one value, saved at time 0.
    onlyOneTimeValue = true;
    howManySaved = 1;
    combinedTimeValues.assign(1, 0.0);
    lastTimeValue = 0;
  }
}

// Counts the unbroken run name_0, name_1, ... and finds each one's time.
void QXSeries::FindSavedValues() {
  QXDoubleArray stored;
  const std::string listName = InfoName("_TimeValues");
  if (DataFile().Contains(listName)) stored = DataFile().ReadDoubleArray(listName);
  if (!IsTimeList(stored)) stored = QXDoubleArray();
  bool findingEntries = true;
  for (int k = 0; DataFile().Contains(baseName(k)); k++) {
    double t = 0;
    bool found = false;
    if (k < stored.Length()) {
      t = stored(k);
      found = true;
    } else if (findingEntries) {
      const std::string timeName = baseName(k) + "_time";
      if (DataFile().Contains(timeName)) t = DataFile().ReadNumber(timeName);
      found =
          DataFile().Contains(timeName) && IsTime(t) && (k == 0 || t > combinedTimeValues.back());
      findingEntries = found;
    }
    if (!found) t = ExtrapolatedTime(combinedTimeValues);
    combinedTimeValues.push_back(t);
  }
  howManySaved = static_cast<int>(combinedTimeValues.size());
  if (howManySaved > 0) lastTimeValue = combinedTimeValues.back();
}

// The summaries written when the series was last closed, so that the ones
// written next cover the earlier values too.
void QXSeries::TakeOverSummaries() {
  const std::string boxName = InfoName("_BBox");
  if (DataFile().Contains(boxName)) {
    if (DataFile().ReadDoubleArray(boxName).Length() == 4) {
      QXRegion2D box;
      ReadFromFile(DataFile(), boxName, box);
      AddToBBox(box);
    } else {
      QXRegion3D box;
      ReadFromFile(DataFile(), boxName, box);
      AddToBBox(box);
    }
  }
  const std::string rangeName = InfoName("_VRange");
  if (DataFile().Contains(rangeName)) {
    QXRegion1D range;
    ReadFromFile(DataFile(), rangeName, range);
    AddToValueRange(range);
  }
}

QXSeries::~QXSeries() {
  if (!savedHere) return;
  if (bbox2D.isSet)
    WriteToFile(DataFile(), InfoName("_BBox"), bbox2D);
  else if (bbox3D.isSet)
    WriteToFile(DataFile(), InfoName("_BBox"), bbox3D);
  if (valueRange.isSet) WriteToFile(DataFile(), InfoName("_VRange"), valueRange);
  // Without time entries the list is the only record of the times.
  if (howManySaved > 2 || !saveEachTime) SaveTimeValues();
  DataFile().Flush();
}

std::string QXSeries::InfoName(const char* suffix) const { return "SeqInfo_" + name + suffix; }

std::string QXSeries::baseName() const { return baseName(howManySaved - 1); }

std::string QXSeries::baseName(int k) const { return name + "_" + QXInt2String(k); }

std::string QXSeries::ValueName(int k) const { return onlyOneTimeValue ? name : baseName(k); }

void QXSeries::SetSaveEachTime(bool b) {
  if (howManySaved > 0 && b != saveEachTime) {
    QXErrorMessage("QXSeries::SetSaveEachTime", "Can't switch in the middle.");
    return;
  }
  saveEachTime = b;
}

QXDoubleArray QXSeries::TimeValues() const {
  if (howManySaved == 0) return QXDoubleArray();
  QXMutableDoubleArray times(howManySaved, 1, 1);
  for (int k = 0; k < howManySaved; k++) times(k) = combinedTimeValues[k];
  return times;
}

bool QXSeries::TimeConsideredTheSame(double a, double b) {
  return std::fabs(a - b) <= (a + b) * 1e-6;
}

bool QXSeries::Refuse(const std::string& message) const {
  QXErrorMessage("QXSeries" + type, message);
  return false;
}

bool QXSeries::SharedSave(double t) {
  if (readOnly) return Refuse("The storage is read only.");
  if (!valid) return Refuse("The series did not open.");
  if (onlyOneTimeValue) return Refuse("Can not add a time value to the variable \"" + name + "\".");
  if (!(t >= 0)) return Refuse("Invalid time value.  Can't be negative.");
  if (!std::isfinite(t)) return Refuse("Invalid time value.  Has to be finite.");
  // Times extrapolated past the double range end in infinity or NaN; no
  // time is later than either, so such a series takes no more values.
  if (!(t > lastTimeValue)) return Refuse("Invalid time value.  Needs to be strictly increasing.");
  if (lastTimeValue >= 0 && TimeConsideredTheSame(lastTimeValue, t))
    return Refuse("Time values are too close together.");
  if (saveEachTime) {
    // The storage reports a time it cannot save (a name too long); the value
    // is then not saved either, so the count stays an unbroken run.
    const std::string timeName = baseName(howManySaved) + "_time";
    DataFile().Save(t, timeName);
    if (!DataFile().Contains(timeName)) return false;
  }
  combinedTimeValues.push_back(t);
  howManySaved++;
  lastTimeValue = t;
  return true;
}

// The storage reports a value it could not save; the value's time is then
// taken back, so that the count matches what is stored.
bool QXSeries::ConfirmSave() {
  if (!DataFile().Contains(baseName())) {
    howManySaved--;
    combinedTimeValues.pop_back();
    lastTimeValue = howManySaved > 0 ? combinedTimeValues.back() : -1;
    return false;
  }
  savedHere = true;
  DataFile().Flush();
  return true;
}

void QXSeries::AddToValueRange(QXRegion1D range) { Accumulate(valueRange, range); }
void QXSeries::AddToBBox(QXRegion2D box) { Accumulate(bbox2D, box); }
void QXSeries::AddToBBox(QXRegion3D box) { Accumulate(bbox3D, box); }

int QXSeries::IndexForTime(double t) const {
  if (!(t >= 0)) {
    QXErrorMessage("QXSeries::Get", "Time has to be >=0.");
    return -1;
  }
  if (howManySaved == 0) return -1;
  int lo = 0;
  int hi = howManySaved;
  while (hi - lo > 1) {
    int mid = lo + (hi - lo) / 2;
    if (t < combinedTimeValues[mid])
      hi = mid;
    else
      lo = mid;
  }
  if (hi < howManySaved && TimeConsideredTheSame(t, combinedTimeValues[hi])) return hi;
  return lo;
}

void QXSeries::SaveTimeValues() { DataFile().Save(TimeValues(), InfoName("_TimeValues")); }
