// The process's command-line words, kept in one place so that any part of the
// program can ask for them. The entry point stores them once:
//
//   QXSetArguments(argc, argv);
//   bool all = QXArgumentIncludesFlag("all");   // true for "-all"
//   int count = QXArgumentIntegerEntry("n");    // 12 for "-n 12"
//
// Flags are written "-name" on the command line and named without the dash.
#ifndef QXARGUMENTS_H
#define QXARGUMENTS_H

#include <string>
#include <vector>

// The words after the program's name, in order, and the program's name itself.
extern std::vector<std::string> QXInputArgumentList;
extern std::string QXApplicationName;

// Replaces the stored words with argv[1..argc-1]; argv[0] becomes the name.
void QXSetArguments(int argc, const char** argv);
int QXHowManyArguments();
// Reports "number out of bounds." and returns "" outside [0, QXHowManyArguments()).
std::string QXGetArgumentNumber(int num);
// True when some argument is exactly "-" + flagName.
bool QXArgumentIncludesFlag(const std::string& flagName);
// The word after the first "-" + flagName; "" when the flag is absent, last,
// or followed by an empty word or another flag.
std::string QXArgumentFlagEntry(const std::string& flagName);
// QXArgumentFlagEntry read as a decimal integer the way atoi reads it (leading
// space, a sign, digits up to the first other character); 0 when there are no
// digits. Values beyond the int range saturate instead of overflowing.
int QXArgumentIntegerEntry(const std::string& flagName);

#endif
