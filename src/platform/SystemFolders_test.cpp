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
    const char *prefix, *home, *existing;  // the folder "drive_c" that exists
    bool x86;                              // and "Program Files (x86)" in it
    const char* drive_c;                   // "": no folders at all
  } cases[] = {{"/p", "/h", "Z:\\p", true, "Z:\\p\\drive_c\\"},
               {"/p/", "", "Z:\\p", false, "Z:\\p\\drive_c\\"},
               {"", "/h", "Z:\\h\\.wine", false, "Z:\\h\\.wine\\drive_c\\"},
               {"/leer", "/h", "Z:\\h\\.wine", false, ""},
               {"relativ", "", "Z:relativ", false, ""}};
  for (const auto& c : cases) {
    FakeFileSystem fs;
    fs.AddFolder(std::string(c.existing) + "\\drive_c");
    if (c.x86) fs.AddFolder(std::string(c.existing) + "\\drive_c\\Program Files (x86)");
    EnvSystem sys;
    sys.env = {{"WINEPREFIX", c.prefix}, {"HOME", c.home}};
    WinePrefixFolders folders(fs, sys);
    const std::string d = c.drive_c,
                      common = c.x86 ? "Program Files (x86)\\Common Files\\" : "Program Files\\Common Files\\";
    EXPECT_EQ(folders.Folder(SystemFolder::kWindows) + "|" + folders.Folder(SystemFolder::kSystem) + "|" +
                  folders.Folder(SystemFolder::kCommonFiles),
              d.empty() ? "||" : d + "windows\\|" + d + "windows\\system32\\|" + d + common)
        << c.prefix;
  }
}

}  // namespace
}  // namespace krv
