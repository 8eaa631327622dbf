// The storages' index of names: byte-wise order, prefixes, and a walk that
// meets a name more than once.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "QXStorageInternal.h"

namespace {

std::vector<std::string> Listed(const QXList<std::string>& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Length(); i++) names.push_back(list(i));
  return names;
}

// Names that agree on long prefixes, differ beyond sixteen bytes, are
// prefixes of each other, repeat, hold bytes above 127 or are empty; in no
// order.
std::vector<std::string> AwkwardNames() {
  std::vector<std::string> names = {"", "a", "ab", "b", "\xff", "\x80z", "B"};
  for (int i = 0; i < 300; i++) {
    const std::string name = "Velocity_of_the_flow_" + std::to_string(i * 7919 % 1000);
    names.push_back(name.substr(0, name.size() - i % 4));
  }
  return names;
}

// The names in byte-wise order, each once.
std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

// A walk meets the names in file order; the index lists them in byte-wise
// order (std::string compares bytes as unsigned), each once.
TEST(QXStorageIndex, ListsNamesAndNamesWithAPrefixInByteWiseOrder) {
  const std::vector<std::string> names = AwkwardNames();
  QXStorageIndex<int> index;
  std::vector<std::string> prefixed;
  for (const std::string& name : names) {
    index.Append(name, 0);
    if (name.compare(0, 13, "Velocity_of_t") == 0) prefixed.push_back(name);
  }
  index.Seal();
  EXPECT_EQ(Listed(index.NamesInOrder()), Sorted(names));
  EXPECT_EQ(Listed(index.NamesWithPrefix("Velocity_of_t")), Sorted(prefixed));
}

TEST(QXStorageIndex, AWalkKeepsTheLastRecordOfAName) {
  QXStorageIndex<int> index;
  index.Append("x", 1);
  index.Append("y", 2);
  index.Append("x", 3);
  index.Append("x", 4);
  index.Seal();
  EXPECT_EQ(*index.Find("x"), 4);
}

TEST(QXStorageIndex, FindsEveryNameAfterGrowing) {
  QXStorageIndex<int> index;
  for (int i = 0; i < 5000; i++) index.Set("n" + std::to_string(i), i);
  for (int i = 0; i < 5000; i++) ASSERT_EQ(*index.Find("n" + std::to_string(i)), i) << i;
  EXPECT_EQ(index.Find("n5000"), nullptr);
}

}  // namespace
