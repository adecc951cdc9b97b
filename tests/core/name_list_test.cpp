// A folder's names held in one block come back whole, exact and in order,
// however long, odd or many they are.
#include "core/name_list.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(NameList, GivesEveryNameBackWholeAndInOrder) {
  std::vector<std::string> names = {"a.dll", std::string(251, 'L') + ".dll", "<U+4E2D><U+6587>.dll",
                                    " lead.dll", "a=b.dll", "x", "..."};
  for (int i = 0; i < 20000; ++i) names.push_back("kv" + std::string(size_t(i % 40), 'n') + std::to_string(i) + ".sys");
  const NameList list(names);
  ASSERT_EQ(list.size(), names.size());
  size_t i = 0;
  for (const std::string_view name : list) {
    ASSERT_EQ(name, names[i]) << i;
    ASSERT_EQ(list[i], names[i]) << i;
    ++i;
  }
  EXPECT_EQ(i, names.size());
  NameList added;
  for (const std::string& name : names) added.Add(name);
  EXPECT_EQ(added, list);
  EXPECT_TRUE(NameList().empty());
}
