#include "platform/RegTree.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

TEST(RegTreeTest, DeletesAmidReplacementsKeepOrderAndLookups) {
  RegKey key("K");
  constexpr int kValues = 5000;
  for (int i = 0; i < kValues; ++i) key.SetValue("v" + std::to_string(i), RegValue::Dword(i));
  for (int i = 0; i < kValues; ++i) {
    ASSERT_TRUE(i % 3 == 0 || key.DeleteValue("V" + std::to_string(i)));
    if (i % 300 == 0) key.SetValue("v" + std::to_string(i), RegValue::Dword(7));  // replace amid holes
  }
  ASSERT_EQ(key.values().size(), static_cast<size_t>((kValues + 2) / 3));
  for (size_t pos = 0; pos < key.values().size(); ++pos) {
    const int i = static_cast<int>(pos) * 3;
    ASSERT_EQ(key.values()[pos].first, "v" + std::to_string(i));
    ASSERT_EQ(key.FindValue("v" + std::to_string(i))->dword, i % 300 ? static_cast<uint32_t>(i) : 7u);
  }
  EXPECT_FALSE(RegTree().Delete(""));  // never the root
}

}  // namespace
}  // namespace krv
