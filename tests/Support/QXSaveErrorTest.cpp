#include "QXSaveError.h"

#include "../DataFile/QXMemoryStorage.h"
#include "QXArrayValues.h"
#include "QXReportingTest.h"

class QXSaveErrorTest : public QXReportingTest {};

// The list stays as it was.
TEST_F(QXSaveErrorTest, SavesIntOffsetsThenTheZeroTerminatedMessages) {
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
    QXMemoryStorage storage;
    for (const std::string& message : c.messages) QXErrorMessage(message);
    QXSaveError(storage, "E");
    EXPECT_EQ(storage.ReadIntArray("E_offs"), Column(c.offsets));
    EXPECT_EQ(storage.ReadUCharArray("E"), Column(c.bytes));
    EXPECT_EQ(storage.SaveOrder(), (Lines{"E_offs", "E"}));
    EXPECT_EQ(Reports(), c.messages);
  }
}

// Without a locked copy of the list, ThreadSanitizer finds the packing
// reading the list while a report moves it.
TEST_F(QXSaveErrorTest, SavesWholeMessagesWhileFourThreadsReport) {
  QXReportingThreads threads(500);
  QXMemoryStorage storage;
  int brokenMessages = 0;
  do {
    QXSaveError(storage, "E");
    const QXUCharArray bytes = storage.ReadUCharArray("E");
    const char* text = reinterpret_cast<const char*>(bytes.Pointer());
    for (int offset : Elements(storage.ReadIntArray("E_offs")))
      brokenMessages += std::string(text + offset) != "thread: text";
  } while (threads.Running());
  Reports();  // the threads' own, taken
  EXPECT_EQ(brokenMessages, 0);
}
