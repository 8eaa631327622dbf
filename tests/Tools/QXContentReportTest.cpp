// The content report: PrintReport on in-memory storages, and the built tool
// run as a subprocess (through the emulator when the suite is cross-built)
// on real Matlab files, with its standard output and error kept apart.
#include "QXContentReport.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "QXMemoryStorage.h"
#include "QXTestSupport.h"

namespace {

// Saves each entry of a list separated by single spaces: "name=text" as a
// string, "name#n" as the int n, and a bare name as the int 1.
void SaveEntries(QXDataStorage& storage, const std::string& entries) {
  std::istringstream words(entries);
  for (std::string entry; std::getline(words, entry, ' ');) {
    const size_t text = entry.find('=');
    const size_t number = entry.find('#');
    if (text != std::string::npos) {
      storage.Save(entry.substr(text + 1), entry.substr(0, text));
    } else {
      const int value = number == std::string::npos ? 1 : std::stoi(entry.substr(number + 1));
      storage.Save(value, entry.substr(0, number));
    }
  }
}

QXMemoryStorage Holding(const std::string& entries) {
  QXMemoryStorage storage;
  SaveEntries(storage, entries);
  return storage;
}

// What PrintReport writes for a storage holding the entries.
std::string ReportOf(const std::string& entries) {
  const QXMemoryStorage storage = Holding(entries);
  testing::internal::CaptureStderr();
  PrintReport(storage);
  return testing::internal::GetCapturedStderr();
}

long LineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// n groups G0, G1, ... that each claim `claim` members and hold none.
std::string GroupsClaimingMembers(int n, int claim) {
  std::string entries;
  for (int g = 0; g < n; g++) {
    const std::string name = "G" + std::to_string(g);
    entries += "Seq_" + name + "=Group SeqInfo_" + name + "_N#" + std::to_string(claim) + " ";
  }
  return entries;
}

// Top-level groups G, G_1, G_1_1, ... each holding the next as its only
// member, so that every group is also a member of the one before it; the
// last holds a member of kind K.
std::string ChainOfGroups(int depth) {
  std::string entries;
  std::string name = "G";
  for (int d = 0; d < depth; d++) {
    const std::string base = "SeqInfo_" + name;
    const std::string kind = d + 1 < depth ? "Group" : "K";
    entries += "Seq_" + name + "=Group " + base + "_N#1 " + base + "_1N=" + name + "_1 " + base +
               "_1=" + kind + " ";
    name += "_1";
  }
  return entries;
}

const std::string NotFound = "QXMemoryStorage::Read: Did not find the variable ";

const char* const SampleReport =
    "Flow - Group - 3 time values\n"
    "    speed - Array\n"
    "    pressure - RealNumber\n"
    "    walls - Group\n"
    "        left - Path\n"
    "        right - Path\n"
    "Pressure - Array\n"
    "Profile - Array - 5 time values\n"
    "Temperature - RealNumber - 12 time values\n";

std::string Quoted(const std::string& word) {  // for the shell
  return "'" + std::regex_replace(word, std::regex("'"), "'\\''") + "'";
}

// What the file layer and the tool write for a path that does not open.
std::string NotOpened(const std::string& path) {
  return "QXFile(name,type): Could not open the file \"" + path + "\"\n" +
         "Could not open the file " + path + "\n";
}

// Each tool test works in a fresh folder under /tmp, removed with everything in it.
class QXReportTool : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(mkdtemp(folder), nullptr); }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::string Path(const std::string& name) const { return folder + ("/" + name); }
  std::string MatlabFile(const std::string& name, const std::string& entries) const {
    QXMatlabDataFile storage(Path(name), QXFile::NewReadWrite);
    SaveEntries(storage, entries);
    return Path(name);
  }
  // Runs the program with the words in the folder `where` (default: ours),
  // expects exit status 0 and nothing on standard output, and returns what
  // it wrote to standard error.
  std::string Run(const std::vector<std::string>& words, const std::string& where = "",
                  const std::string& program = QX_REPORT_TOOL_PATH) const {
    std::string command = "cd " + Quoted(where.empty() ? folder : where) + " && " + QX_EMULATOR +
                          " " + Quoted(program);
    for (const std::string& word : words) command += " " + Quoted(word);
    command += " >" + Quoted(Path("out")) + " 2>" + Quoted(Path("err")) + " </dev/null";
    const int status = std::system(command.c_str());
    EXPECT_NE(status, -1) << command;
    EXPECT_TRUE(WIFEXITED(status)) << command;
    EXPECT_EQ(WEXITSTATUS(status), 0) << command;
    EXPECT_EQ(QXReadFile(Path("out")), "") << command;
    return QXReadFile(Path("err"));
  }
  char folder[32] = "/tmp/qxreport-test-XXXXXX";
};

}  // namespace

TEST(QXContentReport, WritesGroupsAsAnIndentedTreeAndSequencesOnALine) {
  const std::string entries =
      "Seq_Flow=Group SeqInfo_Flow_N#2 SeqInfo_Flow_1N=speed SeqInfo_Flow_1=K1 "
      "SeqInfo_Flow_2N=walls SeqInfo_Flow_2=Group SeqInfo_Flow_2_N#1 SeqInfo_Flow_2_1N=left "
      "SeqInfo_Flow_2_1=K2 Flow_0 Flow_1 Seq_Level=K3 Level";
  EXPECT_EQ(ReportOf(entries),
            "Flow - Group - 2 time values\n"
            "    speed - K1\n"
            "    walls - Group\n"
            "        left - K2\n"
            "Level - K3\n");
}

// A kind that is no string is reported and left empty.
TEST(QXContentReport, SequenceLineIsNameKindAndCount) {
  const std::pair<std::string, std::string> cases[] = {
      {"Seq_S=K S_0 S_1", "S - K - 2 time values\n"},
      {"Seq_=K _0 _1", " - K - 2 time values\n"},
      {"Seq_S#3 S", NotFound + "Seq_S\nS - \n"},
  };
  for (const auto& [entries, report] : cases) EXPECT_EQ(ReportOf(entries), report) << entries;
}

// A missing count is reported and read as 0.
TEST(QXContentReport, GroupWithoutMembersWritesOnlyItsHeader) {
  const std::pair<std::string, std::string> cases[] = {
      {"Seq_G=Group SeqInfo_G_N#-3", "G - Group\n"},
      {"Seq_G=Group", "G - Group\n" + NotFound + "SeqInfo_G_N\n"},
  };
  for (const auto& [entries, report] : cases) EXPECT_EQ(ReportOf(entries), report) << entries;
}

TEST(QXContentReport, OnlyTopLevelGroupsShowTimeValues) {
  const std::string entries =
      "Seq_G=Group G_0 G_1 SeqInfo_G_N#1 SeqInfo_G_1N=inner SeqInfo_G_1=Group SeqInfo_G_1_N#0 "
      "inner_0 inner_1";
  EXPECT_EQ(ReportOf(entries), "G - Group - 2 time values\n    inner - Group\n");
}

TEST(QXContentReport, MemberWithoutKindIsReportedAndShownWithAnEmptyKind) {
  EXPECT_EQ(ReportOf("Seq_G=Group SeqInfo_G_N#1 SeqInfo_G_1N=b"),
            "G - Group\n" + NotFound + "SeqInfo_G_1\n    b - \n");
}

TEST(QXContentReport, MemberWithNeitherNameNorKindEndsItsGroupWithOneReport) {
  EXPECT_EQ(ReportOf("Seq_G=Group SeqInfo_G_N#2000000000 SeqInfo_G_1N=a SeqInfo_G_1=K Seq_H=K"),
            "G - Group\n"
            "    a - K\n"
            "DisplayGroup(G): Member 2 of the 2000000000 claimed has neither a name nor a kind; "
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
      {"S_00 S_0_time", 0},
  };
  for (const auto& [entries, count] : cases) {
    EXPECT_EQ(CountTimeValues(Holding(entries), "S"), count) << entries;
  }
}

TEST_F(QXReportTool, FlagsAreSkippedAndTheFirstPathIsOpened) {
  const std::string a = MatlabFile("a.mat", "Seq_A=K");
  const std::string b = MatlabFile("b.mat", "Seq_B=K");
  EXPECT_EQ(Run({"-x", a, b}), "A - K\n");
}

// The listing escapes the values it shows.
TEST_F(QXReportTool, AllListsTheStorageBeforeOrAfterThePath) {
  const std::string a = MatlabFile("a.mat", "Seq_S=K\nfake");
  const std::string rule(64, '-');
  const std::string listing = rule + "\nContent of \"" + a + "\"\n" + rule + "\n" +
                              "Seq_S ........................ - string - \"K\\nfake\"\n";
  EXPECT_EQ(Run({"-all", a}), listing);
  EXPECT_EQ(Run({a, "-all"}), listing);
}

// Each of these paths fails to open, so the tool writes the file layer's
// report, then its own line.
TEST_F(QXReportTool, FirstWordWithoutADashIsThePathEvenAllOrEmpty) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"all"}, "all"},
      {{"-x", "all", "-all"}, "all"},
      {{"-all", "", "a.mat"}, ""},
  };
  for (const auto& [words, path] : cases) EXPECT_EQ(Run(words), NotOpened(path)) << path;
}

TEST_F(QXReportTool, WithoutAPathOneFolderBelowTheRepositoryReportsTheSample) {
  EXPECT_EQ(Run({}, QX_SOURCE_DIR "/tools"), SampleReport);
}

TEST_F(QXReportTool, RegeneratedSampleReadsLikeTheShippedOne) {
  EXPECT_EQ(Run({"Variables.mat"}, "", QX_EXAMPLE_WRITER_PATH), "");
  EXPECT_EQ(Run({"Variables.mat"}), SampleReport);
  EXPECT_EQ(Run({"-all", "Variables.mat"}),
            Run({"-all", "Variables.mat"}, QX_SOURCE_DIR "/Data Files"));
}

// The shape of a 77 KB file that took 30 s, 566 MB and six million lines:
// 1000 groups, each claiming as many members as the file has variables.
TEST_F(QXReportTool, GroupsClaimingMissingMembersGiveTwoLinesEach) {
  const std::string hostile = MatlabFile("hostile.mat", GroupsClaimingMembers(1000, 2000));
  EXPECT_EQ(LineCount(Run({hostile})), 2000);
}
