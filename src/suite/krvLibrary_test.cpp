#include "suite/krvLibrary.h"

#include <gtest/gtest.h>

#include "suite/SuiteNames.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

const std::string kRoot = kProductRoot;
const std::string kSettings = kRoot + "\\Settings";

class krvLibraryTest : public testing::Test {
 protected:
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  krvLibrary lib{reg, fs, sys};
};

TEST_F(krvLibraryTest, RegReadGivesTextOrDefault) {
  reg.SetString(Hive::CurrentUser, kRoot + "\\Loader", "RunPatch", "1");
  reg.SetDword(Hive::CurrentUser, kRoot + "\\Loader", "Skin", 2);
  reg.WriteValue(Hive::CurrentUser, kRoot + "\\Loader", "Pfad", RegValue::ExpandSz("%TEMP%\\x"), nullptr);
  reg.WriteValue(Hive::CurrentUser, kRoot + "\\Loader", "Bin", RegValue::Raw(kRegBinary, {1, 2}), nullptr);
  reg.SetString(Hive::LocalMachine, kRoot, "", "Standardwert");
  const int writes = reg.writes;

  EXPECT_EQ(lib.RegRead(Hive::CurrentUser, kRoot + "\\Loader", "RunPatch", "0"), "1");
  EXPECT_EQ(lib.RegRead(Hive::CurrentUser, kRoot + "\\Loader\\", "runpatch", "0"), "1");
  EXPECT_EQ(lib.RegRead(Hive::CurrentUser, kRoot + "\\Loader", "Skin", ""), "2");
  EXPECT_EQ(lib.RegRead(Hive::CurrentUser, kRoot + "\\Loader", "Pfad", ""), "%TEMP%\\x");
  EXPECT_EQ(lib.RegRead(Hive::CurrentUser, kRoot + "\\Loader", "Bin", "def"), "def");
  EXPECT_EQ(lib.RegRead(Hive::CurrentUser, kRoot + "\\Loader", "Fehlt", "def"), "def");
  EXPECT_EQ(lib.RegRead(Hive::CurrentUser, kRoot + "\\Fehlt", "RunPatch", "def"), "def");
  EXPECT_EQ(lib.RegRead(Hive::LocalMachine, kRoot, "", "def"), "Standardwert");
  EXPECT_EQ(reg.writes, writes);  // reading creates nothing
  EXPECT_FALSE(reg.KeyExists(Hive::CurrentUser, kRoot + "\\Fehlt"));
}

TEST_F(krvLibraryTest, RegWriteAndValueExists) {
  EXPECT_TRUE(lib.RegWrite(Hive::CurrentUser, kRoot + "\\Patch\\", "Run", "C:\\krv25.exe /L"));
  RegValue value;
  ASSERT_EQ(reg.ReadValue(Hive::CurrentUser, kRoot + "\\Patch", "Run", &value, nullptr), RegStatus::kOk);
  EXPECT_EQ(value, RegValue::Sz("C:\\krv25.exe /L"));
  EXPECT_TRUE(lib.RegValueExists(Hive::CurrentUser, kRoot + "\\Patch", "RUN"));
  EXPECT_FALSE(lib.RegValueExists(Hive::CurrentUser, kRoot + "\\Patch", "Other"));

  EXPECT_FALSE(lib.RegWrite(Hive::CurrentUser, "", "Run", "x"));
  EXPECT_FALSE(lib.RegWrite(Hive::CurrentUser, "\\", "Run", "x"));
  reg.read_only.insert(Hive::LocalMachine);
  EXPECT_FALSE(lib.RegWrite(Hive::LocalMachine, kRoot + "\\Options", "AccessPath", "x"));
}

TEST(krvLibraryStrings, RegistryPathPartsSplitAtBackslashesOnly) {
  EXPECT_EQ(PathKeyPart("Loader\\Menu/Skin"), "Loader");
  EXPECT_EQ(PathLastPart("Loader\\Menu/Skin"), "Menu/Skin");
  EXPECT_EQ(PathKeyPart("RunPatch"), "");
  EXPECT_EQ(PathLastPart("RunPatch"), "RunPatch");
  EXPECT_EQ(AddTrailingSeparator("a", "%|"), "a%|");
  EXPECT_EQ(RemoveTrailingSeparator("C:\\Korvella\\\\"), "C:\\Korvella\\");
  EXPECT_EQ(ValueOrDefault(std::string(), "0"), "0");
  EXPECT_EQ(ValueOrDefault(std::string("1"), "0"), "1");
}

TEST(krvLibraryStrings, PrepareArgumentQuotesByWindowsRules) {
  struct Case {
    const char *in, *out;
  } cases[] = {
      {"/L", "/L"},           {"/KORVELLA II.5 Startprogramm", "\"/KORVELLA II.5 Startprogramm\""},
      {"", "\"\""},           {"C:\\Daten Ordner\\", "\"C:\\Daten Ordner\\\\\""},
      {"a\"b", "\"a\\\"b\""}, {"C:\\a\\b", "C:\\a\\b"},
  };
  for (const Case& c : cases) EXPECT_EQ(PrepareArgument(c.in), c.out) << c.in;
}

TEST_F(krvLibraryTest, SettingsCollectionUserBeforeMachine) {
  reg.SetString(Hive::CurrentUser, kSettings, "StartLog", "1");
  reg.SetString(Hive::LocalMachine, kSettings, "StartLog", "0");
  reg.SetString(Hive::LocalMachine, kSettings, "UseProfile", "1");
  reg.SetString(Hive::CurrentUser, kSettings, "CheckLib", "");
  reg.SetString(Hive::LocalMachine, kSettings, "CheckLib", "0");
  reg.SetString(Hive::CurrentUser, kSettings, "NoRuntime", "");

  krvSettings& settings = lib.Application().Settings();
  std::string value;
  EXPECT_TRUE(settings.Item("startlog", &value));
  EXPECT_EQ(value, "1");
  EXPECT_EQ(settings.Value("UseProfile", "0"), "1");
  EXPECT_EQ(settings.Value("CheckLib", "1"), "0");  // an empty user value does not hide the machine's
  EXPECT_TRUE(settings.Item("NoRuntime", &value));
  EXPECT_EQ(value, "");
  EXPECT_EQ(settings.Value("NoRuntime", "0"), "0");
  EXPECT_FALSE(settings.Item("NoAccessCheck", &value));
  EXPECT_EQ(settings.Value("NoAccessCheck", "0"), "0");
  EXPECT_EQ(settings.Names(), (std::vector<std::string>{"StartLog", "CheckLib", "NoRuntime", "UseProfile"}));
}

}  // namespace
}  // namespace krv
