// Writes the sample data file that the project ships in "Data Files/":
//
//   WriteSampleData "Data Files/Variables.mat"
//
// It holds what a simulation saves through the library's time series: a 2D
// mesh, a number and a path, each saved at several times, and an array saved
// once; a group with a nested group, which has no series class and is written
// by the naming convention the content report reads ("Seq_" + name holds
// "Group", its members are listed under "SeqInfo_" + name); and numbers,
// strings and arrays of several element types, one of them
// three-dimensional. Every value is made with exact arithmetic, so that the
// file is the same on every machine of one byte order.
#include <cstdio>
#include <string>

#include "QXMatlabDataFile.h"
#include "QXSeriesMesh2D.h"
#include "QXSeriesPath2D.h"
#include "QXSeriesRealNumber.h"

namespace {

// The number series writes each value and its time, then at its end the
// value range and the list of all times.
void SaveTemperatureSeries(QXDataStorage& storage) {
  QXSeriesRealNumber temperature(storage, "Temperature");
  for (int k = 0; k < 12; k++) temperature.Add(20.0 + 0.5 * k, 0.25 * k);
}

// Values on a placed 6 x 4 grid at four times; each mesh keeps its grid
// under its "_loc" companion, and the series ends with the bounding box and
// the value range of all four.
void SaveVorticitySeries(QXDataStorage& storage) {
  QXSeriesMesh2D vorticity(storage, "Vorticity");
  const QXMesh2DGrid grid(QXPoint2D(-1.0, 0.5), 0.25, 0.125, 6, 4);
  for (int k = 0; k < 4; k++) {
    QXMutableDoubleArray values(6, 4, 1);
    for (int j = 0; j < 4; j++)
      for (int i = 0; i < 6; i++) values(i, j) = 0.0625 * (i - 2 * j) * (k + 1);
    vorticity.Add(QXMesh2D(values, grid), 0.5 * k);
  }
}

// A closed square outline (its last point repeats the first) that grows at
// each of three times.
void SaveOutlineSeries(QXDataStorage& storage) {
  QXSeriesPath2D outline(storage, "Outline");
  const double corners[][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
  for (int k = 0; k < 3; k++) {
    QXMutableDoubleArray loop(2, 6, 1);
    loop(0, 0) = 0;
    loop(1, 0) = 5;
    for (int p = 0; p < 5; p++) {
      loop(0, p + 1) = corners[p][0] * (1 + 0.5 * k);
      loop(1, p + 1) = corners[p][1] * (1 + 0.5 * k);
    }
    outline.Add(QXPath2D(loop), 1.0 * k);
  }
}

// A series saved once: the series records its kind, and the value is the
// plain variable of the series' name, which a series opened over it reads as
// one value at time 0.
void SavePressureSavedOnce(QXDataStorage& storage) {
  const QXSeriesArray series(storage, "Pressure");
  QXMutableDoubleArray pressure(20, 30, 1);
  for (int i = 0; i < pressure.Length(); i++) pressure(i) = 101325.0 - 2.0 * i;
  storage.Save(pressure, "Pressure");
}

// A group saved at three times, with two members and a nested group.
void SaveFlowGroup(QXDataStorage& storage) {
  storage.Save(std::string("Group"), "Seq_Flow");
  for (int k = 0; k < 3; k++) {
    const std::string entry = "Flow_" + std::to_string(k);
    storage.Save(0.5 * k, entry + "_time");
    storage.Save(0.5 * k, entry);
  }
  storage.Save(3, "SeqInfo_Flow_N");
  storage.Save(std::string("speed"), "SeqInfo_Flow_1N");
  storage.Save(std::string("Array"), "SeqInfo_Flow_1");
  storage.Save(std::string("pressure"), "SeqInfo_Flow_2N");
  storage.Save(std::string("RealNumber"), "SeqInfo_Flow_2");
  storage.Save(std::string("walls"), "SeqInfo_Flow_3N");
  storage.Save(std::string("Group"), "SeqInfo_Flow_3");
  storage.Save(2, "SeqInfo_Flow_3_N");
  storage.Save(std::string("left"), "SeqInfo_Flow_3_1N");
  storage.Save(std::string("Path2D"), "SeqInfo_Flow_3_1");
  storage.Save(std::string("right"), "SeqInfo_Flow_3_2N");
  storage.Save(std::string("Path2D"), "SeqInfo_Flow_3_2");
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
  SaveTemperatureSeries(storage);
  SaveVorticitySeries(storage);
  SaveOutlineSeries(storage);
  SavePressureSavedOnce(storage);
  SaveFlowGroup(storage);
  SaveArraysOfEveryKind(storage);
  storage.Flush();
  return 0;
}
