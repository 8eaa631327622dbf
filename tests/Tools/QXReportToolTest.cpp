// The report tool as a whole: the task on real Matlab files in this process,
// and the built program run as a subprocess (through the emulator when the
// suite is cross-built), with its standard output and error kept apart.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "QXArguments.h"
#include "QXContentReport.h"
#include "QXMatlabDataFile.h"
#include "QXReportTestData.h"
#include "QXTestSupport.h"

namespace {

const std::string SampleFile = std::string(QX_SOURCE_DIR) + "/Data Files/Variables.mat";

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

// A fresh folder under /tmp, removed with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    char pattern[] = "/tmp/qxreport-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    path = made ? made : "";
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  std::string Path(const std::string& name) const { return path + "/" + name; }

  std::string path;
};

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct TaskOutput {
  int status;
  std::string text;
  std::vector<std::string> errors;
};

// ComputeTask with the given words after the program's name.
TaskOutput RunTask(std::vector<std::string> words) {
  std::vector<const char*> argv = {"qxreport"};
  for (const std::string& word : words) argv.push_back(word.c_str());
  QXSetArguments(static_cast<int>(argv.size()), argv.data());
  QXReportCapture capture;
  int status = ComputeTask();
  capture.Finish();
  const char* none[] = {"qxtests"};
  QXSetArguments(1, none);
  return {status, capture.stderrText, capture.errors};
}

void WriteFlowAndLevelFile(const std::string& path) {
  QXMatlabDataFile storage(path, QXFile::NewReadWrite);
  SaveFlowAndLevel(storage);
}

std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct ProcessOutput {
  int status;
  std::string out;
  std::string err;
};

// Runs program with the words in the folder workingDirectory; its standard
// output and error go to files in scratch.
ProcessOutput RunProgram(const std::string& program, const std::vector<std::string>& words,
                         const std::string& workingDirectory, const TemporaryFolder& scratch) {
  std::string outPath = scratch.Path("stdout.txt");
  std::string errPath = scratch.Path("stderr.txt");
  std::string command =
      "cd " + ShellQuoted(workingDirectory) + " && " + QX_EMULATOR + " " + ShellQuoted(program);
  for (const std::string& word : words) command += " " + ShellQuoted(word);
  command += " >" + ShellQuoted(outPath) + " 2>" + ShellQuoted(errPath) + " </dev/null";
  int raw = std::system(command.c_str());
  int status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
  return {status, ReadWholeFile(outPath), ReadWholeFile(errPath)};
}

ProcessOutput RunTool(const std::vector<std::string>& words, const std::string& workingDirectory,
                      const TemporaryFolder& scratch) {
  return RunProgram(QX_REPORT_TOOL_PATH, words, workingDirectory, scratch);
}

// The -all listing without its second line, which names the file.
std::string ListingWithoutPath(const std::string& listing) {
  std::istringstream lines(listing);
  std::string line, kept;
  for (int number = 0; std::getline(lines, line); number++)
    if (number != 1) kept += line + "\n";
  return kept;
}

const std::string Rule(64, '-');

}  // namespace

TEST(QXReportTool, ReportsAMatlabFileLineForLine) {
  TemporaryFolder folder;
  std::string path = folder.Path("flow.mat");
  WriteFlowAndLevelFile(path);
  TaskOutput output = RunTask({path});
  EXPECT_EQ(output.status, 0);
  EXPECT_EQ(output.text, FlowAndLevelReport);
  EXPECT_TRUE(output.errors.empty());
}

TEST(QXReportTool, FlagAllListsTheStorageBeforeOrAfterThePath) {
  TemporaryFolder folder;
  std::string path = folder.Path("flow.mat");
  WriteFlowAndLevelFile(path);
  TaskOutput before = RunTask({"-all", path});
  TaskOutput after = RunTask({path, "-all"});
  EXPECT_EQ(before.status, 0);
  EXPECT_EQ(after.status, 0);
  EXPECT_EQ(before.text, after.text);
  EXPECT_EQ(before.text.rfind(Rule + "\nContent of \"" + path + "\"\n" + Rule + "\n", 0), 0u)
      << before.text;
  EXPECT_NE(before.text.find("Level ........................ - double - 7.5\n"), std::string::npos)
      << before.text;
  EXPECT_EQ(before.text.find("Flow - Group"), std::string::npos);

  // Only the exact word -all asks for the listing.
  EXPECT_EQ(RunTask({"--all", path}).text, FlowAndLevelReport);
  EXPECT_EQ(RunTask({"-al", path}).text, FlowAndLevelReport);
}

TEST(QXReportTool, FirstWordWithoutADashIsThePath) {
  TemporaryFolder folder;
  std::string first = folder.Path("a.mat");
  std::string second = folder.Path("b.mat");
  WriteFlowAndLevelFile(first);
  {
    QXMatlabDataFile other(second, QXFile::NewReadWrite);
    other.Save(std::string("K"), "Seq_Other");
  }
  EXPECT_EQ(RunTask({"-x", first, second}).text, FlowAndLevelReport);
  EXPECT_EQ(RunTask({second, first}).text, "Other - K\n");
}

TEST(QXReportTool, FileThatCannotBeOpenedIsNamedAfterTheFileLayersMessage) {
  TemporaryFolder folder;
  std::string path = folder.Path("missing.mat");
  for (const auto& words :
       {std::vector<std::string>{path}, std::vector<std::string>{"-all", path}}) {
    TaskOutput output = RunTask(words);
    EXPECT_EQ(output.status, 0);
    ASSERT_EQ(output.errors.size(), 1u) << output.text;
    EXPECT_NE(output.errors[0].find(path), std::string::npos);
    EXPECT_EQ(output.text, output.errors[0] + "\nCould not open the file " + path + "\n");
  }

  // An empty word is a path too, and opens nothing.
  TaskOutput empty = RunTask({"-all", "", path});
  EXPECT_EQ(empty.text.substr(empty.text.find("\n") + 1), "Could not open the file \n");
}

TEST(QXReportTool, EmptyFileGivesAnEmptyReport) {
  TemporaryFolder folder;
  std::string path = folder.Path("empty.mat");
  std::fclose(std::fopen(path.c_str(), "wb"));
  TaskOutput report = RunTask({path});
  EXPECT_EQ(report.text, "");
  EXPECT_TRUE(report.errors.empty());
  TaskOutput listing = RunTask({"-all", path});
  EXPECT_EQ(listing.text, Rule + "\nContent of \"" + path + "\"\n" + Rule + "\n");
}

TEST(QXReportTool, ProgramWritesTheReportToStandardErrorOnly) {
  TemporaryFolder scratch;
  ProcessOutput report = RunTool({SampleFile}, scratch.path, scratch);
  EXPECT_EQ(report.status, 0);
  EXPECT_EQ(report.out, "");
  EXPECT_EQ(report.err, SampleReport);

  ProcessOutput listing = RunTool({SampleFile, "-all"}, scratch.path, scratch);
  EXPECT_EQ(listing.status, 0);
  EXPECT_EQ(listing.out, "");
  EXPECT_NE(listing.err.find("Content of \"" + SampleFile + "\"\n"), std::string::npos);
  EXPECT_NE(listing.err.find("Title ........................ - string - \"Channel flow\"\n"),
            std::string::npos)
      << listing.err;
}

TEST(QXReportTool, ProgramExitsWithZeroWhenTheFileCannotBeOpened) {
  TemporaryFolder scratch;
  for (const auto& words :
       {std::vector<std::string>{"all"}, std::vector<std::string>{"-all", "all"}}) {
    // The bare word all is a path, here one that does not exist.
    ProcessOutput output = RunTool(words, scratch.path, scratch);
    EXPECT_EQ(output.status, 0);
    EXPECT_EQ(output.out, "");
    size_t firstLineEnd = output.err.find('\n');
    ASSERT_NE(firstLineEnd, std::string::npos) << output.err;
    EXPECT_NE(output.err.substr(0, firstLineEnd).find("\"all\""), std::string::npos);
    EXPECT_EQ(output.err.substr(firstLineEnd + 1), "Could not open the file all\n");
  }
}

TEST(QXReportTool, ProgramWithoutArgumentsReadsTheDefaultPath) {
  TemporaryFolder scratch;
  // One folder below the repository, "../Data Files/Variables.mat" is the sample.
  ProcessOutput beside = RunTool({}, std::string(QX_SOURCE_DIR) + "/tools", scratch);
  EXPECT_EQ(beside.status, 0);
  EXPECT_EQ(beside.out, "");
  EXPECT_EQ(beside.err, SampleReport);

  std::filesystem::create_directory(scratch.Path("below"));
  ProcessOutput elsewhere = RunTool({"-all"}, scratch.Path("below"), scratch);
  EXPECT_EQ(elsewhere.status, 0);
  EXPECT_EQ(elsewhere.out, "");
  EXPECT_NE(elsewhere.err.find("\nCould not open the file ../Data Files/Variables.mat\n"),
            std::string::npos)
      << elsewhere.err;
}

TEST(QXReportTool, RegeneratedSampleFileReportsLikeTheShippedOne) {
  TemporaryFolder scratch;
  std::string regenerated = scratch.Path("Variables.mat");
  ProcessOutput writer = RunProgram(QX_EXAMPLE_WRITER_PATH, {regenerated}, scratch.path, scratch);
  ASSERT_EQ(writer.status, 0) << writer.err;
  EXPECT_EQ(writer.err, "");

  ProcessOutput shippedReport = RunTool({SampleFile}, scratch.path, scratch);
  ProcessOutput newReport = RunTool({regenerated}, scratch.path, scratch);
  EXPECT_EQ(shippedReport.err, SampleReport);
  EXPECT_EQ(newReport.err, shippedReport.err);

  ProcessOutput shippedListing = RunTool({"-all", SampleFile}, scratch.path, scratch);
  ProcessOutput newListing = RunTool({"-all", regenerated}, scratch.path, scratch);
  EXPECT_EQ(ListingWithoutPath(newListing.err), ListingWithoutPath(shippedListing.err));

  // The shipped file is little-endian; written here it is the same file.
  if (!QXDataStorage::RunningOnBigEndianMachine()) {
    EXPECT_TRUE(ReadWholeFile(regenerated) == ReadWholeFile(SampleFile));
  }
}
