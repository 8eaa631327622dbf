// The content report: PrintReport on in-memory storages, and the built tool
// run as a subprocess (through the emulator when the suite is cross-built)
// on real Matlab files, with its standard output and error kept apart.
#include "QXContentReport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "QXMatlabDataFile.h"
#include "QXMemoryStorage.h"
#include "QXTestSupport.h"

namespace {

// Saves each space-separated entry: "name=text" as a string, "name#n" as the
// int n, and a bare name as the number 1.
void SaveEntries(QXDataStorage& storage, const std::string& entries) {
  std::istringstream words(entries);
  for (std::string entry; words >> entry;) {
    const size_t text = entry.find('=');
    const size_t number = entry.find('#');
    if (text != std::string::npos) {
      storage.Save(entry.substr(text + 1), entry.substr(0, text));
    } else if (number != std::string::npos) {
      storage.Save(std::stoi(entry.substr(number + 1)), entry.substr(0, number));
    } else {
      storage.Save(1.0, entry);
    }
  }
}

// What PrintReport writes for a storage holding the entries.
std::string ReportOf(const QXDataStorage& storage) {
  testing::internal::CaptureStderr();
  PrintReport(storage);
  return testing::internal::GetCapturedStderr();
}

std::string ReportOf(const std::string& entries) {
  QXMemoryStorage storage;
  SaveEntries(storage, entries);
  return ReportOf(storage);
}

int CountOf(const std::string& entries) {
  QXMemoryStorage storage;
  SaveEntries(storage, entries);
  return CountTimeValues(storage, "S");
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// n groups G0, G1, ... that each claim `claim` members and hold none.
std::string GroupsClaimingMembers(int n, int claim) {
  std::string entries;
  for (int g = 0; g < n; g++) {
    const std::string name = "G" + std::to_string(g);
    entries += " Seq_" + name + "=Group SeqInfo_" + name + "_N#" + std::to_string(claim);
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
    entries += " Seq_" + name + "=Group " + base + "_N#1 " + base + "_1N=" + name + "_1 " + base +
               "_1=" + kind;
    name += "_1";
  }
  return entries;
}

// A group with time values and a nested group, and a sequence saved once.
const char* const FlowAndLevel =
    "Seq_Flow=Group SeqInfo_Flow_N#2 SeqInfo_Flow_1N=speed SeqInfo_Flow_1=K1 "
    "SeqInfo_Flow_2N=walls SeqInfo_Flow_2=Group SeqInfo_Flow_2_N#1 SeqInfo_Flow_2_1N=left "
    "SeqInfo_Flow_2_1=K2 Flow_0 Flow_1 Seq_Level=K3 Level";
const char* const FlowAndLevelReport =
    "Flow - Group - 2 time values\n"
    "    speed - K1\n"
    "    walls - Group\n"
    "        left - K2\n"
    "Level - K3\n";
const std::string NoString = "QXMemoryStorage::ReadString: No string variable ";

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

std::string ReadWholeFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

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
    EXPECT_EQ(ReadWholeFile(Path("out")), "") << command;
    return ReadWholeFile(Path("err"));
  }
  char folder[32] = "/tmp/qxreport-test-XXXXXX";
};

}  // namespace

TEST(QXContentReport, WritesGroupsAsAnIndentedTreeAndSequencesOnALine) {
  EXPECT_EQ(ReportOf(FlowAndLevel), FlowAndLevelReport);
}

TEST(QXContentReport, StorageWithoutSequencesGivesAnEmptyReport) {
  EXPECT_EQ(ReportOf("SeqInfo_x=y seq_c=y x"), "");
}

TEST(QXContentReport, SequencesComeInTheStoragesOrderOfNames) {
  EXPECT_EQ(ReportOf("Seq_b=K Seq_B=K Seq_a=K"), "B - K\na - K\nb - K\n");
}

TEST(QXContentReport, OnlyTwoTimeValuesOrMoreAreCounted) {
  const std::pair<const char*, const char*> cases[] = {
      {"Seq_S=K S_0 S_1", "S - K - 2 time values\n"},
      {"Seq_S=K S_0", "S - K\n"},
  };
  for (const auto& [entries, report] : cases) EXPECT_EQ(ReportOf(entries), report) << entries;
}

TEST(QXContentReport, WholeNameSeqGivesTheEmptyName) {
  EXPECT_EQ(ReportOf("Seq_=K _0 _1"), " - K - 2 time values\n");
}

TEST(QXContentReport, KindNotStoredAsStringIsReportedAndLeftEmpty) {
  EXPECT_EQ(ReportOf("Seq_S#3 S_0 S_1"), NoString + "Seq_S\nS -  - 2 time values\n");
}

TEST(QXContentReport, GroupClaimingNoMembersWritesOnlyItsHeader) {
  const char* const cases[] = {
      "Seq_G=Group SeqInfo_G_N#0",
      "Seq_G=Group SeqInfo_G_N#-3",
  };
  for (const char* entries : cases) EXPECT_EQ(ReportOf(entries), "G - Group\n") << entries;
}

TEST(QXContentReport, GroupWithoutCountIsReportedAndWritesOnlyItsHeader) {
  EXPECT_EQ(ReportOf("Seq_G=Group"),
            "G - Group\nQXMemoryStorage::Read: Did not find the variable SeqInfo_G_N\n");
}

TEST(QXContentReport, OnlyTopLevelGroupsShowTimeValues) {
  const std::string entries =
      "Seq_G=Group G_0 G_1 SeqInfo_G_N#1 SeqInfo_G_1N=inner SeqInfo_G_1=Group SeqInfo_G_1_N#0 "
      "inner_0 inner_1";
  EXPECT_EQ(ReportOf(entries), "G - Group - 2 time values\n    inner - Group\n");
}

TEST(QXContentReport, MemberWithoutNameIsReportedAndShownWithAnEmptyName) {
  EXPECT_EQ(ReportOf("Seq_G=Group SeqInfo_G_N#1 SeqInfo_G_1=K"),
            "G - Group\n" + NoString + "SeqInfo_G_1N\n     - K\n");
}

TEST(QXContentReport, MemberWithoutKindIsReportedAndShownWithAnEmptyKind) {
  EXPECT_EQ(ReportOf("Seq_G=Group SeqInfo_G_N#1 SeqInfo_G_1N=b"),
            "G - Group\n" + NoString + "SeqInfo_G_1\n    b - \n");
}

TEST(QXContentReport, MemberWithNeitherNameNorKindEndsItsGroupWithOneReport) {
  EXPECT_EQ(ReportOf("Seq_G=Group SeqInfo_G_N#2000000000 SeqInfo_G_1N=a SeqInfo_G_1=K Seq_H=K"),
            "G - Group\n"
            "    a - K\n"
            "DisplayGroup(G): Member 2 of the 2000000000 claimed has neither a name nor a kind; "
            "the group ends there.\n"
            "H - K\n");
}

// 100 groups claiming 200 members each, in a storage of 200 variables: one
// header and one report each, where each claim used to cost 600 lines.
TEST(QXContentReport, GroupsClaimingMissingMembersWriteTwoLinesEach) {
  EXPECT_EQ(LinesOf(ReportOf(GroupsClaimingMembers(100, 200))).size(), 200u);
}

// Each group of the chain is written again inside the one before it, so its
// lines grow with the square of the depth; they stop at the number of
// variables, with one report.
TEST(QXContentReport, GroupLinesStopAtTheNumberOfVariables) {
  const std::vector<std::string> lines = LinesOf(ReportOf(ChainOfGroups(30)));
  ASSERT_EQ(lines.size(), 4u * 30 + 1);
  EXPECT_EQ(lines.back(),
            "DisplayGroup(G_1_1_1_1_1): The groups need more lines than the storage holds "
            "variables (120); the rest of the groups is left out.");
}

TEST(QXContentReport, KindWithALineFeedStaysOnItsLine) {
  QXMemoryStorage storage;
  storage.Save(std::string("K\nfake - line"), "Seq_S");
  EXPECT_EQ(ReportOf(storage), "S - K\\nfake - line\n");
}

TEST(QXContentReport, SequenceNameWithControlCharactersIsEscaped) {
  QXMemoryStorage storage;
  storage.Save(std::string("K"), "Seq_a\tb\r");
  EXPECT_EQ(ReportOf(storage), "a\\tb\\r - K\n");
}

TEST(QXContentReport, GroupAndMemberTextsAreEscaped) {
  QXMemoryStorage storage;
  storage.Save(1, "SeqInfo_G\x1b_N");
  storage.Save(std::string("Group"), "Seq_G\x1b");
  storage.Save(std::string("m\n"), "SeqInfo_G\x1b_1N");
  storage.Save(std::string("k\\"), "SeqInfo_G\x1b_1");
  EXPECT_EQ(ReportOf(storage), "G\\x1b - Group\n    m\\n - k\\\\\n");
}

TEST(QXContentReport, UTF8NamesPrintUnchanged) {
  EXPECT_EQ(ReportOf("Seq_Größe=K"), "Größe - K\n");
}

TEST(QXContentReport, CountTimeValuesCountsTheUnbrokenRunFromZero) {
  const std::pair<const char*, int> cases[] = {
      {"", 0},
      {"S S_1 S_2", 1},
      {"S_0 S_1 S_2 S_4", 3},
      {"S_00 S_0_time", 0},
  };
  for (const auto& [entries, count] : cases) EXPECT_EQ(CountOf(entries), count) << entries;
}

TEST_F(QXReportTool, FlagsAreSkippedAndTheFirstPathIsOpened) {
  const std::string a = MatlabFile("a.mat", FlowAndLevel);
  const std::string b = MatlabFile("b.mat", "Seq_Other=K");
  EXPECT_EQ(Run({"-x", a, b}), FlowAndLevelReport);
}

TEST_F(QXReportTool, AllListsTheStorageBeforeOrAfterThePath) {
  const std::string a = MatlabFile("a.mat", FlowAndLevel);
  EXPECT_EQ(Run({a, "-all"}), Run({"-all", a}));
}

TEST_F(QXReportTool, ListingStartsWithThePathBetweenRules) {
  const std::string a = MatlabFile("a.mat", FlowAndLevel);
  const std::string rule(64, '-');
  const std::string listing = Run({"-all", a});
  EXPECT_EQ(listing.rfind(rule + "\nContent of \"" + a + "\"\n" + rule + "\n", 0), 0u) << listing;
}

TEST_F(QXReportTool, ListingEscapesControlCharactersInValues) {
  const std::string a = Path("a.mat");
  QXMatlabDataFile(a, QXFile::NewReadWrite).Save(std::string("K\nfake"), "Seq_S");
  const std::string listing = Run({"-all", a});
  EXPECT_NE(listing.find("\nSeq_S ........................ - string - \"K\\nfake\"\n"),
            listing.npos);
}

TEST_F(QXReportTool, OnlyTheExactFlagAllLists) {
  const std::string a = MatlabFile("a.mat", FlowAndLevel);
  EXPECT_EQ(Run({"--all", a}), FlowAndLevelReport);
  EXPECT_EQ(Run({"-al", a}), FlowAndLevelReport);
}

TEST_F(QXReportTool, EmptyWordIsAPath) {
  const std::string a = MatlabFile("a.mat", FlowAndLevel);
  EXPECT_EQ(Run({"-all", "", a}), NotOpened(""));
}

TEST_F(QXReportTool, BareWordAllIsAPath) {
  const std::vector<std::string> cases[] = {
      {"all"},
      {"-all", "all"},
      {"-x", "all", "-all"},
  };
  for (const auto& words : cases) EXPECT_EQ(Run(words), NotOpened("all"));
}

TEST_F(QXReportTool, WithoutAPathOneFolderBelowTheRepositoryReportsTheSample) {
  EXPECT_EQ(Run({}, QX_SOURCE_DIR "/tools"), SampleReport);
}

TEST_F(QXReportTool, WithoutAPathElsewhereTheSampleDoesNotOpen) {
  std::filesystem::create_directory(Path("below"));
  EXPECT_EQ(Run({"-all"}, Path("below")), NotOpened("../Data Files/Variables.mat"));
}

TEST_F(QXReportTool, RegeneratedSampleReportsLikeTheShippedOne) {
  EXPECT_EQ(Run({"Variables.mat"}, "", QX_EXAMPLE_WRITER_PATH), "");
  EXPECT_EQ(Run({"Variables.mat"}), SampleReport);
}

TEST_F(QXReportTool, RegeneratedSampleListsLikeTheShippedOne) {
  Run({"Variables.mat"}, "", QX_EXAMPLE_WRITER_PATH);
  EXPECT_EQ(Run({"-all", "Variables.mat"}),
            Run({"-all", "Variables.mat"}, QX_SOURCE_DIR "/Data Files"));
}

TEST_F(QXReportTool, RegeneratedSampleIsTheShippedFileOnALittleEndianMachine) {
  if (QXDataStorage::RunningOnBigEndianMachine())
    GTEST_SKIP() << "the shipped file is little-endian";
  Run({"Variables.mat"}, "", QX_EXAMPLE_WRITER_PATH);
  EXPECT_EQ(ReadWholeFile(Path("Variables.mat")),
            ReadWholeFile(QX_SOURCE_DIR "/Data Files/Variables.mat"));
}

// The shape of a 77 KB file that took 30 s, 566 MB and six million lines:
// 1000 groups, each claiming as many members as the file has variables.
TEST_F(QXReportTool, GroupsClaimingMissingMembersGiveTwoLinesEach) {
  const std::string hostile = MatlabFile("hostile.mat", GroupsClaimingMembers(1000, 2000));
  EXPECT_EQ(LinesOf(Run({hostile})).size(), 2000u);
}
