#include "loader/cAutoBackup.h"

#include <gtest/gtest.h>

#include "loader/frmLoader.h"
#include "testing/BackupWorld.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeProgressWindow.h"

namespace krv {
namespace {

constexpr char kBackend[] = "D:\\Daten\\korvella.mdb";
constexpr char kFolder[] = "E:\\Sicherung";
constexpr char kMade[] = "korvella_20261206_114342.mdb";  // at the fake clock's time

LocalTime At(int d, int h, int mi = 0, int s = 0, int mo = 12, int y = 2026) { return {y, mo, d, h, mi, s, 0}; }

TEST(BackupDueTest, IntervalRules) {
  struct Case {
    int interval;
    LocalTime last, now;
    bool due;
  } cases[] = {
      {0, At(5, 23), At(6, 2, 30), false},                   // 3 hour boundaries
      {0, At(5, 23), At(6, 3), true},                        // 4 boundaries, another day
      {0, At(6, 8), At(6, 18), false},                       // the same day
      {0, At(31, 22, 59), At(1, 2, 0, 0, 1, 2027), true},    // across the year
      {0, At(6, 8, 0, 0, 11), At(6, 9), true},               // a month later, same day of the month
      {1, At(29, 11, 43, 42, 11), At(6, 11, 43, 42), true},  // 7 days to the second
      {1, At(29, 11, 43, 43, 11), At(6, 11, 43, 42), false},
      {2, At(6, 12, 0, 0, 11), At(6, 12), true},
      {2, At(6, 12, 0, 1, 11), At(6, 12), false},
      {5, At(1, 0, 0, 0, 1, 2020), At(6, 12), false},
  };
  for (const Case& c : cases) EXPECT_EQ(BackupDue(c.interval, c.last, c.now), c.due) << c.interval << " " << c.now.hour;
}

struct TestFs : FakeFileSystem {
  bool writable = true;
  bool FolderWritable(const std::string& folder) override { return writable && FakeFileSystem::FolderWritable(folder); }
};

class AutoBackupTest : public ::testing::Test {
 protected:
  void Reset(const std::string& folder, bool create, bool admin, std::vector<int> answers) {
    fs = TestFs{};
    fs.AddFile(kBackend, "Daten");
    fs.AddFile("C:\\Programme\\Korvella\\krvadm25.exe", "x");
    if (create) fs.AddFolder(folder);
    w.Set("Folder", folder);
    w.Set("Active", "1");
    w.sys.admin = admin;
    w.dialogs = FakeDialogs{};
    w.dialogs.answers.assign(answers.begin(), answers.end());
  }
  std::string Hinted(int32_t id, const std::string& arg = {}) {
    return w.err.MsgLoad(id, arg.empty() ? MsgArg() : MsgArg(arg)) + "\r\n\r\n" + w.err.MsgLoad(kMsgBackupNeedsAdmin);
  }

  TestFs fs;
  BackupWorld w{fs, kBackend, kFolder};
};

TEST_F(AutoBackupTest, ResultsMessagesAndSwitchingOff) {
  struct Case {
    const char* folder;
    bool exists, admin, writable;
    int answer;
    const char* existing;  // a copy in the folder
    int32_t code;
    std::vector<std::string> texts;
    const char* active;  // afterwards
  } cases[] = {
      {kFolder, false, false, true, 0, nullptr, 3, {Hinted(kMsgBackupFolderMissing, kFolder)}, "1"},
      {kFolder, false, true, true, kIdYes, nullptr, 1, {w.err.MsgLoad(114, kFolder)}, "1"},
      {kFolder, false, true, true, kIdNo, nullptr, 0, {w.err.MsgLoad(114, kFolder), w.err.MsgLoad(125)}, "0"},
      {kFolder, false, true, true, kIdCancel, nullptr, 3, {w.err.MsgLoad(114, kFolder)}, "1"},
      {kFolder, true, false, true, 0, nullptr, 2, {w.err.MsgLoad(kMsgBackupMade, kMade)}, "1"},
      {kFolder, true, false, true, 0, "korvella_20261129_114342.mdb", 2, {w.err.MsgLoad(kMsgBackupMade, kMade)}, "1"},
      {kFolder, true, false, true, 0, "korvella_20261129_114343.mdb", 0, {}, "1"},  // weekly: not yet due
      {kFolder, true, false, false, 0, nullptr, 2, {Hinted(kMsgBackupFolderNotWritable, kFolder)}, "1"},
      {"D:\\Daten\\", true, true, true, 0, nullptr, 2, {w.err.MsgLoad(183, "D:\\Daten"), w.err.MsgLoad(151)}, "0"},
      {"d:\\daten", true, false, true, 0, nullptr, 2, {w.err.MsgLoad(183, "D:\\Daten"), Hinted(221)}, "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.folder) + " " + std::to_string(c.code) + " " + std::to_string(c.answer));
    Reset(c.folder, c.exists, c.admin, {c.answer});
    if (c.existing) fs.AddFile(std::string(kFolder) + "\\" + c.existing, "alt");
    fs.writable = c.writable;
    cAutoBackup backup(w.lib, w.objects, w.err);
    std::vector<std::string> status;
    backup.Status = [&status](const std::string& text) { status.push_back(text); };
    EXPECT_EQ(backup.AutoBackup(), c.code);
    EXPECT_EQ(w.Texts(), c.texts);
    EXPECT_EQ(w.Get("Active"), c.active);
    const FakeFileSystem::File* made = fs.Get(std::string(kFolder) + "\\" + kMade);
    const bool copied = c.texts == std::vector<std::string>{w.err.MsgLoad(kMsgBackupMade, kMade)};
    EXPECT_EQ(made ? made->content : "", copied ? "Daten" : "");
    EXPECT_EQ(!status.empty() && status[0] == w.err.MsgLoad(kMsgBackupRunning), c.code == 2 && c.writable);
  }
}

TEST_F(AutoBackupTest, StepActsOnTheResult) {
  struct Case {
    const char* active;
    bool exists, no_menu;
    int answer;
    int32_t action;  // a stop when not 1
  } cases[] = {{"0", false, false, kIdYes, 1},
               {"1", false, false, kIdYes, kActionAdminTools},
               {"1", false, false, kIdCancel, kActionMenu},
               {"1", false, true, kIdCancel, kActionNothing},
               {"1", true, false, kIdYes, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.active) + " " + std::to_string(c.action));
    Reset(kFolder, c.exists, true, {c.answer});
    w.Set("Active", c.active);
    FakeProgressWindow::Log log;
    FakeProgressWindow window(&log);
    LoaderContext ctx{w.err, w.lib, w.objects, w.sys, window, false, "krv25"};
    ctx.no_menu = c.no_menu;
    frmLoader loader(ctx, {});
    EXPECT_EQ(CheckAutoBackup(loader), c.action == 1);
    EXPECT_EQ(loader.result().Action, c.action == 1 ? 0 : c.action);
    EXPECT_EQ(loader.result().File, c.action == kActionAdminTools ? "C:\\Programme\\Korvella\\krvadm25.exe" : "");
    EXPECT_EQ(loader.result().Args, c.action == kActionAdminTools ? "/AutoBackup" : "");
    EXPECT_EQ(log.lines.at(0), w.err.MsgLoad(kMsgCheckingAutoBackup));
    if (*c.active == '0') {
      EXPECT_TRUE(w.dialogs.shown.empty());
    }
  }
}

}  // namespace
}  // namespace krv
