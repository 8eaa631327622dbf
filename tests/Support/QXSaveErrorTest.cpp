#include "QXSaveError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../DataFile/QXMemoryStorage.h"
#include "QXError.h"
#include "QXTestSupport.h"

namespace {

template <class T>
std::vector<T> Elements(const QXArray<T>& A) {
  return std::vector<T>(A.Pointer(), A.Pointer() + A.Length());
}

// Runs QXSaveError with exactly these messages in the error list and returns
// the list as it stands afterwards.
std::vector<std::string> SaveWithList(QXMemoryStorage& storage,
                                      const std::vector<std::string>& messages) {
  QXReportCapture capture;
  QXErrorList() = messages;
  QXSaveError(storage, "E");
  capture.Finish();
  return capture.errors;
}

}  // namespace

TEST(QXSaveError, PacksMessagesAsOffsetsAndZeroTerminatedBytes) {
  QXMemoryStorage storage;
  EXPECT_EQ(SaveWithList(storage, {"a", "bc"}), (std::vector<std::string>{"a", "bc"}));
  ASSERT_TRUE(storage.Holds<QXIntArray>("E_offs"));
  ASSERT_TRUE(storage.Holds<QXUCharArray>("E"));
  QXIntArray offsets = storage.ReadIntArray("E_offs");
  QXUCharArray characters = storage.ReadUCharArray("E");
  EXPECT_EQ(offsets.m(), 2);
  EXPECT_EQ(offsets.n(), 1);
  EXPECT_EQ(offsets.o(), 1);
  EXPECT_EQ(Elements(offsets), (std::vector<int>{0, 2}));
  EXPECT_EQ(characters.m(), 5);
  EXPECT_EQ(characters.n(), 1);
  EXPECT_EQ(characters.o(), 1);
  EXPECT_EQ(Elements(characters), (std::vector<unsigned char>{'a', 0, 'b', 'c', 0}));
  EXPECT_EQ(storage.SaveOrder(), (std::vector<std::string>{"E_offs", "E"}));
}

TEST(QXSaveError, EmptyListSavesTwoEmptyArrays) {
  QXMemoryStorage storage;
  EXPECT_EQ(SaveWithList(storage, {}), std::vector<std::string>{});
  EXPECT_TRUE(storage.Holds<QXIntArray>("E_offs"));
  EXPECT_TRUE(storage.Holds<QXUCharArray>("E"));
  EXPECT_TRUE(storage.ReadIntArray("E_offs").IsEmpty());
  EXPECT_TRUE(storage.ReadUCharArray("E").IsEmpty());
  EXPECT_EQ(storage.SaveOrder(), (std::vector<std::string>{"E_offs", "E"}));
}

TEST(QXSaveError, EveryMessageDecodesFromItsOffset) {
  const std::vector<std::string> messages = {"", "QXFile::ReadLine(): No file", "", "x y z"};
  QXMemoryStorage storage;
  SaveWithList(storage, messages);
  QXIntArray offsets = storage.ReadIntArray("E_offs");
  QXUCharArray characters = storage.ReadUCharArray("E");
  ASSERT_EQ(offsets.Length(), 4);
  EXPECT_EQ(characters.Length(), 1 + 28 + 1 + 6);
  EXPECT_EQ(characters(characters.Length() - 1), 0);
  for (int i = 0; i < offsets.Length(); i++) {
    const char* text = reinterpret_cast<const char*>(characters.Pointer() + offsets(i));
    EXPECT_EQ(std::string(text), messages[i]);
  }
}

TEST(QXSaveError, ReadOnlyStorageReportsAfterTheSavedMessages) {
  QXMemoryStorage storage;
  storage.SetReadOnly(true);
  const std::vector<std::string> list = SaveWithList(storage, {"a"});
  EXPECT_EQ(list, (std::vector<std::string>{"a", "QXMemoryStorage::Save: Storage is read only.",
                                            "QXMemoryStorage::Save: Storage is read only."}));
  EXPECT_FALSE(storage.Contains("E_offs"));
  EXPECT_FALSE(storage.Contains("E"));
  EXPECT_TRUE(storage.SaveOrder().empty());
}
