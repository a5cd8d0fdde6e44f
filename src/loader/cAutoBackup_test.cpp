#include "loader/cAutoBackup.h"

#include <gtest/gtest.h>

#include "loader/frmLoader.h"
#include "testing/BackupWorld.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeProgressWindow.h"

namespace krv {
namespace {

constexpr char kFolder[] = "E:\\Sicherung";
constexpr char kMade[] = "korvella_20261206_114342.mdb";  // at the fake clock's time

LocalTime At(int mo, int d, int h, int mi = 0, int s = 0) { return {2026, mo, d, h, mi, s, 0}; }

TEST(BackupDueTest, IntervalRules) {
  const struct {
    int interval;
    LocalTime last, now;
    bool due;
  } cases[] = {
      {0, At(12, 5, 23), At(12, 6, 2, 30), false},               // 3 hour boundaries
      {0, At(12, 5, 23), At(12, 6, 3), true},                    // 4 boundaries, another day
      {0, At(12, 6, 8), At(12, 6, 18), false},                   // the same day
      {0, At(11, 6, 8), At(12, 6, 9), true},                     // a month later, same day of the month
      {1, At(11, 29, 11, 43, 42), At(12, 6, 11, 43, 42), true},  // 7 days to the second
      {1, At(11, 29, 11, 43, 43), At(12, 6, 11, 43, 42), false},
      {2, At(11, 6, 12), At(12, 6, 12), true},
      {5, At(1, 1, 0), At(12, 6, 12), false},
  };
  for (const auto& c : cases) EXPECT_EQ(BackupDue(c.interval, c.last, c.now), c.due) << c.interval << " " << c.now.hour;
}

struct TestFs : FakeFileSystem {
  bool writable = true;
  bool FolderWritable(const std::string& folder) override { return writable && FakeFileSystem::FolderWritable(folder); }
};

TEST(AutoBackupTest, StepActsOnTheResult) {
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  auto msg = [&](int32_t id, const char* arg = nullptr) { return err.MsgLoad(id, arg); };
  auto hinted = [&](int32_t id, const char* arg = nullptr) {
    return msg(id, arg) + "\r\n\r\n" + msg(kMsgBackupNeedsAdmin);
  };
  const std::string made = msg(kMsgBackupMade, kMade), missing = hinted(kMsgBackupFolderMissing, kFolder);
  const struct {
    const char *active, *folder;
    bool exists, admin, writable, no_menu;
    int answer;
    const char* existing;  // a copy in the folder
    int32_t action;        // a stop when not 1
    std::vector<std::string> texts;
    const char* active_after;
  } cases[] = {
      {"0", kFolder, false, true, true, false, kIdYes, nullptr, 1, {}, "0"},
      {"1", kFolder, false, false, true, false, 0, nullptr, kActionMenu, {missing}, "1"},
      {"1", kFolder, false, false, true, true, 0, nullptr, kActionNothing, {missing}, "1"},
      {"1", kFolder, false, true, true, false, kIdYes, nullptr, kActionAdminTools, {msg(114, kFolder)}, "1"},
      {"1", kFolder, false, true, true, false, kIdNo, nullptr, 1, {msg(114, kFolder), msg(125)}, "0"},
      {"1", kFolder, false, true, true, false, kIdCancel, nullptr, kActionMenu, {msg(114, kFolder)}, "1"},
      {"1", kFolder, true, false, true, false, 0, "korvella_20261129_114342.mdb", 1, {made}, "1"},
      {"1", kFolder, true, false, true, false, 0, "korvella_20261129_114343.mdb", 1, {}, "1"},  // weekly: not yet due
      {"1", kFolder, true, false, false, false, 0, nullptr, 1, {hinted(kMsgBackupFolderNotWritable, kFolder)}, "1"},
      {"1", "D:\\Daten\\", true, true, true, false, 0, nullptr, 1, {msg(183, "D:\\Daten"), msg(151)}, "0"},
      {"1", "d:\\daten", true, false, true, false, 0, nullptr, 1, {msg(183, "D:\\Daten"), hinted(221)}, "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.folder << " " << c.action << " " << c.answer);
    TestFs fs;
    BackupWorld w{fs, "D:\\Daten\\korvella.mdb", c.folder};
    fs.AddFile("D:\\Daten\\korvella.mdb", "Daten");
    fs.AddFile("C:\\Programme\\Korvella\\krvadm25.exe", "x");
    if (c.exists) fs.AddFolder(c.folder);
    if (c.existing) fs.AddFile(std::string(kFolder) + "\\" + c.existing, "alt");
    fs.writable = c.writable;
    w.Set("Active", c.active);
    w.sys.admin = c.admin;
    w.dialogs.answers = {c.answer};
    FakeProgressWindow::Log log;
    FakeProgressWindow window(&log);
    LoaderContext ctx{w.err, w.lib, w.objects, w.sys, window, false, "krv25"};
    ctx.no_menu = c.no_menu;
    frmLoader loader(ctx, {});
    EXPECT_EQ(CheckAutoBackup(loader), c.action == 1);
    EXPECT_EQ(loader.result().Action, c.action == 1 ? kActionNothing : c.action);
    EXPECT_EQ(loader.result().File + " " + loader.result().Args,
              c.action == kActionAdminTools ? "C:\\Programme\\Korvella\\krvadm25.exe /AutoBackup" : " ");
    EXPECT_EQ(w.Texts(), c.texts);
    EXPECT_EQ(w.Get("Active"), c.active_after);
    const FakeFileSystem::File* copy = fs.Get(std::string(kFolder) + "\\" + kMade);
    EXPECT_EQ(copy ? copy->content : "", c.texts == std::vector{made} ? "Daten" : "");
    const bool ran = c.exists && c.writable && !c.texts.empty();  // the backup itself
    EXPECT_EQ(log.lines.size() > 1 && log.lines[1] == msg(kMsgBackupRunning), ran);
  }
}

}  // namespace
}  // namespace krv
