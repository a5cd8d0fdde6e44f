#include "platform/SystemFolders.h"

#include <gtest/gtest.h>

#include <map>

#include "testing/FakeFileSystem.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

struct EnvSystem : FakeSystem {
  std::map<std::string, std::string> env;
  std::string GetEnv(const std::string& name) override { return env[name]; }
};

TEST(WinePrefixFoldersTest, FoldersOfThePrefixOrNoneWithoutOne) {
  const struct {
    std::string prefix, home;
    std::vector<std::string> folders;
    std::string win, sys, common;
  } cases[] = {
      {"/p",
       "/h",
       {"Z:\\p\\drive_c", "Z:\\p\\drive_c\\Program Files (x86)"},
       "Z:\\p\\drive_c\\windows\\",
       "Z:\\p\\drive_c\\windows\\system32\\",
       "Z:\\p\\drive_c\\Program Files (x86)\\Common Files\\"},
      {"/p/",
       "",
       {"Z:\\p\\drive_c"},
       "Z:\\p\\drive_c\\windows\\",
       "Z:\\p\\drive_c\\windows\\system32\\",
       "Z:\\p\\drive_c\\Program Files\\Common Files\\"},
      {"",
       "/h",
       {"Z:\\h\\.wine\\drive_c"},
       "Z:\\h\\.wine\\drive_c\\windows\\",
       "Z:\\h\\.wine\\drive_c\\windows\\system32\\",
       "Z:\\h\\.wine\\drive_c\\Program Files\\Common Files\\"},
      {"/leer", "/h", {"Z:\\h\\.wine\\drive_c"}, "", "", ""},
      {"", "", {"Z:\\.wine\\drive_c"}, "", "", ""},
      {"relativ", "", {"Z:\\relativ\\drive_c"}, "", "", ""},
  };
  for (const auto& c : cases) {
    FakeFileSystem fs;
    for (const std::string& f : c.folders) fs.AddFolder(f);
    EnvSystem sys;
    sys.env = {{"WINEPREFIX", c.prefix}, {"HOME", c.home}};
    WinePrefixFolders folders(fs, sys);
    EXPECT_EQ(folders.Folder(SystemFolder::kWindows), c.win) << c.prefix;
    EXPECT_EQ(folders.Folder(SystemFolder::kSystem), c.sys) << c.prefix;
    EXPECT_EQ(folders.Folder(SystemFolder::kCommonFiles), c.common) << c.prefix;
  }
}

}  // namespace
}  // namespace krv
