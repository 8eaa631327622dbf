#include "QXSaveError.h"

#include "../DataFile/QXMemoryStorage.h"
#include "QXArrayValues.h"
#include "QXReportingTest.h"

namespace {

class QXSaveErrorTest : public QXReportingTest {
 protected:
  // The messages as a reader of the packed list finds them.
  Lines SavedMessages() const {
    const QXIntArray offsets = storage.ReadIntArray("E_offs");
    const char* bytes = reinterpret_cast<const char*>(storage.ReadUCharArray("E").Pointer());
    Lines messages;
    for (int offset : Elements(offsets)) messages.push_back(bytes + offset);
    return messages;
  }

  QXMemoryStorage storage;
};

// The list stays as it was.
TEST_F(QXSaveErrorTest, PacksZeroTerminatedMessagesBesideTheirIntOffsets) {
  const struct {
    Lines messages;
    std::vector<int> offsets;
    std::vector<unsigned char> bytes;
  } cases[] = {
      {{"a", "bc"}, {0, 2}, {'a', 0, 'b', 'c', 0}},
      {{}, {}, {}},
      {{"", "x y", ""}, {0, 1, 5}, {0, 'x', ' ', 'y', 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.messages));
    for (const std::string& message : c.messages) QXErrorMessage(message);
    QXSaveError(storage, "E");
    EXPECT_EQ(storage.ReadIntArray("E_offs"), Column(c.offsets));
    EXPECT_EQ(storage.ReadUCharArray("E"), Column(c.bytes));
    EXPECT_EQ(Reports(), c.messages);
  }
}

TEST_F(QXSaveErrorTest, SavesTheOffsetsFirst) {
  QXSaveError(storage, "E");
  EXPECT_EQ(storage.SaveOrder(), (Lines{"E_offs", "E"}));
}

TEST_F(QXSaveErrorTest, StorageThatRefusesReportsAfterTheListedMessages) {
  storage.SetReadOnly(true);
  QXErrorMessage("a");
  QXSaveError(storage, "E");
  const std::string refused = "QXMemoryStorage::Save: Storage is read only.";
  EXPECT_EQ(Reports(), (Lines{"a", refused, refused}));
}

// Without a locked copy of the list, ThreadSanitizer finds the packing
// reading the list while a report moves it.
TEST_F(QXSaveErrorTest, SavesWholeMessagesWhileFourThreadsReport) {
  QXReportingThreads threads(500);
  int brokenSaves = 0;
  do {
    QXSaveError(storage, "E");
    const Lines saved = SavedMessages();
    if (saved != Lines(saved.size(), "thread: text")) brokenSaves++;
  } while (threads.Running());
  Reports();  // the threads' own, taken
  EXPECT_EQ(brokenSaves, 0);
}

}  // namespace
