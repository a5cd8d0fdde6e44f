#include "suite/muKRVFunctions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "base/cuAppError.h"
#include "platform/Platform.h"
#include "suite/krvLibrary.h"
#include "suite/mCommon.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

constexpr char kRoot[] = "Software\\Vantorel\\Korvella\\10.25";
constexpr Hive kHKCU = Hive::CurrentUser;
constexpr Hive kHKLM = Hive::LocalMachine;
constexpr Hive kHKCR = Hive::ClassesRoot;

std::string Sub(const std::string& rest) { return std::string(kRoot) + "\\" + rest; }

class SettingsStoreTest : public ::testing::Test {
 protected:
  // Text of a stored value, or "<none>".
  std::string Stored(Hive hive, const std::string& key, const std::string& name) {
    RegValue value;
    if (reg.ReadValue(hive, key, name, &value, nullptr) != RegStatus::kOk) return "<none>";
    EXPECT_EQ(value.type, kRegSz);
    return value.text;
  }

  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  krvLibrary lib{reg, fs, sys};
};

TEST_F(SettingsStoreTest, RegReadHivesPrefixesAndRelativePaths) {
  reg.SetString(kHKCU, "A\\B", "V", "cu");
  reg.SetString(kHKLM, "A\\B", "V", "lm");
  reg.SetString(kHKCU, Sub("A\\B"), "V", "cu-root");
  reg.SetString(kHKLM, Sub("A\\B"), "V", "lm-root");
  reg.SetString(kHKLM, "HKCR\\A\\B", "V", "lm-hkcr");
  reg.SetString(kHKCR, "A\\B", "V", "cr");
  reg.SetString(kHKLM, "A\\B", "", "lm-default");
  reg.SetString(kHKLM, "HKEY_CURRENT_USER\\A\\B", "V", "lm-long");
  struct Case {
    const char* path;
    bool relative;
    const char* want;
    bool relative_after;
  } cases[] = {
      {"HKCU\\A\\B\\V", false, "cu", false},
      {"hkcu\\A\\B\\V", false, "cu", false},
      {"HKCU\\A\\B\\V", true, "cu", false},  // HKCU clears Relative and reads the path as given
      {"HKLM\\A\\B\\V", false, "lm", false},
      {"HKLM\\A\\B\\V", true, "lm-root", true},  // HKLM leaves Relative as it was
      {"A\\B\\V", false, "lm", false},           // no prefix: the machine hive
      {"A\\B\\V", true, "lm-root", true},
      {"HKCR\\A\\B\\V", false, "lm-hkcr", false},  // reading does not know HKCR
      {"HKEY_CURRENT_USER\\A\\B\\V", false, "lm-long", false},
      {"HKLM\\A\\B\\", false, "lm-default", false},  // trailing backslash: default value
      {"HKLM\\A\\B\\\\", false, "lm-default", false},
      {"HKLM\\A\\B\\W", false, "def", false},
      {"HKLM\\Nirgends\\V", true, "def", true},
  };
  for (const Case& c : cases) {
    bool relative = c.relative;
    EXPECT_EQ(RegRead(lib, c.path, &relative, "def"), c.want) << c.path << " relative " << c.relative;
    EXPECT_EQ(relative, c.relative_after) << c.path;
  }
  EXPECT_EQ(reg.writes, 0);
  EXPECT_FALSE(reg.KeyExists(kHKLM, "Nirgends"));  // reading never creates a key
}

TEST_F(SettingsStoreTest, RegReadTrimsBlanksAndFallsBackOnEmpty) {
  reg.SetString(kHKCU, "K", "padded", " 1 ");
  reg.SetString(kHKCU, "K", "blank", "   ");
  reg.SetString(kHKCU, "K", "tab", "\t2\t");
  reg.SetDword(kHKCU, "K", "dword", 120);
  EXPECT_EQ(RegRead(lib, "HKCU\\K\\padded", false, "x"), "1");
  EXPECT_EQ(RegRead(lib, "HKCU\\K\\blank", false, "x"), "x");
  EXPECT_EQ(RegRead(lib, "HKCU\\K\\tab", false, "x"), "\t2\t");  // only blanks are trimmed
  EXPECT_EQ(RegRead(lib, "HKCU\\K\\dword", false, "x"), "120");
}

TEST_F(SettingsStoreTest, RegWriteHivesPrefixesAndRelativePaths) {
  struct Case {
    const char* path;
    bool relative;
    Hive hive;
    std::string key, name;
  } cases[] = {
      {"HKCU\\A\\V1", false, kHKCU, "A", "V1"},
      {"HKLM\\A\\V2", false, kHKLM, "A", "V2"},
      {"HKCR\\A\\V3", false, kHKCR, "A", "V3"},
      {"hkcr\\A\\V4", false, kHKCR, "A", "V4"},
      {"A\\B\\V5", false, kHKLM, "A\\B", "V5"},
      {"HKCU\\Loader\\V6", true, kHKCU, Sub("Loader"), "V6"},  // relative stays on when writing
      {"Loader\\V7", true, kHKLM, Sub("Loader"), "V7"},
      {"V8", true, kHKLM, kRoot, "V8"},
      {"HKLM\\A\\B\\", false, kHKLM, "A\\B", ""},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(RegWrite(lib, c.path, "wert", c.relative)) << c.path;
    EXPECT_EQ(Stored(c.hive, c.key, c.name), "wert") << c.path;
  }
}

TEST_F(SettingsStoreTest, RegWriteWithoutKeyOrRightWritesNothing) {
  for (const char* path : {"OhneSchraegstrich", "HKCU\\Wert", "HKLM\\", "\\Wert", ""}) {
    EXPECT_FALSE(RegWrite(lib, path, "x")) << path;
  }
  EXPECT_EQ(reg.writes, 0);
  reg.read_only.insert(kHKLM);
  EXPECT_FALSE(RegWrite(lib, "HKLM\\Software\\X\\V", "x"));
  EXPECT_FALSE(RegWrite(lib, "Software\\X\\V", "x"));
  EXPECT_EQ(reg.writes, 0);
}

TEST_F(SettingsStoreTest, SettingsLiveBelowTheUsersProductRoot) {
  EXPECT_EQ(GetSetting(lib, "Loader\\Menu\\Skin", 2), "2");
  EXPECT_EQ(GetSetting(lib, "Loader\\Menu\\Skin"), "");  // a null default reads as empty
  EXPECT_EQ(GetSetting(lib, "Loader\\Menu\\AutoUnload", true), "1");
  reg.SetString(kHKLM, Sub("Loader\\Menu"), "Skin", "1");  // the machine's value is not a user setting
  EXPECT_EQ(GetSetting(lib, "Loader\\Menu\\Skin", 2), "2");

  EXPECT_TRUE(SaveSetting(lib, "Loader\\CheckLastSyncDate", 120));
  EXPECT_TRUE(SaveSetting(lib, "Loader\\Menu\\AutoUnload", false));
  EXPECT_TRUE(SaveSetting(lib, "Patch\\Run", "\"C:\\Programme\\Korvella\\krv25.exe\" /L"));
  EXPECT_EQ(Stored(kHKCU, Sub("Loader"), "CheckLastSyncDate"), "120");
  EXPECT_EQ(Stored(kHKCU, Sub("Loader\\Menu"), "AutoUnload"), "0");
  EXPECT_EQ(GetSetting(lib, "Patch\\Run"), "\"C:\\Programme\\Korvella\\krv25.exe\" /L");
  reg.SetString(kHKCU, Sub("Loader"), "RunPatch", " 1 ");
  EXPECT_EQ(GetSetting(lib, "Loader\\RunPatch", "0"), "1");

  reg.read_only.insert(kHKCU);
  EXPECT_FALSE(SaveSetting(lib, "Loader\\CheckLastSyncDate", 30));
  EXPECT_EQ(GetSetting(lib, "Loader\\CheckLastSyncDate"), "120");
}

TEST_F(SettingsStoreTest, LibrarySettingsPreferTheUser) {
  FakeDialogs dialogs;
  cuAppError err(dialogs, AppInfo{});
  EXPECT_EQ(GetLibSetting(lib, err, "BackendCompression", "50"), "50");
  reg.SetString(kHKLM, Sub("Settings"), "BackendCompression", "30");
  EXPECT_EQ(GetLibSetting(lib, err, "BackendCompression", "50"), "30");
  reg.SetString(kHKCU, Sub("Settings"), "BackendCompression", "70");
  EXPECT_EQ(GetLibSetting(lib, err, "backendcompression", "50"), "70");
  reg.SetString(kHKCU, Sub("Settings"), "StartLog", "");
  EXPECT_EQ(GetLibSetting(lib, err, "StartLog", "0"), "0");
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SettingsStoreTest, ParseRegConstantSplitsBelowTheProductRoot) {
  struct Case {
    const char* name;
    std::string key, value_name;
  } cases[] = {
      {"Loader\\RunPatch", Sub("Loader"), "RunPatch"},
      {"NoAccessCheck", kRoot, "NoAccessCheck"},
      {"Loader\\RecentBackends\\", Sub("Loader\\RecentBackends"), ""},
      {"", kRoot, ""},
  };
  for (const Case& c : cases) {
    std::string key = "stale", value_name = "stale";
    cmnParseRegConstant(lib, c.name, &key, &value_name);
    EXPECT_EQ(key, c.key) << c.name;
    EXPECT_EQ(value_name, c.value_name) << c.name;
  }
}

TEST(SplitHiveTest, KnowsFourPrefixesInOrder) {
  struct Case {
    const char* path;
    bool found;
    Hive hive;
    const char* rest;
  } cases[] = {
      {"HKCU\\Software\\A", true, kHKCU, "Software\\A"},
      {"hklm\\Software\\A", true, kHKLM, "Software\\A"},
      {"HKEY_LOCAL_MACHINE\\Software\\A", true, kHKLM, "\\Software\\A"},
      {"HKEY_CURRENT_USER\\Software\\A", true, kHKCU, "\\Software\\A"},
      {"hkey_current_user", true, kHKCU, ""},
      {"HKCR\\CLSID", false, Hive{}, "HKCR\\CLSID"},
      {"HKCU", false, Hive{}, "HKCU"},
      {"Software\\A", false, Hive{}, "Software\\A"},
      {"", false, Hive{}, ""},
  };
  for (const Case& c : cases) {
    std::string path = c.path;
    Hive hive = Hive::Users;
    EXPECT_EQ(cmnSplitHive(&path, &hive), c.found) << c.path;
    EXPECT_EQ(hive, c.hive) << c.path;
    EXPECT_EQ(path, c.rest) << c.path;
  }
}

// The same rules against the platform's own registry, below a key of our own.
TEST(NativeSettingsStoreTest, WritesAndReadsTheRealStore) {
  Platform platform = CreateNativePlatform();
  if (!platform.registry) GTEST_SKIP() << "this platform has no native registry yet";
  std::mt19937_64 random(std::random_device{}() ^
                         static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  const std::string key = "Software\\KrvTest-" + std::to_string(random());
  FakeFileSystem fs;
  FakeSystem sys;
  krvLibrary lib(*platform.registry, fs, sys);
  struct Cleanup {
    Registry& reg;
    std::string key;
    ~Cleanup() { reg.DeleteKeyTree(Hive::CurrentUser, key, nullptr); }
  } cleanup{*platform.registry, key};

  EXPECT_EQ(RegRead(lib, "HKCU\\" + key + "\\Loader\\Wert", false, "fehlt"), "fehlt");
  EXPECT_FALSE(platform.registry->KeyExists(Hive::CurrentUser, key));
  ASSERT_TRUE(RegWrite(lib, "HKCU\\" + key + "\\Loader\\Wert", " Grüße 1 "));
  ASSERT_TRUE(RegWrite(lib, "HKCU\\" + key + "\\Loader\\", "Standard"));
  EXPECT_EQ(RegRead(lib, "hkcu\\" + key + "\\loader\\wert", false, "fehlt"), "Grüße 1");
  EXPECT_EQ(RegRead(lib, "HKCU\\" + key + "\\Loader\\", false, "fehlt"), "Standard");
  RegValue value;
  ASSERT_EQ(platform.registry->ReadValue(Hive::CurrentUser, key + "\\Loader", "Wert", &value, nullptr), RegStatus::kOk);
  EXPECT_EQ(value.type, kRegSz);
  EXPECT_EQ(value.text, " Grüße 1 ");
}

}  // namespace
}  // namespace krv
