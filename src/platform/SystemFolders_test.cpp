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
      {"/p/w64",
       "/home/u",
       {"Z:\\p\\w64\\drive_c", "Z:\\p\\w64\\drive_c\\Program Files (x86)"},
       "Z:\\p\\w64\\drive_c\\windows\\",
       "Z:\\p\\w64\\drive_c\\windows\\system32\\",
       "Z:\\p\\w64\\drive_c\\Program Files (x86)\\Common Files\\"},
      {"/p/w32/",
       "",
       {"Z:\\p\\w32\\drive_c"},
       "Z:\\p\\w32\\drive_c\\windows\\",
       "Z:\\p\\w32\\drive_c\\windows\\system32\\",
       "Z:\\p\\w32\\drive_c\\Program Files\\Common Files\\"},
      {"",
       "/home/u",
       {"Z:\\home\\u\\.wine\\drive_c"},
       "Z:\\home\\u\\.wine\\drive_c\\windows\\",
       "Z:\\home\\u\\.wine\\drive_c\\windows\\system32\\",
       "Z:\\home\\u\\.wine\\drive_c\\Program Files\\Common Files\\"},
      {"/p/leer", "/home/u", {"Z:\\home\\u\\.wine\\drive_c"}, "", "", ""},
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
