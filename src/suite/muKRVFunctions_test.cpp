#include "suite/muKRVFunctions.h"

#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "suite/krvLibrary.h"
#include "suite/mCommon.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

constexpr char kRoot[] = "Software\\Vantorel\\Korvella\\10.25";
constexpr Hive kHKCU = Hive::CurrentUser, kHKLM = Hive::LocalMachine, kHKCR = Hive::ClassesRoot;

std::string Sub(const std::string& rest) { return std::string(kRoot) + "\\" + rest; }

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::string Stored(Hive hive, const std::string& key, const std::string& name) {
    RegValue value;
    return reg.ReadValue(hive, key, name, &value, nullptr) == RegStatus::kOk ? value.text : "<none>";
  }
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  krvLibrary lib{reg, fs, sys};
};

TEST_F(SettingsStoreTest, RegReadHivesPrefixesAndRelativePaths) {
  reg.SetString(kHKCU, "A\\B", "V", " cu ");
  reg.SetString(kHKLM, "A\\B", "V", "lm");
  reg.SetString(kHKLM, Sub("A\\B"), "V", "lm-root");
  reg.SetString(kHKLM, "HKCR\\A\\B", "V", "lm-hkcr");
  reg.SetString(kHKLM, "A\\B", "", "lm-default");
  reg.SetString(kHKLM, "A\\B", "blank", "   ");
  reg.SetDword(kHKLM, "A\\B", "dword", 120);
  const struct {
    const char* path;
    bool relative;
    const char* want;
    bool relative_after;
  } cases[] = {
      {"hkcu\\A\\B\\V", true, "cu", false},  // HKCU clears Relative and reads the path as given
      {"HKLM\\A\\B\\V", false, "lm", false},      {"A\\B\\V", true, "lm-root", true},
      {"HKCR\\A\\B\\V", false, "lm-hkcr", false}, {"HKLM\\A\\B\\\\", false, "lm-default", false},
      {"A\\B\\blank", false, "def", false},       {"A\\B\\dword", false, "120", false},
      {"HKLM\\Nirgends\\V", true, "def", true},
  };
  for (const auto& c : cases) {
    bool relative = c.relative;
    EXPECT_EQ(RegRead(lib, c.path, &relative, "def"), c.want) << c.path << " relative " << c.relative;
    EXPECT_EQ(relative, c.relative_after) << c.path;
  }
  EXPECT_FALSE(reg.KeyExists(kHKLM, "Nirgends"));  // reading never creates a key
}

TEST_F(SettingsStoreTest, RegWriteHivesPrefixesAndRelativePaths) {
  const struct {
    const char* path;
    bool relative;
    Hive hive;
    std::string key, name;
  } cases[] = {
      {"HKCU\\A\\V1", false, kHKCU, "A", "V1"}, {"hkcr\\A\\V2", false, kHKCR, "A", "V2"},
      {"A\\B\\V3", false, kHKLM, "A\\B", "V3"}, {"HKCU\\Loader\\V4", true, kHKCU, Sub("Loader"), "V4"},
      {"V5", true, kHKLM, kRoot, "V5"},         {"HKLM\\A\\B\\", false, kHKLM, "A\\B", ""},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(RegWrite(lib, c.path, "wert", c.relative)) << c.path;
    EXPECT_EQ(Stored(c.hive, c.key, c.name), "wert") << c.path;
  }
  const int writes = reg.writes;
  for (const char* path : {"OhneSchraegstrich", "HKCU\\Wert", "\\Wert"}) EXPECT_FALSE(RegWrite(lib, path, "x")) << path;
  reg.read_only.insert(kHKLM);
  EXPECT_FALSE(RegWrite(lib, "Software\\X\\V", "x"));
  EXPECT_EQ(reg.writes, writes);
}

TEST_F(SettingsStoreTest, SettingsLiveBelowTheUsersProductRoot) {
  EXPECT_EQ(GetSetting(lib, "Loader\\Menu\\Skin", 2), "2");
  EXPECT_EQ(GetSetting(lib, "Loader\\Menu\\AutoUnload", true), "1");
  // The machine's value is not a user setting.
  reg.SetString(kHKLM, Sub("Loader\\Menu"), "Skin", "1");
  EXPECT_EQ(GetSetting(lib, "Loader\\Menu\\Skin"), "");
  EXPECT_TRUE(SaveSetting(lib, "Loader\\CheckLastSyncDate", 120));
  EXPECT_TRUE(SaveSetting(lib, "Loader\\Menu\\AutoUnload", false));
  EXPECT_EQ(Stored(kHKCU, Sub("Loader"), "CheckLastSyncDate"), "120");
  EXPECT_EQ(GetSetting(lib, "Loader\\Menu\\AutoUnload"), "0");
  reg.read_only.insert(kHKCU);
  EXPECT_FALSE(SaveSetting(lib, "Loader\\CheckLastSyncDate", 30));

  FakeDialogs dialogs;
  cuAppError err(dialogs, AppInfo{});
  EXPECT_EQ(GetLibSetting(lib, err, "BackendCompression", "50"), "50");
  reg.SetString(kHKCU, Sub("Settings"), "BackendCompression", "70");
  EXPECT_EQ(GetLibSetting(lib, err, "backendcompression", "50"), "70");
}

TEST_F(SettingsStoreTest, ParseRegConstantAndSplitHive) {
  std::string key, value_name;
  cmnParseRegConstant(lib, "Loader\\RecentBackends\\", &key, &value_name);
  EXPECT_EQ(key + "|" + value_name, Sub("Loader\\RecentBackends") + "|");
  cmnParseRegConstant(lib, "NoAccessCheck", &key, &value_name);
  EXPECT_EQ(key + "|" + value_name, std::string(kRoot) + "|NoAccessCheck");
  const struct {
    const char* path;
    bool found;
    Hive hive;
    const char* rest;
  } cases[] = {
      {"hklm\\Software\\A", true, kHKLM, "Software\\A"},
      {"HKEY_CURRENT_USER\\Software\\A", true, kHKCU, "\\Software\\A"},
      {"HKCR\\CLSID", false, Hive{}, "HKCR\\CLSID"},
      {"HKCU", false, Hive{}, "HKCU"},
  };
  for (const auto& c : cases) {
    std::string path = c.path;
    Hive hive = Hive::Users;
    EXPECT_EQ(cmnSplitHive(&path, &hive), c.found) << c.path;
    EXPECT_EQ(hive, c.hive) << c.path;
    EXPECT_EQ(path, c.rest) << c.path;
  }
}

}  // namespace
}  // namespace krv
