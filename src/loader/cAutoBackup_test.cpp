#include "loader/cAutoBackup.h"

#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeProgressWindow.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

constexpr char kRoot[] = "Software\\Vantorel\\Korvella\\10.25";
constexpr char kBackend[] = "D:\\Daten\\korvella.mdb";
constexpr char kFolder[] = "E:\\Sicherung";
constexpr char kAdminTools[] = "C:\\Programme\\Korvella\\krvadm25.exe";

LoaderResult Result(int32_t action, std::string file = {}, std::string args = {}) {
  LoaderResult r;
  r.Action = action;
  r.File = std::move(file);
  r.Args = std::move(args);
  return r;
}

LocalTime At(int y, int mo, int d, int h, int mi = 0, int s = 0) { return {y, mo, d, h, mi, s, 0}; }

TEST(BackupDueTest, IntervalRules) {
  struct Case {
    int interval;
    LocalTime last, now;
    bool due;
  } cases[] = {
      {0, At(2026, 12, 5, 23), At(2026, 12, 6, 2, 30), false},  // 3 hour boundaries
      {0, At(2026, 12, 5, 23), At(2026, 12, 6, 3), true},       // 4 boundaries, other day
      {0, At(2026, 12, 6, 8), At(2026, 12, 6, 18), false},      // same day of the month
      {0, At(2026, 12, 5, 18, 0, 1), At(2026, 12, 6, 18), true},
      {0, At(2026, 12, 31, 22, 59), At(2027, 1, 1, 2), true},                // across the year
      {0, At(2026, 11, 6, 8), At(2026, 12, 6, 9), true},                     // a month later, same day of the month
      {1, At(2026, 11, 29, 11, 43, 42), At(2026, 12, 6, 11, 43, 42), true},  // 7 days to the second
      {1, At(2026, 11, 29, 11, 43, 43), At(2026, 12, 6, 11, 43, 42), false},
      {2, At(2026, 11, 6, 12), At(2026, 12, 6, 12), true},
      {2, At(2026, 11, 6, 12, 0, 1), At(2026, 12, 6, 12), false},
      {5, At(2020, 1, 1, 0), At(2026, 12, 6, 12), false},
      {-1, At(2020, 1, 1, 0), At(2026, 12, 6, 12), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BackupDue(c.interval, c.last, c.now), c.due)
        << c.interval << ": " << c.last.day << "." << c.last.hour << " -> " << c.now.day << "." << c.now.hour;
  }
}

struct TestFs : FakeFileSystem {
  bool writable = true;
  bool FolderWritable(const std::string& folder) override { return writable && FakeFileSystem::FolderWritable(folder); }
};

class AutoBackupTest : public ::testing::Test {
 protected:
  AutoBackupTest() {
    reg.SetString(Hive::CurrentUser, std::string(kRoot) + "\\Options", "BackendPath", kBackend);
    fs.AddFile(kBackend, "Daten");
    fs.AddFile(kAdminTools, "x");
    Machine("Active", "1");
    Machine("Folder", kFolder);
  }
  void Machine(const std::string& name, const std::string& value) {
    reg.SetString(Hive::LocalMachine, std::string(kRoot) + "\\AutoBackup", name, value);
  }
  std::string Active() { return lib.RegRead(Hive::LocalMachine, std::string(kRoot) + "\\AutoBackup", "Active", "?"); }
  std::string WithAdminHint(int32_t id, const std::string& arg = {}) {
    return err.MsgLoad(id, arg.empty() ? MsgArg() : MsgArg(arg)) + "\r\n\r\n" + err.MsgLoad(kMsgBackupNeedsAdmin);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& s : dialogs.shown) texts.push_back(s.text);
    return texts;
  }
  std::vector<std::string> Copies() {
    std::vector<std::string> names;
    for (const DirEntry& e : fs.List(std::string(kFolder) + "\\*")) names.push_back(e.name);
    return names;
  }
  // Runs the loader step alone.
  LoaderResult RunStep(bool no_menu, bool* went_on) {
    FakeProgressWindow::Log log;
    FakeProgressWindow window(&log);
    LoaderContext ctx{err, lib, objects, sys, window, false, "krv25"};
    ctx.no_menu = no_menu;
    frmLoader loader(ctx, {});
    *went_on = CheckAutoBackup(loader);
    lines = log.lines;
    return loader.result();
  }

  FakeRegistry reg;
  TestFs fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  krvLibrary lib{reg, fs, sys};
  IObjects objects{reg, fs, sys};
  std::vector<std::string> lines;
};

TEST_F(AutoBackupTest, ResultsMessagesAndSwitchingOff) {
  const std::string made = "korvella_20261206_114342.mdb";  // the fake clock's time
  struct Case {
    const char* name;
    bool folder, admin, writable;
    const char* target;  // the folder setting
    std::vector<int> answers;
    std::vector<std::string> existing;
    int32_t code;
    std::vector<std::string> texts;
    std::string active;
    bool copied;
  } cases[] = {
      {"missing, user",
       false,
       false,
       true,
       kFolder,
       {},
       {},
       3,
       {WithAdminHint(kMsgBackupFolderMissing, kFolder)},
       "1",
       false},
      {"missing, admin, yes", false, true, true, kFolder, {kIdYes}, {}, 1, {err.MsgLoad(114, kFolder)}, "1", false},
      {"missing, admin, no",
       false,
       true,
       true,
       kFolder,
       {kIdNo},
       {},
       0,
       {err.MsgLoad(114, kFolder), err.MsgLoad(kMsgBackupOffNoFolder)},
       "0",
       false},
      {"missing, admin, cancel",
       false,
       true,
       true,
       kFolder,
       {kIdCancel},
       {},
       3,
       {err.MsgLoad(114, kFolder)},
       "1",
       false},
      {"first copy", true, false, true, kFolder, {}, {}, 2, {err.MsgLoad(kMsgBackupMade, made)}, "1", true},
      {"due",
       true,
       false,
       true,
       kFolder,
       {},
       {"korvella_20261129_114342.mdb"},
       2,
       {err.MsgLoad(kMsgBackupMade, made)},
       "1",
       true},
      {"not due", true, false, true, kFolder, {}, {"korvella_20261129_114343.mdb"}, 0, {}, "1", false},
      {"not writable",
       true,
       false,
       false,
       kFolder,
       {},
       {},
       2,
       {WithAdminHint(kMsgBackupFolderNotWritable, kFolder)},
       "1",
       false},
      {"own folder, admin",
       true,
       true,
       true,
       "D:\\Daten\\",
       {},
       {},
       2,
       {err.MsgLoad(kMsgBackupFolderIsBackendFolder, "D:\\Daten"), err.MsgLoad(kMsgBackupAbortedOff)},
       "0",
       false},
      {"own folder, user",
       true,
       false,
       true,
       "d:\\daten",
       {},
       {},
       2,
       {err.MsgLoad(kMsgBackupFolderIsBackendFolder, "D:\\Daten"), WithAdminHint(kMsgFunctionAborted)},
       "1",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs = TestFs{};
    fs.AddFile(kBackend, "Daten");
    if (c.folder) fs.AddFolder(c.target);
    for (const std::string& name : c.existing) fs.AddFile(std::string(kFolder) + "\\" + name, "alt");
    fs.writable = c.writable;
    Machine("Active", "1");
    Machine("Folder", c.target);
    sys.admin = c.admin;
    dialogs = FakeDialogs{};
    dialogs.answers.assign(c.answers.begin(), c.answers.end());

    cAutoBackup backup(lib, objects, err);
    std::vector<std::string> status;
    backup.Status = [&status](const std::string& text) { status.push_back(text); };
    EXPECT_EQ(backup.AutoBackup(), c.code);
    EXPECT_EQ(Texts(), c.texts);
    EXPECT_EQ(Active(), c.active);
    const bool copied = fs.Get(std::string(kFolder) + "\\" + made) != nullptr;
    EXPECT_EQ(copied, c.copied);
    if (copied) {
      EXPECT_EQ(fs.Get(std::string(kFolder) + "\\" + made)->content, "Daten");
    }
    EXPECT_EQ(!status.empty() && status[0] == err.MsgLoad(kMsgBackupRunning), c.code == 2 && c.writable);
  }
}

TEST_F(AutoBackupTest, StepActsOnTheResult) {
  struct Case {
    const char* active;
    bool folder, no_menu;
    int answer;
    bool went_on;
    LoaderResult result;
  } cases[] = {
      {"0", false, false, kIdYes, true, {}},
      {"1", false, false, kIdYes, false, Result(kActionAdminTools, kAdminTools, "/AutoBackup")},
      {"1", false, false, kIdCancel, false, Result(kActionMenu)},
      {"1", false, true, kIdCancel, false, Result(kActionNothing)},
      {"1", true, false, kIdYes, true, {}},
  };
  sys.admin = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.active) + (c.folder ? " folder" : "") + (c.no_menu ? " no menu" : ""));
    Machine("Active", c.active);
    if (c.folder) fs.AddFolder(kFolder);
    dialogs = FakeDialogs{};
    dialogs.answers = {c.answer};
    bool went_on = false;
    EXPECT_EQ(RunStep(c.no_menu, &went_on), c.result);
    EXPECT_EQ(went_on, c.went_on);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], err.MsgLoad(kMsgCheckingAutoBackup));
    if (std::string(c.active) == "0") {
      EXPECT_TRUE(dialogs.shown.empty());
    }
  }
}

}  // namespace
}  // namespace krv
