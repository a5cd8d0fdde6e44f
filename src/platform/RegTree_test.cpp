#include "platform/RegTree.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

TEST(RegTreeTest, KeysAndValuesAreCaseInsensitiveButKeepTheirCase) {
  RegTree tree;
  regtree_ops::WriteValue(tree, "Software\\Vantorel", "BackendPath", RegValue::Sz("a"));
  regtree_ops::WriteValue(tree, "SOFTWARE\\vantorel\\", "backendpath", RegValue::Sz("b"));
  EXPECT_EQ(regtree_ops::SubKeys(tree, ""), std::vector<std::string>{"Software"});
  EXPECT_EQ(regtree_ops::ValueNames(tree, "software\\VANTOREL"), std::vector<std::string>{"BackendPath"});
  RegValue v;
  ASSERT_EQ(regtree_ops::ReadValue(tree, "Software\\Vantorel", "BACKENDPATH", &v), RegStatus::kOk);
  EXPECT_EQ(v.text, "b");
}

TEST(RegTreeTest, ValuesKeepCreationOrderThroughDeletes) {
  RegTree tree;
  for (const char* name : {"c", "a", "b", "d"}) regtree_ops::WriteValue(tree, "K", name, RegValue::Dword(1));
  EXPECT_EQ(regtree_ops::DeleteValue(tree, "K", "A"), RegStatus::kOk);
  regtree_ops::WriteValue(tree, "K", "a", RegValue::Dword(2));
  regtree_ops::WriteValue(tree, "K", "B", RegValue::Dword(3));  // replace keeps place and stored name
  EXPECT_EQ(regtree_ops::ValueNames(tree, "K"), (std::vector<std::string>{"c", "b", "d", "a"}));
  EXPECT_EQ(regtree_ops::DeleteValue(tree, "K", "zz"), RegStatus::kNotFound);
}

TEST(RegTreeTest, DeleteRemovesWholeSubtreeButNeverTheRoot) {
  RegTree tree;
  tree.Create("A\\B\\C");
  tree.Create("A\\D");
  EXPECT_TRUE(tree.Delete("a\\b"));
  EXPECT_EQ(tree.Find("A\\B\\C"), nullptr);
  EXPECT_NE(tree.Find("A\\D"), nullptr);
  EXPECT_FALSE(tree.Delete(""));
  EXPECT_FALSE(tree.Delete("A\\missing"));
}

}  // namespace
}  // namespace krv
