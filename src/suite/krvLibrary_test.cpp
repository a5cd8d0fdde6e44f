#include "suite/krvLibrary.h"

#include <gtest/gtest.h>

#include "suite/Components.h"
#include "suite/SuiteNames.h"
#include "suite/mCommon_CmdLine.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

TEST(krvLibraryTest, RegReadSettingsUserBeforeMachineAndCommandLines) {
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
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
  sys.exe_path = "C:\\K II\\krv25.exe";
  EXPECT_EQ(cmnCmdLineAdminTools(lib, fs, err), "");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text + " " + std::to_string(dialogs.shown[0].style),
            "Datei nicht gefunden: C:\\K II\\krvadm25.exe 16");
}

TEST(krvLibraryTest, PrepareArgumentQuotesByWindowsRules) {
  const struct {
    const char *in, *out;
  } cases[] = {{"/L", "/L"}, {"", "\"\""}, {"C:\\D O\\", "\"C:\\D O\\\\\""}, {"a\\\\\"b c", "\"a\\\\\\\\\\\"b c\""}};
  for (const auto& c : cases) EXPECT_EQ(PrepareArgument(c.in), c.out) << c.in;
}

// Reads fail the way a broken or locked hive does.
struct FailingRegistry : FakeRegistry {
  RegStatus status = RegStatus::kDenied;
  RegStatus ReadValue(Hive, const std::string&, const std::string&, RegValue*, std::string* err) override {
    if (err) *err = "RegQueryValueExW: failed";
    return status;
  }
};

TEST(CreateComponent, RegisteredWhenTheClsidKeyExistsInClassesRoot) {
  FakeRegistry reg;
  reg.CreateKey(Hive::ClassesRoot, "KrvLib25.krvLibrary\\CLSID", nullptr);  // no default value needed
  reg.CreateKey(Hive::ClassesRoot, "KRVInf25.krvInfo", nullptr);
  EXPECT_EQ(CreateComponent(reg, "krvlib25.KRVLIBRARY").number, 0);
  EXPECT_EQ(CreateComponent(reg, "KRVInf25.krvInfo").number, kErrCannotCreateComponent);
  FailingRegistry failing;
  for (const auto& [status, number, text] : {std::tuple{RegStatus::kDenied, kErrPermissionDenied, "KrvInt25.IObjects"},
                                             {RegStatus::kFailed, kErrUnspecified, "RegQueryValueExW"}}) {
    failing.status = status;
    const ComponentResult result = CreateComponent(failing, "KrvInt25.IObjects");
    EXPECT_EQ(result.number, number);
    EXPECT_NE(result.description.find(text), std::string::npos) << result.description;
  }
}

}  // namespace
}  // namespace krv
