#include "runmdb/cuRunMDB_Helpers.h"

#include <gtest/gtest.h>

#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

using H = cuRunMDB_Helpers;

TEST(cuRunMDB_HelpersTest, String2Array) {
  const struct {
    std::string source, sep;
    std::vector<std::string> want;
  } cases[] = {
      {"a%|%%|%b%|%  ", "%|%", {"a", "", "b"}},
      {" a %|SUBDIR|% b ", "%|SubDir|%", {"a", "b"}},
      {"only", "%|%", {"only"}},
      {"\\..\\x\\", "\\", {"..", "x"}},
      {",", ",", {""}},
      {"a,b", "", {"a,b"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> items;
    EXPECT_EQ(H::String2Array(c.source, &items, c.sep), static_cast<int32_t>(c.want.size())) << c.source;
    EXPECT_EQ(items, c.want) << c.source;
  }
  std::vector<std::string> untouched = {"keep"};
  EXPECT_EQ(H::String2Array("", &untouched, "%|%"), 0);
  EXPECT_EQ(untouched, std::vector<std::string>{"keep"});
}

TEST(cuRunMDB_HelpersTest, FilesAndRegistryReads) {
  FakeRegistry reg;
  FakeFileSystem fs;
  fs.AddFile("C:\\Daten\\krv.mdb");
  fs.AddFolder("C:\\Daten\\Ordner");
  const std::string key = "SOFTWARE\\Test";
  reg.SetString(Hive::LocalMachine, key, "Sz", "  x  ");
  reg.SetString(Hive::LocalMachine, key, "Nul", std::string("ab\0cd", 5));
  reg.SetDword(Hive::LocalMachine, key, "Dword", 7);
  const H h(reg, fs);
  EXPECT_TRUE(h.FileExists(" \"C:\\daten\\KRV.mdb\" "));
  EXPECT_FALSE(h.FileExists("C:\\Daten\\Ordner"));
  EXPECT_FALSE(h.FileExists(""));
  const int32_t hklm = static_cast<int32_t>(0x80000002u);
  EXPECT_EQ(h.RegGetSettingString(hklm, key + "\\", "sz", "def"), "  x  ");
  EXPECT_EQ(h.RegGetSettingString(hklm, key, "Nul", "def"), "ab");
  EXPECT_EQ(h.RegGetSettingString(hklm, key, "Dword", "def"), "def");
  EXPECT_EQ(h.RegGetSettingString(hklm, key, "Missing", "def"), "def");
  EXPECT_EQ(h.RegGetSettingString(static_cast<int32_t>(0x80000005u), key, "Sz", "def"), "def");
  EXPECT_TRUE(h.RegValueExists(hklm, key, "DWORD"));
  EXPECT_FALSE(h.RegValueExists(-1, key, "Sz"));
}

}  // namespace
}  // namespace krv
