// The content report: what a storage holds, by the naming convention that
// series and groups of variables follow when they save themselves.
//
//   QXMatlabDataFile file("run.mat", QXFile::ReadOnly);
//   PrintReport(file);   // "Flow - Group - 2 time values", "    speed - ...", ...
//
// Every line goes to standard error and is flushed at once, so that it keeps
// its place among the storage's error reports. Nothing goes to standard
// output.
//
// Names and kinds come from the file and are written with their control
// characters escaped (a line feed as \n, see QXEscapeControlCharacters), so
// each line is one entry. The report's work and length are bounded by the
// storage, however much a damaged or hostile file claims:
//  - a group member whose name and kind are both missing ends its group, with
//    one report naming the member and the count the group claimed;
//  - a group's members live under its own base plus "_i", so no group is
//    ever expanded again beneath itself;
//  - all groups together write at most as many lines (headers and member
//    lines) as the storage has variables; the first line beyond is reported
//    and the rest of the groups left out.
// A sound file never meets these bounds.
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
// Groups are expanded into an indented tree; all of them share one bound on
// group lines.
void PrintReport(const QXDataStorage& storage);

// The group's header line (with its count of time values only when the
// indentation is empty) and a line per member, one indentation level deeper;
// nested groups recurse. basename is the stem of the member variables:
// basename_N holds the count, basename_iN the name and basename_i the kind of
// member i. Bounded as above, the group on its own.
void DisplayGroup(const QXDataStorage& storage, std::string variable, std::string basename,
                  std::string indentation);

// The length of the unbroken run variable_0, variable_1, ...; 1 when there is
// no such run but variable itself is stored, else 0.
int CountTimeValues(const QXDataStorage& storage, std::string variable);

#endif
