// A time series: values of one variable type saved into a storage at
// strictly increasing times under one series name, and found again by time.
// QXSeries is the base of the typed series (QXSeriesRealNumber,
// QXSeriesMesh2D, ... in the headers of Series/); it owns the names, the
// time list, the lookup and the summaries, and the typed series write and
// read the values themselves.
//
//   QXMatlabDataFile file("run.mat", QXFile::NewReadWrite);
//   QXSeriesRealNumber energy(file, "Energy");
//   energy.Add(1.5, 0.0);
//   energy.Add(2.5, 0.1);
//   double e = energy.Get(0.05);              // 1.5: the value saved at or before 0.05
//
// Entries of a series S with type string T (the typed series' class name
// without "QXSeries": "RealNumber", "Mesh2D", ...):
//   "Seq_" + S                  the string T, written when the series is created
//   S + "_" + k                 value k (k = 0, 1, ...), with its own companions
//   S + "_" + k + "_time"       time of value k (double), while SaveEachTime is on
//   "SeqInfo_" + S + "_TimeValues"  every time, count x 1, written at the end
//   "SeqInfo_" + S + "_BBox"    bounding box of every value (QXRegion2D or 3D)
//   "SeqInfo_" + S + "_VRange"  value range of every value (QXRegion1D)
// The three "SeqInfo_" summaries are written when the series object goes,
// and only when it saved a value. The time list is written for three values
// or more, or for any number when SaveEachTime is off (then it is the only
// record of the times). A series that is only read writes nothing.
//
// Opening a series that exists checks its type string, then counts the
// unbroken run S_0, S_1, ... (as the content report does). The times come
// from the stored time list when that list is finite, non-negative and
// strictly increasing, else from the S_k_time entries while they go on
// rising, else by extrapolation with the last step (1 at first). The stored
// summaries are taken over, so the ones written at the end cover every value.
// Creating a series where S_0, S_1, ... already exist continues after them.
// A series whose "Seq_" entry is there but whose values are only a plain
// variable S (a value saved once, without a time) opens as one value at time
// 0, which Get reads from S itself; nothing can be added to it.
//
// Failures are reported through QXErrorMessage:
//   "QXSeries" + T + "(file,name)": "The file already contains a variable
//     with the same name but a differen type." (the series is then empty,
//     and every add is refused).
//   "QXSeries" + T, on an add that is refused and writes nothing:
//     "The storage is read only.", "The series did not open.",
//     "Can not add a time value to the variable \"S\"." (a plain variable),
//     "Invalid time value.  Can't be negative." (also NaN),
//     "Invalid time value.  Has to be finite." (+infinity),
//     "Invalid time value.  Needs to be strictly increasing.",
//     "Time values are too close together." (see TimeConsideredTheSame).
//   "QXSeries::SetSaveEachTime": "Can't switch in the middle."
//   "QXSeries::Get": "Time has to be >=0." (also NaN).
// A value the storage did not save (it reports why) is not counted, and
// its time is taken back. A read-only storage without the series gives an
// empty series and no report.
//
// A series is used by one thread. It shares its storage, which it keeps
// open, and it is not copyable.
#ifndef QXSERIES_H
#define QXSERIES_H

#include <string>
#include <vector>

#include "QXDataStorage.h"
#include "QXDoubleArray.h"
#include "QXPointer.h"
#include "QXRegion.h"

class QXSeries {
 public:
  QXSeries(const QXSeries&) = delete;
  QXSeries& operator=(const QXSeries&) = delete;
  // Writes the summaries and the time list when this object saved a value.
  virtual ~QXSeries();

  // The entry of the most recently saved value, name + "_" + (count - 1).
  std::string baseName() const;
  // The entry of value k, name + "_" + k.
  std::string baseName(int k) const;
  // Whether each add writes its time as an entry of its own (on at first).
  // It can be switched only before the first value of the series.
  void SetSaveEachTime(bool b);
  int HowManySaved() const { return howManySaved; }
  // The time of the last value; -1 while there is none.
  double LastTimeValue() const { return lastTimeValue; }
  // The times of the values, a new count x 1 array.
  QXDoubleArray TimeValues() const;
  // True when |a - b| <= (a + b) * 1e-6: two times this close name one value.
  static bool TimeConsideredTheSame(double a, double b);

 protected:
  // Opens the series S of type string T in the storage, or creates it.
  QXSeries(QXDataStorage& storage, std::string name, std::string type);

  // Checks the time of a new value and records it (writing its time entry
  // when saving each time); true when the caller may now write the value
  // under baseName(). A refused time is reported and changes nothing.
  bool SharedSave(double time);
  // One whole add: SharedSave, then write(storage, baseName()), then the
  // check that the value is there (else its time is taken back), then Flush.
  // True when the value was saved.
  template <class Write>
  bool SaveWith(double time, Write write) {
    if (!SharedSave(time)) return false;
    write(DataFile(), baseName());
    return ConfirmSave();
  }
  // SaveWith the value's own WriteToFile.
  template <class Value>
  bool SaveValue(const Value& value, double time) {
    return SaveWith(time, [&value](QXDataStorage& storage, const std::string& entry) {
      WriteToFile(storage, entry, value);
    });
  }
  // The value that applies at `time` read with its own ReadFromFile, or the
  // empty value when there is none.
  template <class Value>
  Value ReadValue(double time) const {
    Value value{};
    int k = IndexForTime(time);
    if (k >= 0) ReadFromFile(DataFile(), ValueName(k), value);
    return value;
  }

  // Replace each summary by its union with the argument. A region with a
  // NaN bound adds nothing.
  void AddToValueRange(QXRegion1D range);
  void AddToBBox(QXRegion2D box);
  void AddToBBox(QXRegion3D box);
  // The index of the value saved at or before `time` (a time a hair below a
  // saved one finds that one; a time before the first finds the first), or
  // -1 for an empty series or a negative or NaN time (which is reported).
  int IndexForTime(double time) const;
  // Writes the time list under "SeqInfo_" + name + "_TimeValues".
  void SaveTimeValues();
  // The entry that holds value k: baseName(k), or the plain variable.
  std::string ValueName(int k) const;
  QXDataStorage& DataFile() { return *theDataFile; }
  const QXDataStorage& DataFile() const { return *theDataFile; }

  std::string name;
  std::string type;
  int howManySaved;
  double lastTimeValue;
  bool saveEachTime;

 private:
  void FindSavedValues();
  void TakeOverSummaries();
  bool ConfirmSave();
  bool Refuse(const std::string& message) const;
  std::string InfoName(const char* suffix) const;

  bool readOnly;
  bool valid;
  bool onlyOneTimeValue;
  bool savedHere;  // this object saved a value, so the summaries are due
  QXRegion1D valueRange;
  QXRegion2D bbox2D;
  QXRegion3D bbox3D;
  QXMutablePointer<QXDataStorage> theDataFile;
  std::vector<double> combinedTimeValues;  // the first howManySaved are the times
};

#endif
