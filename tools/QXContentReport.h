// The content report: what a storage holds, by the naming convention that
// series and groups of variables follow when they save themselves.
//
//   QXMatlabDataFile file("run.mat", QXFile::ReadOnly);
//   PrintReport(file);   // "Flow - Group - 2 time values", "    speed - ...", ...
//
// Every line goes to standard error and is flushed at once, so that it keeps
// its place among the storage's own error reports. Nothing goes to standard
// output.
#ifndef QXCONTENTREPORT_H
#define QXCONTENTREPORT_H

#include <string>

#include "QXDataStorage.h"

// The tool's task: opens the data file named by the first argument that does
// not begin with '-' (default "../Data Files/Variables.mat") read-only and
// writes its report, or with the flag -all the storage's listing. A file
// that cannot be opened gives "Could not open the file <path>". Returns 0.
int ComputeTask();

// One line per "Seq_" variable in the storage's order of names: the name,
// its kind and, when it was saved at more than one time value, how many.
// Groups are expanded into an indented tree.
void PrintReport(const QXDataStorage& storage);

// The group's header line (with its count of time values only when the
// indentation is empty) and a line per member, one indentation level deeper;
// nested groups recurse. basename is the stem of the member variables:
// basename_N holds the count, basename_iN the name and basename_i the kind of
// member i.
void DisplayGroup(const QXDataStorage& storage, std::string variable, std::string basename,
                  std::string indentation);

// The length of the unbroken run variable_0, variable_1, ...; 1 when there is
// no such run but variable itself is stored, else 0.
int CountTimeValues(const QXDataStorage& storage, std::string variable);

#endif
