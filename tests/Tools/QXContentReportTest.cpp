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
    const size_t mark = std::min(entry.find_first_of("=#"), entry.size());
    const std::string name = entry.substr(0, mark), value = entry.substr(mark + (entry[mark] != 0));
    if (!entry[mark]) storage.Save(1.0, name);
    if (entry[mark] == '=') storage.Save(value, name);
    if (entry[mark] == '#') storage.Save(std::stoi(value), name);
  }
}

// A group with time values and a nested group, and a sequence saved once.
const char* const FlowAndLevel =
    "Seq_Flow=Group SeqInfo_Flow_N#2 SeqInfo_Flow_1N=speed SeqInfo_Flow_1=K1 "
    "SeqInfo_Flow_2N=walls SeqInfo_Flow_2=Group SeqInfo_Flow_2_N#1 SeqInfo_Flow_2_1N=left "
    "SeqInfo_Flow_2_1=K2 Flow_0 Flow_1 Seq_Level=K3 Level";
const std::string FlowAndLevelReport =
    "Flow - Group - 2 time values\n    speed - K1\n    walls - Group\n        left - K2\n"
    "Level - K3\n";
const std::string NoString = "QXMemoryStorage::ReadString: No string variable ";

// The lines of members from..to of group G that have neither name nor kind.
std::string MissingMembers(int from, int to) {
  std::string text;
  for (int i = from; i <= to; i++) {
    const std::string base = NoString + "SeqInfo_G_" + std::to_string(i);
    text += base + "N\n" + base + "\n     - \n";
  }
  return text;
}

const char* const SampleReport =
    "Flow - Group - 3 time values\n    speed - Array\n    pressure - RealNumber\n"
    "    walls - Group\n        left - Path\n        right - Path\nPressure - Array\n"
    "Profile - Array - 5 time values\nTemperature - RealNumber - 12 time values\n";

std::string ReadWholeFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

std::string Quoted(const std::string& word) {  // for the shell
  return "'" + std::regex_replace(word, std::regex("'"), "'\\''") + "'";
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
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(raw != -1 && WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << command;
    EXPECT_EQ(ReadWholeFile(Path("out")), "") << command;
    return ReadWholeFile(Path("err"));
  }
  char folder[32] = "/tmp/qxreport-test-XXXXXX";
};

}  // namespace

TEST(QXContentReport, WritesEachLineAmongTheStoragesReports) {
  const std::string group = "Seq_G=Group ", members = " SeqInfo_G_1N=a SeqInfo_G_1=K";
  const std::pair<std::string, std::string> cases[] = {
      {FlowAndLevel, FlowAndLevelReport},
      {"", ""},
      // The storage's order of names; names without the exact prefix are not sequences;
      // time values show from two on; the empty name is a name.
      {"Seq_b=K Seq_B=K Seq_a=K SeqInfo_x=y seq_c=y x Seq_S=K S_0 S_1 Seq_T=K T_0 Seq_U=K "
       "Seq_=K _0 _1",
       " - K - 2 time values\nB - K\nS - K - 2 time values\nT - K\nU - K\na - K\nb - K\n"},
      {"Seq_S#3 S_0 S_1 Seq_T",
       NoString + "Seq_S\nS -  - 2 time values\n" + NoString + "Seq_T\nT - \n"},
      {group + "SeqInfo_G_N#0 Seq_H=Group SeqInfo_H_N#-3", "G - Group\nH - Group\n"},
      {group, "G - Group\nQXMemoryStorage::Read: Did not find the variable SeqInfo_G_N\n"},
      // Only a top-level group shows its time values; members' are not looked for.
      {group +
           "G_0 G_1 G_2 G_3 G_4 SeqInfo_G_N#2 SeqInfo_G_1N=inner SeqInfo_G_1=Group "
           "SeqInfo_G_2N=member SeqInfo_G_2=K SeqInfo_G_1_N#1 SeqInfo_G_1_1N=deep "
           "SeqInfo_G_1_1=Group SeqInfo_G_1_1_N#0 inner_0 inner_1 member_0 member_1 deep_0 deep_1",
       "G - Group - 5 time values\n    inner - Group\n        deep - Group\n    member - K\n"},
      {group + "SeqInfo_G_N#2 SeqInfo_G_1=K SeqInfo_G_2N=b",
       "G - Group\n" + NoString + "SeqInfo_G_1N\n     - K\n" + NoString +
           "SeqInfo_G_2\n    b - \n"},
      // A claim beyond the number of variables is cut when it is large, not when small.
      {group + "SeqInfo_G_N#2000000000" + members,
       "G - Group\nDisplayGroup(G): The group claims 2000000000 members but the storage holds 4 "
       "variables; listing 4 of them.\n    a - K\n" +
           MissingMembers(2, 4)},
      {group + "SeqInfo_G_N#6" + members, "G - Group\n    a - K\n" + MissingMembers(2, 6)},
  };
  for (const auto& [entries, report] : cases) {
    QXMemoryStorage storage;
    SaveEntries(storage, entries);
    testing::internal::CaptureStderr();
    PrintReport(storage);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), report) << entries;
  }
  // CountTimeValues counts the unbroken run of time values from zero.
  const std::pair<const char*, int> counts[] = {
      {"", 0}, {"S S_1 S_2", 1}, {"S_0 S_1 S_2 S_4", 3}, {"S_00 S_0_time", 0}};
  for (const auto& [entries, count] : counts) {
    QXMemoryStorage storage;
    SaveEntries(storage, entries);
    EXPECT_EQ(CountTimeValues(storage, "S"), count) << entries;
  }
}

TEST_F(QXReportTool, PathIsTheFirstWordWithoutADashOrTheSampleAndOnlyTheWordAllLists) {
  const std::string a = MatlabFile("a.mat", FlowAndLevel), b = MatlabFile("b.mat", "Seq_Other=K");
  EXPECT_EQ(Run({"-x", a, b}) + Run({b, a}), FlowAndLevelReport + "Other - K\n");
  const std::string listing = Run({"-all", a}), rule(64, '-');
  EXPECT_EQ(Run({a, "-all"}), listing);
  EXPECT_EQ(listing.rfind(rule + "\nContent of \"" + a + "\"\n" + rule + "\n", 0), 0u) << listing;
  EXPECT_NE(listing.find("\nSeq_Level .................... - string - \"K3\"\n"), listing.npos);
  EXPECT_EQ(Run({"--all", a}) + Run({"-al", a}), FlowAndLevelReport + FlowAndLevelReport);
  // An empty word is a path too, and opens nothing; so is the bare word all.
  auto notOpened = [](const std::string& name) {
    return "QXFile(name,type): Could not open the file \"" + name + "\"\nCould not open the file " +
           name + "\n";
  };
  EXPECT_EQ(Run({"-all", "", a}), notOpened(""));
  for (const auto& words :
       {std::vector<std::string>{"all"}, {"-all", "all"}, {"-x", "all", "-all"}})
    EXPECT_EQ(Run(words), notOpened("all"));
  // Without a path, one folder below the repository, "../Data Files/Variables.mat" is the sample.
  EXPECT_EQ(Run({}, QX_SOURCE_DIR "/tools"), SampleReport);
  std::filesystem::create_directory(Path("below"));
  EXPECT_EQ(Run({"-all"}, Path("below")), notOpened("../Data Files/Variables.mat"));
  // The sample regenerated here reports and lists like the shipped one (named alike).
  EXPECT_EQ(Run({"Variables.mat"}, "", QX_EXAMPLE_WRITER_PATH), "");
  EXPECT_EQ(Run({"Variables.mat"}), SampleReport);
  EXPECT_EQ(Run({"-all", "Variables.mat"}),
            Run({"-all", "Variables.mat"}, QX_SOURCE_DIR "/Data Files"));
  // The shipped file is little-endian; written here it is the same file.
  EXPECT_TRUE(QXDataStorage::RunningOnBigEndianMachine() ||
              ReadWholeFile(Path("Variables.mat")) ==
                  ReadWholeFile(QX_SOURCE_DIR "/Data Files/Variables.mat"));
}
