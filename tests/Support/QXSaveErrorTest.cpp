#include "QXSaveError.h"

#include <gtest/gtest.h>

#include "../DataFile/QXMemoryStorage.h"
#include "QXTestSupport.h"

// Runs QXSaveError into `storage` with exactly these messages in the error
// list and returns the list as it stands afterwards.
static std::vector<std::string> SaveWithList(QXMemoryStorage& storage,
                                             const std::vector<std::string>& messages) {
  QXReportCapture capture;
  QXErrorList() = messages;
  QXSaveError(storage, "E");
  capture.Finish();
  return capture.errors;
}

TEST(QXSaveError, PacksMessagesAsIntOffsetsAndZeroTerminatedUCharBytesInThatOrder) {
  const struct {
    std::vector<std::string> messages;
    std::vector<int> offsets;
    std::string bytes;
  } cases[] = {{{"a", "bc"}, {0, 2}, std::string("a\0bc\0", 5)},
               {{}, {}, ""},
               {{"", "x y", ""}, {0, 1, 5}, std::string("\0x y\0\0", 6)}};
  for (const auto& c : cases) {
    QXMemoryStorage storage;
    EXPECT_EQ(SaveWithList(storage, c.messages), c.messages);  // the list stays as it was
    EXPECT_EQ(storage.SaveOrder(), (std::vector<std::string>{"E_offs", "E"}));
    ASSERT_TRUE(storage.Holds<QXIntArray>("E_offs") && storage.Holds<QXUCharArray>("E"));
    const QXIntArray offsets = storage.ReadIntArray("E_offs");
    const QXUCharArray bytes = storage.ReadUCharArray("E");
    EXPECT_EQ(std::vector<int>(offsets.Pointer(), offsets.Pointer() + offsets.Length()), c.offsets);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.Pointer()), bytes.Length()), c.bytes);
    EXPECT_TRUE(offsets.m() == offsets.Length() && bytes.m() == bytes.Length()) << "m x 1 x 1";
  }
  // A storage that refuses the saves reports after the messages already listed.
  QXMemoryStorage readOnly;
  readOnly.SetReadOnly(true);
  const std::string refused = "QXMemoryStorage::Save: Storage is read only.";
  EXPECT_EQ(SaveWithList(readOnly, {"a"}), (std::vector<std::string>{"a", refused, refused}));
  EXPECT_TRUE(readOnly.SaveOrder().empty());
}
