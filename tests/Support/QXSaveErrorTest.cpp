#include "QXSaveError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../DataFile/QXMemoryStorage.h"
#include "QXTestSupport.h"

namespace {

using Texts = std::vector<std::string>;

// Reports exactly these messages into an emptied list, saves the list under
// "E" and returns the list as it stands afterwards.
Texts SaveWithList(QXMemoryStorage& storage, const Texts& messages) {
  QXReportCapture capture;
  for (const std::string& message : messages) QXErrorMessage(message);
  QXSaveError(storage, "E");
  capture.Finish();
  return capture.errors;
}

std::vector<int> SavedOffsets(const QXMemoryStorage& storage) {
  const QXIntArray offsets = storage.ReadIntArray("E_offs");
  return std::vector<int>(offsets.Pointer(), offsets.Pointer() + offsets.Length());
}

std::string SavedBytes(const QXMemoryStorage& storage) {
  const QXUCharArray bytes = storage.ReadUCharArray("E");
  return std::string(reinterpret_cast<const char*>(bytes.Pointer()), bytes.Length());
}

// The messages as a reader of the packed list finds them.
Texts SavedMessages(const QXMemoryStorage& storage) {
  const std::string bytes = SavedBytes(storage);
  Texts messages;
  for (int offset : SavedOffsets(storage)) messages.push_back(bytes.c_str() + offset);
  return messages;
}

}  // namespace

TEST(QXSaveError, PacksZeroTerminatedMessagesBesideTheirOffsets) {
  const struct {
    Texts messages;
    std::vector<int> offsets;
    std::string bytes;
  } cases[] = {
      {{"a", "bc"}, {0, 2}, std::string("a\0bc\0", 5)},
      {{}, {}, ""},
      {{"", "x y", ""}, {0, 1, 5}, std::string("\0x y\0\0", 6)},
  };
  for (const auto& c : cases) {
    QXMemoryStorage storage;
    SaveWithList(storage, c.messages);
    EXPECT_EQ(SavedOffsets(storage), c.offsets) << c.bytes;
    EXPECT_EQ(SavedBytes(storage), c.bytes) << c.bytes;
  }
}

TEST(QXSaveError, SavesIntOffsetsThenUCharCharacters) {
  QXMemoryStorage storage;
  SaveWithList(storage, {"a"});
  EXPECT_EQ(storage.SaveOrder(), (Texts{"E_offs", "E"}));
  EXPECT_TRUE(storage.Holds<QXIntArray>("E_offs"));
  EXPECT_TRUE(storage.Holds<QXUCharArray>("E"));
}

TEST(QXSaveError, SavesOneColumnEach) {
  QXMemoryStorage storage;
  SaveWithList(storage, {"a", "bc"});
  EXPECT_EQ(storage.ReadIntArray("E_offs").m(), 2);
  EXPECT_EQ(storage.ReadIntArray("E_offs").n(), 1);
  EXPECT_EQ(storage.ReadUCharArray("E").m(), 5);
  EXPECT_EQ(storage.ReadUCharArray("E").n(), 1);
}

TEST(QXSaveError, LeavesTheListUnchanged) {
  QXMemoryStorage storage;
  EXPECT_EQ(SaveWithList(storage, {"a", "bc"}), (Texts{"a", "bc"}));
}

TEST(QXSaveError, StorageThatRefusesReportsAfterTheListedMessages) {
  QXMemoryStorage readOnly;
  readOnly.SetReadOnly(true);
  const std::string refused = "QXMemoryStorage::Save: Storage is read only.";
  EXPECT_EQ(SaveWithList(readOnly, {"a"}), (Texts{"a", refused, refused}));
}

// Without a locked copy of the list, ThreadSanitizer finds the packing
// reading the list while a report moves it.
TEST(QXSaveError, SavesWholeMessagesWhileFourThreadsReport) {
  QXReportCapture capture;
  QXReportingThreads threads(500);
  QXMemoryStorage storage;
  int brokenSaves = 0;
  do {
    QXSaveError(storage, "E");
    const Texts saved = SavedMessages(storage);
    if (saved != Texts(saved.size(), "thread: text")) brokenSaves++;
  } while (threads.Running());
  threads.Join();
  capture.Finish();
  EXPECT_EQ(brokenSaves, 0);
}
