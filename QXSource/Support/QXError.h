// Error reporting: every failing operation names itself and says what went
// wrong; the text goes to standard error at once and into a process-wide list.
//
//   QXErrorMessage("QXFile::ReadLine()", "No file");  // "QXFile::ReadLine(): No file"
//   for (const std::string& line : QXErrorListSnapshot()) ...
//
// Reports never stop the program; the caller returns its empty value.
// Concurrent reports are serialised, so list entries and lines never interleave;
// the snapshot and the clear take the same lock, so any thread may use them
// while others report.
#ifndef QXERROR_H
#define QXERROR_H

#include <string>
#include <vector>

// Reports fcn + ": " + msg.
void QXErrorMessage(const std::string& fcn, const std::string& msg);
// Reports msg unchanged.
void QXErrorMessage(const std::string& msg);
// Same text, list and stream as QXErrorMessage: warnings are not told apart.
void QXWarningMessage(const std::string& fcn, const std::string& msg);

// Out-of-range reports for arrays and lists of the named type.
void QXErrorOutOfRange(const std::string& type, int i, int m);
void QXErrorOutOfRange(const std::string& type, int i, int j, int m, int n);
void QXErrorOutOfRange(const std::string& type, int i, int j, int k, int m, int n, int o);

// A copy of the process-wide list of every reported message, oldest first.
std::vector<std::string> QXErrorListSnapshot();
// Empties the list.
void QXClearErrorList();

// The list itself, for callers that edit it in place. Unlocked: reading,
// clearing or editing it while another thread reports is a data race (the
// list may move in memory under the reader). Use the two calls above.
std::vector<std::string>& QXErrorList();

#endif
