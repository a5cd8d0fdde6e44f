#include "suite/muKRVFunctions.h"

#include <gtest/gtest.h>

#include <tuple>

#include "suite/krvLibrary.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

constexpr char kRoot[] = "Software\\Vantorel\\Korvella\\10.25";
constexpr Hive kHKCU = Hive::CurrentUser, kHKLM = Hive::LocalMachine;

std::string Sub(const std::string& rest) { return std::string(kRoot) + "\\" + rest; }

class SettingsStoreTest : public ::testing::Test {
 protected:
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  krvLibrary lib{reg, fs, sys};
};

TEST_F(SettingsStoreTest, RegReadHivesPrefixesAndRelativePathsThenTheTextReadAndRelativeAfter) {
  reg.SetString(kHKCU, "A\\B", "V", " cu ");
  reg.SetString(kHKLM, Sub("A\\B"), "V", "lm-root");
  reg.SetString(kHKLM, "HKCR\\A\\B", "", "lm-hkcr");  // reading knows no HKCR
  const std::tuple<const char*, bool, const char*> cases[] = {{"hkcu\\A\\B\\V", true, "cu|0"},
                                                              {"A\\B\\V", true, "lm-root|1"},
                                                              {"HKCR\\A\\B\\", false, "lm-hkcr|0"},
                                                              {"A\\B\\none", false, "def|0"}};
  for (auto [path, relative, want] : cases) {
    const std::string text = RegRead(lib, path, &relative, "def");
    EXPECT_EQ(text + (relative ? "|1" : "|0"), want) << path;
  }
}

TEST_F(SettingsStoreTest, RegWriteHivesPrefixesAndRelativePaths) {
  const std::tuple<const char*, bool, Hive, std::string, const char*> cases[] = {
      {"HKCU\\A\\V1", false, kHKCU, "A", "V1"},   {"hkcr\\A\\V2", false, Hive::ClassesRoot, "A", "V2"},
      {"HKLM\\A\\B\\", false, kHKLM, "A\\B", ""}, {"HKCU\\Loader\\V4", true, kHKCU, Sub("Loader"), "V4"},
      {"V5", true, kHKLM, kRoot, "V5"},
  };
  for (const auto& [path, relative, hive, key, name] : cases) {
    EXPECT_TRUE(RegWrite(lib, path, "wert", relative)) << path;
    EXPECT_EQ(lib.RegRead(hive, key, name, "<none>"), "wert") << path;
  }
}

TEST_F(SettingsStoreTest, SettingsLiveBelowTheUsersProductRoot) {
  EXPECT_EQ(GetSetting(lib, "Loader\\Menu\\Skin", 2), "2");
  reg.SetString(kHKLM, Sub("Loader\\Menu"), "Skin", "1");  // the machine's value is not a user setting
  EXPECT_EQ(GetSetting(lib, "Loader\\Menu\\Skin"), "");
  EXPECT_TRUE(SaveSetting(lib, "Loader\\Menu\\AutoUnload", false));
  EXPECT_EQ(lib.RegRead(kHKCU, Sub("Loader\\Menu"), "AutoUnload", ""), "0");
}

}  // namespace
}  // namespace krv
