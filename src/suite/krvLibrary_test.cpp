#include "suite/krvLibrary.h"

#include <gtest/gtest.h>

#include "suite/SuiteNames.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

TEST(krvLibraryTest, RegReadTypesAndSettingsUserBeforeMachine) {
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  krvLibrary lib{reg, fs, sys};
  const std::string settings = std::string(kProductRoot) + "\\Settings";
  reg.WriteValue(Hive::CurrentUser, "K", "Pfad", RegValue::ExpandSz("%TEMP%"), nullptr);
  reg.WriteValue(Hive::CurrentUser, "K", "Bin", RegValue::Raw(kRegBinary, {1, 2}), nullptr);
  EXPECT_EQ(lib.RegRead(Hive::CurrentUser, "K\\", "pfad", "") + lib.RegRead(Hive::CurrentUser, "K", "Bin", "d"),
            "%TEMP%d");
  reg.SetString(Hive::CurrentUser, settings, "StartLog", "1");
  reg.SetString(Hive::LocalMachine, settings, "StartLog", "0");
  reg.SetString(Hive::LocalMachine, settings, "UseProfile", "1");
  reg.SetString(Hive::CurrentUser, settings, "CheckLib", "");
  reg.SetString(Hive::LocalMachine, settings, "CheckLib", "0");
  krvSettings& s = lib.Application().Settings();
  std::string value = "x";
  EXPECT_FALSE(s.Item("NoAccessCheck", &value));
  EXPECT_EQ(s.Value("startlog", "") + s.Value("UseProfile", "") + s.Value("CheckLib", "1") + value, "110x");
  EXPECT_EQ(s.Names(), (std::vector<std::string>{"StartLog", "CheckLib", "UseProfile"}));
}

TEST(krvLibraryTest, PrepareArgumentQuotesByWindowsRules) {
  const struct {
    const char *in, *out;
  } cases[] = {
      {"/L", "/L"},
      {"", "\"\""},
      {"C:\\Daten Ordner\\", "\"C:\\Daten Ordner\\\\\""},
      {"a\\\\\"b c", "\"a\\\\\\\\\\\"b c\""},
  };
  for (const auto& c : cases) EXPECT_EQ(PrepareArgument(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace krv
