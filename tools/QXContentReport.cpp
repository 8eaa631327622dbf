#include "QXContentReport.h"

#include <cstdio>
#include <string>

#include "QXError.h"

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

std::string TimeValuesSuffix(int count) {
  if (count <= 1) return std::string();
  return Separator + std::to_string(count) + " time values";
}

// The count a group claims comes from the data: a damaged file could claim
// two billion members and make us write two error lines for each. A group
// cannot have more real members than the storage has variables, so a large
// claim is checked against that number and the listing stops there. Small
// claims are taken as they stand, which spares listing every name per group.
const int MembersTakenUnchecked = 1000;

int MembersToList(const QXDataStorage& storage, const std::string& variable, int claimed) {
  if (claimed <= MembersTakenUnchecked) return claimed;
  int variableCount = storage.AllVariableNames().Length();
  if (claimed <= variableCount) return claimed;
  QXErrorMessage("DisplayGroup(" + variable + ")",
                 "The group claims " + std::to_string(claimed) + " members but the storage holds " +
                     std::to_string(variableCount) + " variables; listing " +
                     std::to_string(variableCount) + " of them.");
  return variableCount;
}

}  // namespace

void PrintReport(const QXDataStorage& storage) {
  QXList<std::string> sequences = storage.AllVariableNamesWithPrefix(SequencePrefix);
  for (int s = 0; s < sequences.Length(); s++) {
    std::string fullName = sequences(s);
    std::string kind = storage.ReadString(fullName);
    std::string name = fullName.substr(SequencePrefix.size());
    if (kind == GroupKind) {
      DisplayGroup(storage, name, GroupInfoPrefix + name, "");
    } else {
      WriteLine(name + Separator + kind + TimeValuesSuffix(CountTimeValues(storage, name)));
    }
  }
}

void DisplayGroup(const QXDataStorage& storage, std::string variable, std::string basename,
                  std::string indentation) {
  std::string header = indentation + variable + Separator + GroupKind;
  if (indentation.empty()) header += TimeValuesSuffix(CountTimeValues(storage, variable));
  WriteLine(header);

  std::string memberIndentation = indentation + IndentationUnit;
  int howMany = MembersToList(storage, variable, storage.ReadInt(basename + "_N"));
  for (int i = 1; i <= howMany; i++) {
    std::string memberBase = basename + "_" + std::to_string(i);
    std::string member = storage.ReadString(memberBase + "N");
    std::string kind = storage.ReadString(memberBase);
    if (kind == GroupKind) {
      DisplayGroup(storage, member, memberBase, memberIndentation);
    } else {
      WriteLine(memberIndentation + member + Separator + kind);
    }
  }
}

int CountTimeValues(const QXDataStorage& storage, std::string variable) {
  std::string stem = variable + "_";
  int count = 0;
  while (storage.Contains(stem + std::to_string(count))) count++;
  if (count == 0 && storage.Contains(variable)) count = 1;
  return count;
}
