// The content report: PrintReport on in-memory storages, and the built tool
// run as a subprocess (through the emulator when the suite is cross-built)
// on real Matlab files, with its standard output and error kept apart.
#include "QXContentReport.h"

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <sstream>

#include "QXMemoryStorage.h"
#include "QXTestSupport.h"

namespace {

// Saves each entry of a list separated by single spaces: "name=text" as a
// string, "name#n" as the int n, and a bare name as the int 1.
const QXDataStorage& SaveEntries(QXDataStorage&& storage, const std::string& entries) {
  std::istringstream words(entries);
  for (std::string entry; std::getline(words, entry, ' ');) {
    const size_t text = entry.find('=');
    const size_t number = entry.find('#');
    if (text != std::string::npos) {
      storage.Save(entry.substr(text + 1), entry.substr(0, text));
    } else {
      storage.Save(number == std::string::npos ? 1 : std::stoi(entry.substr(number + 1)),
                   entry.substr(0, number));
    }
  }
  return storage;
}

// What PrintReport writes for a storage holding the entries.
std::string ReportOf(const std::string& entries) {
  testing::internal::CaptureStderr();
  PrintReport(SaveEntries(QXMemoryStorage(), entries));
  return testing::internal::GetCapturedStderr();
}

long LineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// Top-level groups G, G_1, G_1_1, ... each holding the next as its only
// member, so that every group is also a member of the one before it; the
// last member is of kind K.
std::string ChainOfGroups(int depth) {
  std::string entries;
  for (std::string name = "G"; name.size() < 2u * depth; name += "_1") {
    const std::string base = "SeqInfo_" + name;
    const std::string kind = name.size() + 2 < 2u * depth ? "Group" : "K";
    entries += "Seq_" + name + "=Group " + base + "_N#1 " + base + "_1N=" + name + "_1 " + base +
               "_1=" + kind + " ";
  }
  return entries;
}

std::string Quoted(const std::string& word) {  // for the shell
  return "'" + std::regex_replace(word, std::regex("'"), "'\\''") + "'";
}

// Runs the program with the words in the folder of the tool's sources, from
// which the default path names the shipped sample; expects exit status 0 and
// nothing on standard output, and returns what it wrote to standard error.
std::string RunTool(const std::vector<std::string>& words,
                    const char* program = QX_REPORT_TOOL_PATH) {
  const QXTempPath out("out", ".txt");
  const QXTempPath err("err", ".txt");
  std::string command =
      "cd " + Quoted(QX_SOURCE_DIR "/tools") + " && " + QX_EMULATOR + " " + Quoted(program);
  for (const std::string& word : words) command += " " + Quoted(word);
  const int status =
      std::system((command + " >" + out.path + " 2>" + err.path + " </dev/null").c_str());
  EXPECT_EQ(status, 0) << command;  // exited with status 0
  EXPECT_EQ(out.Read(), "") << command;
  return err.Read();
}

// A listing without its heading, which names the file.
std::string Entries(const std::string& listing) {
  const std::string rule = std::string(64, '-') + "\n";
  return listing.substr(listing.find(rule, rule.size()) + rule.size());
}

}  // namespace

// Members, nested groups included, never show their time values.
TEST(QXContentReport, WritesGroupsAsAnIndentedTreeAndSequencesOnALine) {
  const std::string entries =
      "Seq_Flow=Group SeqInfo_Flow_N#2 SeqInfo_Flow_1N=speed SeqInfo_Flow_1=K1 "
      "SeqInfo_Flow_2N=walls SeqInfo_Flow_2=Group SeqInfo_Flow_2_N#1 SeqInfo_Flow_2_1N=left "
      "SeqInfo_Flow_2_1=K2 Flow_0 Flow_1 walls_0 walls_1 Seq_Level=K3 Level";
  EXPECT_EQ(ReportOf(entries),
            "Flow - Group - 2 time values\n"
            "    speed - K1\n"
            "    walls - Group\n"
            "        left - K2\n"
            "Level - K3\n");
}

// A member with a name or a kind is shown, the missing text reported by the
// storage and left empty.
TEST(QXContentReport, MemberWithNeitherNameNorKindEndsItsGroupWithOneReport) {
  EXPECT_EQ(ReportOf("Seq_G=Group SeqInfo_G_N#2000000000 SeqInfo_G_1N=a SeqInfo_G_2=K Seq_H=K"),
            "G - Group\n"
            "QXMemoryStorage::Read: Did not find the variable SeqInfo_G_1\n"
            "    a - \n"
            "QXMemoryStorage::Read: Did not find the variable SeqInfo_G_2N\n"
            "     - K\n"
            "DisplayGroup(G): Member 3 of the 2000000000 claimed has neither a name nor a kind; "
            "the group ends there.\n"
            "H - K\n");
}

// Each group of the chain is written again inside the one before it, so its
// lines grow with the square of the depth; they stop at the number of
// variables, with one report.
TEST(QXContentReport, GroupLinesStopAtTheNumberOfVariables) {
  const std::string report = ReportOf(ChainOfGroups(30));
  EXPECT_EQ(LineCount(report), 4 * 30 + 1);
  EXPECT_EQ(report.substr(report.find("DisplayGroup")),
            "DisplayGroup(G_1_1_1_1_1): The groups need more lines than the storage holds "
            "variables (120); the rest of the groups is left out.\n");
}

TEST(QXContentReport, NamesAndKindsAreWrittenWithControlCharactersEscaped) {
  const std::string entries =
      "Seq_a\tb=K\nfake Seq_G\x1b=Group SeqInfo_G\x1b_N#1 SeqInfo_G\x1b_1N=m\r "
      "SeqInfo_G\x1b_1=k\\";
  EXPECT_EQ(ReportOf(entries), "G\\x1b - Group\n    m\\r - k\\\\\na\\tb - K\\nfake\n");
}

TEST(QXContentReport, CountTimeValuesCountsTheUnbrokenRunFromZero) {
  const std::pair<const char*, int> cases[] = {
      {"", 0},
      {"S S_1 S_2", 1},
      {"S_0 S_1 S_2 S_4", 3},
  };
  for (const auto& [entries, count] : cases) {
    EXPECT_EQ(CountTimeValues(SaveEntries(QXMemoryStorage(), entries), "S"), count) << entries;
  }
}

// A path that does not open gives the file layer's report, then the tool's line.
TEST(QXReportTool, FirstWordWithoutADashIsThePath) {
  const QXTempPath a("a");
  const QXTempPath b("b");
  SaveEntries(QXMatlabDataFile(a.path, QXFile::NewReadWrite), "Seq_A=K");
  SaveEntries(QXMatlabDataFile(b.path, QXFile::NewReadWrite), "Seq_B=K");
  const std::string notOpened = "QXFile(name,type): Could not open the file ";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"-x", a.path, b.path}, "A - K\n"},
      {{"-x", "all", "-all"}, notOpened + "\"all\"\nCould not open the file all\n"},
      {{"-all", "", a.path}, notOpened + "\"\"\nCould not open the file \n"},
  };
  for (const auto& [words, output] : cases) EXPECT_EQ(RunTool(words), output) << output;
}

// The listing escapes the names and values it shows, before the dots.
TEST(QXReportTool, AllListsTheStorageBeforeOrAfterThePath) {
  const QXTempPath a("a");
  SaveEntries(QXMatlabDataFile(a.path, QXFile::NewReadWrite), "Seq_\tS=K\nfake");
  const std::string rule(64, '-');
  const std::string listing = rule + "\nContent of \"" + a.path + "\"\n" + rule + "\n" +
                              "Seq_\\tS ...................... - string - \"K\\nfake\"\n";
  EXPECT_EQ(RunTool({"-all", a.path}), listing);
  EXPECT_EQ(RunTool({a.path, "-all"}), listing);
}

// Without a path the tool reads the shipped sample.
TEST(QXReportTool, RegeneratedSampleReadsLikeTheShippedOne) {
  const QXTempPath copy("sample");
  EXPECT_EQ(RunTool({copy.path}, QX_EXAMPLE_WRITER_PATH), "");
  EXPECT_EQ(RunTool({copy.path}), RunTool({}));
  EXPECT_EQ(Entries(RunTool({"-all", copy.path})), Entries(RunTool({"-all"})));
}

// The shape of a 77 KB file that took 30 s, 566 MB and six million lines:
// 1000 groups, each claiming as many members as the file has variables.
TEST(QXReportTool, GroupsClaimingMissingMembersGiveTwoLinesEach) {
  const QXTempPath hostile("hostile");
  std::string entries;
  for (int g = 0; g < 1000; g++) {
    entries += "Seq_G" + std::to_string(g) + "=Group SeqInfo_G" + std::to_string(g) + "_N#2000 ";
  }
  SaveEntries(QXMatlabDataFile(hostile.path, QXFile::NewReadWrite), entries);
  EXPECT_EQ(LineCount(RunTool({hostile.path})), 2000);
}
