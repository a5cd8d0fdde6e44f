#include "platform/RegTree.h"

#include <gtest/gtest.h>

#include <chrono>

namespace krv {
namespace {

TEST(RegTreeTest, ManyDeletesKeepOrderAndLookupsAndStayFast) {
  RegKey key("K");
  constexpr int kValues = 50000;
  for (int i = 0; i < kValues; ++i) key.SetValue("v" + std::to_string(i), RegValue::Dword(i));
  const auto start = std::chrono::steady_clock::now();  // deleting front to back was quadratic once
  for (int i = 0; i < kValues; ++i) {
    ASSERT_TRUE(i % 3 == 0 || key.DeleteValue("V" + std::to_string(i)));
    if (i % 3000 == 0) key.SetValue("v" + std::to_string(i), RegValue::Dword(7));  // replace amid holes
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  ASSERT_EQ(key.values().size(), static_cast<size_t>((kValues + 2) / 3));
  for (size_t pos = 0; pos < key.values().size(); ++pos) {
    const int i = static_cast<int>(pos) * 3;
    ASSERT_EQ(key.values()[pos].first, "v" + std::to_string(i));
    ASSERT_EQ(key.FindValue("v" + std::to_string(i))->dword, i % 3000 ? static_cast<uint32_t>(i) : 7u);
  }
  EXPECT_FALSE(RegTree().Delete(""));  // never the root
}

}  // namespace
}  // namespace krv
