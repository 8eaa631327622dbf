#include "QXContentReport.h"

#include <cstdio>
#include <string>

#include "QXError.h"
#include "QXStorageListingInternal.h"

namespace {

const std::string SequencePrefix = "Seq_";
const std::string GroupInfoPrefix = "SeqInfo_";
const std::string GroupKind = "Group";
const std::string Separator = " - ";
const std::string IndentationUnit = "    ";

// One report line on standard error, flushed so that it keeps its place
// among the storage's error reports.
void WriteLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

// Names and kinds come from the file: escaped, each stays on its line.
std::string Shown(const std::string& text) { return QXEscapeControlCharacters(text); }

std::string TimeValuesSuffix(int count) {
  if (count <= 1) return std::string();
  return Separator + std::to_string(count) + " time values";
}

// How many more group lines (a group's header and every member line beneath
// it) the report may write. A sound file stores at least one variable per
// group line (the group's "Seq_" entry, each member's kind), so the storage's
// number of variables bounds a sound report; more lines come only from
// counts that claim members the file does not hold or from groups that reach
// other groups' members. The first line refused is reported and every group
// line after it left out.
class GroupLineBudget {
 public:
  explicit GroupLineBudget(const QXDataStorage& storage) : storage(storage) {}

  bool Take(const std::string& group) {
    if (total < 0) left = total = storage.AllVariableNames().Length();
    if (left > 0) {
      left--;
      return true;
    }
    if (!exhausted) {
      exhausted = true;
      QXErrorMessage("DisplayGroup(" + Shown(group) + ")",
                     "The groups need more lines than the storage holds variables (" +
                         std::to_string(total) + "); the rest of the groups is left out.");
    }
    return false;
  }

 private:
  const QXDataStorage& storage;
  long long total = -1;  // counted when the first group line is asked for
  long long left = 0;
  bool exhausted = false;
};

// The header of a group whose line the budget has granted, then a line per
// member, one level deeper. Member i exists when its name or its kind is
// stored; the first that has neither ends the group, whatever count it
// claims. A nested group's base is its parent's base and "_i", so no group is
// ever reached again beneath itself, and the depth is bounded by the longest
// name the storage holds.
void WriteGroup(const QXDataStorage& storage, const std::string& variable,
                const std::string& basename, const std::string& indentation,
                GroupLineBudget& budget) {
  std::string header = indentation + Shown(variable) + Separator + GroupKind;
  if (indentation.empty()) header += TimeValuesSuffix(CountTimeValues(storage, variable));
  WriteLine(header);

  const std::string memberIndentation = indentation + IndentationUnit;
  const int howMany = storage.ReadInt(basename + "_N");
  for (long long i = 1; i <= howMany; i++) {
    const std::string memberBase = basename + "_" + std::to_string(i);
    const std::string nameVariable = memberBase + "N";
    if (!storage.Contains(nameVariable) && !storage.Contains(memberBase)) {
      QXErrorMessage("DisplayGroup(" + Shown(variable) + ")",
                     "Member " + std::to_string(i) + " of the " + std::to_string(howMany) +
                         " claimed has neither a name nor a kind; the group ends there.");
      return;
    }
    if (!budget.Take(variable)) return;
    const std::string member = storage.ReadString(nameVariable);
    const std::string kind = storage.ReadString(memberBase);
    if (kind == GroupKind) {
      WriteGroup(storage, member, memberBase, memberIndentation, budget);
    } else {
      WriteLine(memberIndentation + Shown(member) + Separator + Shown(kind));
    }
  }
}

}  // namespace

void PrintReport(const QXDataStorage& storage) {
  GroupLineBudget budget(storage);
  QXList<std::string> sequences = storage.AllVariableNamesWithPrefix(SequencePrefix);
  for (int s = 0; s < sequences.Length(); s++) {
    std::string fullName = sequences(s);
    std::string kind = storage.ReadString(fullName);
    std::string name = fullName.substr(SequencePrefix.size());
    if (kind == GroupKind) {
      if (budget.Take(name)) WriteGroup(storage, name, GroupInfoPrefix + name, "", budget);
    } else {
      WriteLine(Shown(name) + Separator + Shown(kind) +
                TimeValuesSuffix(CountTimeValues(storage, name)));
    }
  }
}

void DisplayGroup(const QXDataStorage& storage, std::string variable, std::string basename,
                  std::string indentation) {
  GroupLineBudget budget(storage);
  if (budget.Take(variable)) WriteGroup(storage, variable, basename, indentation, budget);
}

int CountTimeValues(const QXDataStorage& storage, std::string variable) {
  std::string stem = variable + "_";
  int count = 0;
  while (storage.Contains(stem + std::to_string(count))) count++;
  if (count == 0 && storage.Contains(variable)) count = 1;
  return count;
}
