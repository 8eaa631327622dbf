// Writes the sample data file that the project ships in "Data Files/":
//
//   WriteSampleData "Data Files/Variables.mat"
//
// It holds sequences saved at several time values, a sequence saved once, a
// group with a nested group, numbers, strings and arrays of several element
// types, one of them three-dimensional. The sequences follow the naming
// convention that series and groups use: "Seq_" + name holds the kind,
// name_k the value at time k and name_k_time its time; a group lists its
// members under "SeqInfo_" + name. Every value is made with exact
// arithmetic, so that the file is the same on every machine of one byte order.
#include <cstdio>
#include <string>

#include "QXMatlabDataFile.h"

namespace {

// A 1 x n row whose element j is offset + step * j.
QXMutableDoubleArray Ramp(int n, double offset, double step) {
  QXMutableDoubleArray row(1, n, 1);
  for (int j = 0; j < n; j++) row(j) = offset + step * j;
  return row;
}

// One time-value entry of a sequence: the value under name_k and its time
// under name_k_time.
template <class Value>
void SaveTimeValue(QXDataStorage& storage, const std::string& name, int k, const Value& value,
                   double time) {
  std::string entry = name + "_" + std::to_string(k);
  storage.Save(value, entry);
  storage.Save(time, entry + "_time");
}

void SaveTemperatureSequence(QXDataStorage& storage) {
  storage.Save(std::string("RealNumber"), "Seq_Temperature");
  QXMutableDoubleArray times(12, 1, 1);
  for (int k = 0; k < 12; k++) {
    times(k) = 0.25 * k;
    SaveTimeValue(storage, "Temperature", k, 20.0 + 0.5 * k, times(k));
  }
  storage.Save(times, "SeqInfo_Temperature_TimeValues");
}

void SaveProfileSequence(QXDataStorage& storage) {
  storage.Save(std::string("Array"), "Seq_Profile");
  for (int k = 0; k < 5; k++) {
    QXDoubleArray profile = Ramp(64, k, 0.125);
    SaveTimeValue(storage, "Profile", k, profile, 1.0 * k);
  }
}

void SavePressureSavedOnce(QXDataStorage& storage) {
  storage.Save(std::string("Array"), "Seq_Pressure");
  QXMutableDoubleArray pressure(20, 30, 1);
  for (int i = 0; i < pressure.Length(); i++) pressure(i) = 101325.0 - 2.0 * i;
  storage.Save(pressure, "Pressure");
}

// A group saved at three times, with two members and a nested group.
void SaveFlowGroup(QXDataStorage& storage) {
  storage.Save(std::string("Group"), "Seq_Flow");
  for (int k = 0; k < 3; k++) SaveTimeValue(storage, "Flow", k, 0.5 * k, 0.5 * k);
  storage.Save(3, "SeqInfo_Flow_N");
  storage.Save(std::string("speed"), "SeqInfo_Flow_1N");
  storage.Save(std::string("Array"), "SeqInfo_Flow_1");
  storage.Save(std::string("pressure"), "SeqInfo_Flow_2N");
  storage.Save(std::string("RealNumber"), "SeqInfo_Flow_2");
  storage.Save(std::string("walls"), "SeqInfo_Flow_3N");
  storage.Save(std::string("Group"), "SeqInfo_Flow_3");
  storage.Save(2, "SeqInfo_Flow_3_N");
  storage.Save(std::string("left"), "SeqInfo_Flow_3_1N");
  storage.Save(std::string("Path"), "SeqInfo_Flow_3_1");
  storage.Save(std::string("right"), "SeqInfo_Flow_3_2N");
  storage.Save(std::string("Path"), "SeqInfo_Flow_3_2");
}

void SaveNumbersAndStrings(QXDataStorage& storage) {
  storage.Save(1500.0, "Reynolds");
  storage.Save(12, "StepCount");
  storage.Save(0.0625, "Viscosity");
  storage.Save(std::string("Channel flow"), "Title");
  storage.Save(std::string("Sample data written by WriteSampleData for the content report tool"),
               "Description");
}

void SaveArraysOfEveryKind(QXDataStorage& storage) {
  QXMutableDoubleArray density(4, 5, 3);
  for (int i = 0; i < density.Length(); i++) density(i) = 1.0 + 0.125 * i;
  storage.Save(density, "Density");

  QXMutableFloatArray levels(5, 1, 1);
  for (int i = 0; i < levels.Length(); i++) levels(i) = 0.5f * static_cast<float>(i);
  storage.Save(levels, "Levels");

  QXMutableIntArray counts(1, 10, 1);
  for (int i = 0; i < counts.Length(); i++) counts(i) = i * i;
  storage.Save(counts, "Counts");

  QXMutableUCharArray mask(8, 8, 1);
  for (int i = 0; i < mask.Length(); i++) mask(i) = static_cast<unsigned char>(i % 3 == 0);
  storage.Save(mask, "Mask");

  QXMutableShortIntArray offsets(3, 2, 1);
  for (int i = 0; i < offsets.Length(); i++) offsets(i) = static_cast<short>(-100 * i);
  storage.Save(offsets, "Offsets");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s output.mat\n", argv[0]);
    return 2;
  }
  QXMatlabDataFile storage(argv[1], QXFile::NewReadWrite);
  if (!storage.IsOpen()) return 1;
  SaveNumbersAndStrings(storage);
  SaveTemperatureSequence(storage);
  SaveProfileSequence(storage);
  SavePressureSavedOnce(storage);
  SaveFlowGroup(storage);
  SaveArraysOfEveryKind(storage);
  storage.Flush();
  return 0;
}
