// The storages' index of names: byte-wise order, prefixes, and a walk that
// meets a name more than once.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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
// prefixes of each other, hold bytes above 127 or are empty.
std::vector<std::string> AwkwardNames() {
  std::vector<std::string> names = {"", "a", "ab", "b", "\xff", "\x80z", "B"};
  std::mt19937 random(7);
  for (int i = 0; i < 300; i++) {
    std::string name = "Velocity_of_the_flow_" + std::to_string(random() % 1000);
    name.resize(name.size() - random() % 4);
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  std::shuffle(names.begin(), names.end(), random);
  return names;
}

TEST(QXStorageIndex, ListsNamesInByteWiseOrder) {
  std::vector<std::string> names = AwkwardNames();
  QXStorageIndex<int> index;
  for (const std::string& name : names) index.Append(name, 0);
  index.Seal();
  std::sort(names.begin(), names.end());  // std::string compares bytes as unsigned
  EXPECT_EQ(Listed(index.NamesInOrder()), names);
}

TEST(QXStorageIndex, ListsTheNamesWithAPrefixInOrder) {
  const std::vector<std::string> names = AwkwardNames();
  QXStorageIndex<int> index;
  for (const std::string& name : names) index.Set(name, 0);
  std::vector<std::string> expected;
  for (const std::string& name : names)
    if (name.compare(0, 13, "Velocity_of_t") == 0) expected.push_back(name);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Listed(index.NamesWithPrefix("Velocity_of_t")), expected);
}

TEST(QXStorageIndex, AWalkKeepsTheLastRecordOfAName) {
  QXStorageIndex<int> index;
  index.Append("x", 1);
  index.Append("y", 2);
  index.Append("x", 3);
  index.Append("x", 4);
  index.Seal();
  EXPECT_EQ(index.Count(), 2);
  EXPECT_EQ(*index.Find("x"), 4);
  EXPECT_EQ(*index.Find("y"), 2);
  EXPECT_EQ(Listed(index.NamesInOrder()), (std::vector<std::string>{"x", "y"}));
}

TEST(QXStorageIndex, FindsEveryNameAfterGrowing) {
  QXStorageIndex<int> index;
  for (int i = 0; i < 5000; i++) index.Set("n" + std::to_string(i), i);
  for (int i = 0; i < 5000; i++) ASSERT_EQ(*index.Find("n" + std::to_string(i)), i) << i;
  EXPECT_EQ(index.Find("n5000"), nullptr);
}

}  // namespace
