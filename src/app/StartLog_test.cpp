#include "app/StartLog.h"

#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

constexpr char kSettingsKey[] = "Software\\Vantorel\\Korvella\\10.25\\Settings";
constexpr char kLogPath[] = "C:\\Programme\\Korvella\\krv25.log";

class StartLogTest : public ::testing::Test {
 protected:
  StartLogTest() {
    sys.exe_path = "C:\\Programme\\Korvella\\krv25.exe";
    fs.AddFolder("C:\\Programme\\Korvella");
  }
  void Enable(const std::string& value) { reg.SetString(Hive::CurrentUser, kSettingsKey, "StartLog", value); }
  std::string Log() {
    const FakeFileSystem::File* file = fs.Get(kLogPath);
    return file ? file->content : "<none>";
  }
  void Start(const std::string& line) { StartLog(lib, err, fs, sys, line); }

  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  krvLibrary lib{reg, fs, sys};
  cuAppError err{dialogs, AppInfo{}};
};

TEST_F(StartLogTest, WritesOnlyWhenSwitchedOn) {
  for (const char* value : {"", "0", "2", "ja", "11"}) {
    if (*value) Enable(value);
    Start("\"C:\\Office\\MSACCESS.EXE\" \"C:\\Programme\\Korvella\\krv25.mde\"");
    EXPECT_EQ(Log(), "<none>") << value;
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(StartLogTest, AppendsThreeLinesPerStartWithoutAPassword) {
  reg.SetString(Hive::LocalMachine, kSettingsKey, "StartLog", "1");  // the machine's switch counts too
  Start("\"C:\\a.exe\" \"b.mde\" /user \"Admin\" /pwd \"ZBNHte\" /cmd \"krv25.exe\"");
  sys.now = LocalTime{999, 1, 2, 7, 5, 9, 6};
  StartLog(lib, err, fs, sys, "zweite Zeile", "posix_spawn(x): pwd ZBNHte");
  EXPECT_EQ(Log(),
            "[06.12.2026 11:43:42]\r\n\"C:\\a.exe\" \"b.mde\" /user \"Admin\" /pwd \"YYYY\" /cmd \"krv25.exe\"\r\n\r\n"
            "[02.01.0999 07:05:09]\r\nzweite Zeile\r\nStart fehlgeschlagen: posix_spawn(x): pwd ZBNHte\r\n\r\n");
}

TEST_F(StartLogTest, AFailedWriteIsSkippedSilently) {
  Enable("1");
  fs.AddFile(kLogPath, "alt\r\n", kAttrReadOnly);
  EXPECT_NO_THROW(Start("x"));
  EXPECT_EQ(Log(), "alt\r\n");
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST(MaskPasswordTest, ReplacesTheArgumentAfterPwd) {
  struct Case {
    const char* line;
    const char* want;
  } cases[] = {
      {"a /pwd \"geheim wort\" /cmd x", "a /pwd \"YYYY\" /cmd x"},
      {"a /PWD geheim /cmd x", "a /PWD \"YYYY\" /cmd x"},
      {"/pwd geheim", "/pwd \"YYYY\""},
      {"a /pwd \"offen", "a /pwd \"YYYY\""},
      {"a /pwd x /pwd y", "a /pwd \"YYYY\" /pwd \"YYYY\""},
      {"a /pwd", "a /pwd"},
      {"C:\\x/pwd y", "C:\\x/pwd y"},  // part of another word
      {"a /pwdx y", "a /pwdx y"},
  };
  for (const Case& c : cases) EXPECT_EQ(MaskPassword(c.line), c.want) << c.line;
}

}  // namespace
}  // namespace krv
