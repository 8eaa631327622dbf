#include "QXContentReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QXMemoryStorage.h"
#include "QXReportTestData.h"
#include "QXTestSupport.h"

namespace {

// What PrintReport wrote to standard error and which reports the storage made.
struct ReportOutput {
  std::string text;
  std::vector<std::string> errors;
};

ReportOutput ReportOf(const QXDataStorage& storage) {
  QXReportCapture capture;
  PrintReport(storage);
  capture.Finish();
  return {capture.stderrText, capture.errors};
}

}  // namespace

TEST(QXContentReport, ExpandsGroupsIntoAnIndentedTree) {
  QXMemoryStorage storage;
  SaveFlowAndLevel(storage);
  ReportOutput output = ReportOf(storage);
  EXPECT_EQ(output.text, FlowAndLevelReport);
  EXPECT_TRUE(output.errors.empty());
}

TEST(QXContentReport, ListsSequencesInTheStoragesOrderOfNames) {
  QXMemoryStorage storage;
  storage.Save(std::string("K"), "Seq_b");
  storage.Save(std::string("K"), "Seq_B");
  storage.Save(std::string("K"), "Seq_a");
  storage.Save(std::string("not a sequence"), "SeqInfo_x");
  storage.Save(std::string("not a sequence"), "seq_c");
  EXPECT_EQ(ReportOf(storage).text, "B - K\na - K\nb - K\n");
}

TEST(QXContentReport, StorageWithoutSequencesGivesAnEmptyReport) {
  QXMemoryStorage empty;
  ReportOutput output = ReportOf(empty);
  EXPECT_EQ(output.text, "");
  EXPECT_TRUE(output.errors.empty());

  QXMemoryStorage plain;
  plain.Save(1.0, "x");
  plain.Save(std::string("Group"), "SeqInfo_G");
  EXPECT_EQ(ReportOf(plain).text, "");
}

TEST(QXContentReport, CountsTheUnbrokenRunOfTimeValuesFromZero) {
  QXMemoryStorage storage;
  EXPECT_EQ(CountTimeValues(storage, "S"), 0);
  storage.Save(1.0, "S");
  EXPECT_EQ(CountTimeValues(storage, "S"), 1);
  storage.Save(1.0, "S_1");
  storage.Save(1.0, "S_2");
  EXPECT_EQ(CountTimeValues(storage, "S"), 1) << "without S_0 the run is empty";
  storage.Save(1.0, "S_0");
  EXPECT_EQ(CountTimeValues(storage, "S"), 3);
  storage.Save(1.0, "S_4");
  EXPECT_EQ(CountTimeValues(storage, "S"), 3) << "S_3 is missing";

  QXMemoryStorage gap;
  gap.Save(1.0, "T_0");
  gap.Save(1.0, "T_2");
  EXPECT_EQ(CountTimeValues(gap, "T"), 1);
  // Names that merely look alike do not count.
  gap.Save(1.0, "U_00");
  gap.Save(1.0, "U_0_time");
  EXPECT_EQ(CountTimeValues(gap, "U"), 0);
}

TEST(QXContentReport, ShowsACountOnlyForMoreThanOneTimeValue) {
  QXMemoryStorage two;
  two.Save(std::string("K"), "Seq_S");
  two.Save(1.0, "S_0");
  two.Save(2.0, "S_1");
  EXPECT_EQ(ReportOf(two).text, "S - K - 2 time values\n");

  QXMemoryStorage one;
  one.Save(std::string("K"), "Seq_S");
  one.Save(1.0, "S_0");
  EXPECT_EQ(ReportOf(one).text, "S - K\n");

  QXMemoryStorage none;
  none.Save(std::string("K"), "Seq_S");
  ReportOutput output = ReportOf(none);
  EXPECT_EQ(output.text, "S - K\n");
  EXPECT_TRUE(output.errors.empty());
}

TEST(QXContentReport, KindNotStoredAsAStringIsReportedAndLeftEmpty) {
  QXMemoryStorage storage;
  storage.Save(3.0, "Seq_S");
  storage.Save(1.0, "S_0");
  storage.Save(2.0, "S_1");
  storage.Save(4.0, "Seq_T");
  ReportOutput output = ReportOf(storage);
  EXPECT_EQ(output.text,
            "QXMemoryStorage::ReadString: No string variable Seq_S\n"
            "S -  - 2 time values\n"
            "QXMemoryStorage::ReadString: No string variable Seq_T\n"
            "T - \n");
  EXPECT_EQ(output.errors.size(), 2u);
}

TEST(QXContentReport, SequenceNamedOnlyByThePrefixHasAnEmptyName) {
  QXMemoryStorage storage;
  storage.Save(std::string("K"), "Seq_");
  EXPECT_EQ(ReportOf(storage).text, " - K\n");
  storage.Save(1.0, "_0");
  storage.Save(1.0, "_1");
  EXPECT_EQ(ReportOf(storage).text, " - K - 2 time values\n");
}

TEST(QXContentReport, GroupWithoutMembersWritesOnlyItsHeader) {
  QXMemoryStorage zero;
  zero.Save(std::string("Group"), "Seq_G");
  zero.Save(0, "SeqInfo_G_N");
  ReportOutput output = ReportOf(zero);
  EXPECT_EQ(output.text, "G - Group\n");
  EXPECT_TRUE(output.errors.empty());

  QXMemoryStorage negative;
  negative.Save(std::string("Group"), "Seq_G");
  negative.Save(-3, "SeqInfo_G_N");
  EXPECT_EQ(ReportOf(negative).text, "G - Group\n");

  QXMemoryStorage missing;
  missing.Save(std::string("Group"), "Seq_G");
  output = ReportOf(missing);
  EXPECT_EQ(output.text,
            "G - Group\n"
            "QXMemoryStorage::Read: Did not find the variable SeqInfo_G_N\n");
  EXPECT_EQ(output.errors.size(), 1u);
}

TEST(QXContentReport, OnlyATopLevelGroupShowsItsTimeValues) {
  QXMemoryStorage storage;
  storage.Save(std::string("Group"), "Seq_G");
  for (int k = 0; k < 5; k++) storage.Save(1.0 * k, "G_" + std::to_string(k));
  storage.Save(2, "SeqInfo_G_N");
  storage.Save(std::string("inner"), "SeqInfo_G_1N");
  storage.Save(std::string("Group"), "SeqInfo_G_1");
  storage.Save(std::string("member"), "SeqInfo_G_2N");
  storage.Save(std::string("K"), "SeqInfo_G_2");
  storage.Save(1, "SeqInfo_G_1_N");
  storage.Save(std::string("deep"), "SeqInfo_G_1_1N");
  storage.Save(std::string("Group"), "SeqInfo_G_1_1");
  storage.Save(0, "SeqInfo_G_1_1_N");
  // Time values stored under the members' names are not looked for.
  for (const char* name : {"inner", "member", "deep"}) {
    storage.Save(1.0, std::string(name) + "_0");
    storage.Save(1.0, std::string(name) + "_1");
  }
  ReportOutput output = ReportOf(storage);
  EXPECT_EQ(output.text,
            "G - Group - 5 time values\n"
            "    inner - Group\n"
            "        deep - Group\n"
            "    member - K\n");
  EXPECT_TRUE(output.errors.empty());
}

TEST(QXContentReport, MissingMemberNameOrKindLeavesItsPlaceEmpty) {
  QXMemoryStorage storage;
  storage.Save(std::string("Group"), "Seq_G");
  storage.Save(2, "SeqInfo_G_N");
  storage.Save(std::string("K"), "SeqInfo_G_1");
  storage.Save(std::string("b"), "SeqInfo_G_2N");
  ReportOutput output = ReportOf(storage);
  EXPECT_EQ(output.text,
            "G - Group\n"
            "QXMemoryStorage::ReadString: No string variable SeqInfo_G_1N\n"
            "     - K\n"
            "QXMemoryStorage::ReadString: No string variable SeqInfo_G_2\n"
            "    b - \n");
}

TEST(QXContentReport, GroupClaimingMoreMembersThanStoredVariablesIsCut) {
  QXMemoryStorage storage;
  storage.Save(std::string("Group"), "Seq_G");
  storage.Save(2000000000, "SeqInfo_G_N");
  storage.Save(std::string("a"), "SeqInfo_G_1N");
  storage.Save(std::string("K"), "SeqInfo_G_1");
  ReportOutput output = ReportOf(storage);
  ASSERT_FALSE(output.errors.empty());
  EXPECT_EQ(output.errors[0],
            "DisplayGroup(G): The group claims 2000000000 members but the storage holds 4 "
            "variables; listing 4 of them.");
  // Member 1 is whole; members 2 to 4 are missing both name and kind.
  EXPECT_EQ(output.errors.size(), 1u + 3 * 2);
  EXPECT_NE(output.text.find("    a - K\n"), std::string::npos);
  size_t memberLines = 0;
  for (size_t at = output.text.find("\n    "); at != std::string::npos;
       at = output.text.find("\n    ", at + 1)) {
    memberLines++;
  }
  EXPECT_EQ(memberLines, 4u);

  // A small claim is listed as it stands, missing members included.
  storage.Save(6, "SeqInfo_G_N");
  output = ReportOf(storage);
  EXPECT_EQ(output.errors.size(), 5u * 2);
  EXPECT_EQ(output.text.find("DisplayGroup"), std::string::npos);
}
