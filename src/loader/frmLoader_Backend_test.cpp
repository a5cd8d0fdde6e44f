// The backend steps of the loader over fakes: lock records, upgrade offer,
// replication expiry and compression.
#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/StarterHarness.h"

namespace krv {
namespace {

constexpr char kBackend[] = "D:\\Daten\\korvella.mdb";
constexpr char kLockFile[] = "D:\\Daten\\korvella.ldb";
const std::string kRoot = std::string(kHarnessRoot) + "\\";

class BackendStepsTest : public ::testing::Test {
 protected:
  BackendStepsTest() {
    ctx.reinit_interface = [this] { return ++reinits, true; };
  }
  bool Run(bool (*step)(frmLoader&), std::deque<int> answers = {}) {
    h.dialogs = FakeDialogs{};
    h.dialogs.answers = answers;
    frmLoader loader(ctx, {});
    const bool go_on = step(loader);
    result = loader.result();
    return go_on;
  }
  std::string User(const std::string& key, const std::string& name) {
    return lib.RegRead(Hive::CurrentUser, kRoot + key, name, "");
  }
  std::string Key() { return "Compressor\\Backend\\" + objects.Backend().Identifier(); }
  bool Compressor() { return result.Action == kActionCompressor && result.Args == "/Backend"; }
  // Style and text of the first message box.
  std::string Shown() {
    return h.dialogs.shown.empty() ? "" : std::to_string(h.dialogs.shown[0].style) + " " + h.dialogs.shown[0].text;
  }

  StarterHarness h;
  FakeDb& db = h.db.File(kBackend);
  cuAppError err{h.dialogs, AppInfo{}};
  krvLibrary lib{h.reg, h.fs, h.sys};
  IObjects objects{h.reg, h.fs, h.sys, &h.db};
  FakeProgressWindow::Log log;
  FakeProgressWindow window{&log};
  LoaderContext ctx{err, lib, objects, h.sys, window, false, "krv25"};
  int reinits = 0;
  LoaderResult result;
};

TEST_F(BackendStepsTest, LockRecordsGoOnlyWithALockFileNobodyHolds) {
  const struct {
    int64_t records;
    bool lock_file, held, read_only;
    const char* after;  // lock file, records, library prepared again
  } cases[] = {
      {0, true, false, false, "1 0 0"},   // no records: nothing released or deleted
      {2, false, false, false, "0 2 0"},  // no lock file: nothing changed
      {2, true, false, false, "0 0 1"},   // stale: both cleared
      {2, true, true, false, "1 2 1"},    // Access holds it: both stay
      {2, true, false, true, "1 2 0"},    // read-only driver: the step is skipped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.records << c.lock_file << c.held << c.read_only);
    h.fs.Release(kLockFile);
    h.fs.DeleteFile(kLockFile, nullptr);
    if (c.lock_file) h.fs.AddFile(kLockFile, "x");
    if (c.held) h.fs.Hold(kLockFile, "msaccess.exe");
    db.Table("USysLock").rows = c.records;
    db.read_only = c.read_only;
    reinits = 0;
    EXPECT_TRUE(Run(CheckBackend));
    EXPECT_EQ(std::to_string(h.fs.FileExists(kLockFile)) + " " + std::to_string(db.Table("USysLock").rows) + " " +
                  std::to_string(reinits),
              c.after);
  }
}

TEST_F(BackendStepsTest, UpgradeOfferedOnlyForAnEmptyBackendWithAPredecessor) {
  const std::string upgrade = "C:\\Programme\\Korvella\\krvup25.exe", backend = "D:\\Meine Daten\\k.mdb";
  h.reg.SetString(Hive::CurrentUser, kRoot + "Options", "BackendPath", backend);
  h.reg.SetString(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Office\\8.0\\Access\\Profiles", "Korvella 8.2",
                  "software\\vantorel\\korvella\\8.2");
  h.reg.SetString(Hive::CurrentUser, "SOFTWARE\\Vantorel\\Korvella\\8.2\\Options", "BackendPath", "C:\\Alt\\k.mdb");
  const struct {
    int64_t addresses;
    bool predecessor, program;
    int answer;
    bool offered, go_on;
  } cases[] = {{5, true, true, kIdYes, false, true},
               {0, false, true, kIdYes, false, true},
               {0, true, false, kIdYes, false, true},
               {0, true, true, kIdNo, true, true},
               {0, true, true, kIdYes, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.addresses << c.predecessor << c.program << c.answer);
    h.db.File(backend).Table("ADRESSEN").rows = c.addresses;
    h.fs.DeleteFile("C:\\Alt\\k.mdb", nullptr);
    if (c.predecessor) h.fs.AddFile("C:\\Alt\\k.mdb", "x");
    h.fs.DeleteFile(upgrade, nullptr);
    if (c.program) h.fs.AddFile(upgrade, "x");
    EXPECT_EQ(Run(CheckUpgrade, {c.answer}), c.go_on);
    EXPECT_EQ(Shown().find("'" + backend + "' enthält (noch) keine Daten") != std::string::npos, c.offered);
    EXPECT_EQ(result.Action, c.go_on ? kActionNothing : kActionUpgrade);
    EXPECT_EQ(result.File + result.Args, c.go_on ? "" : upgrade + " /D\"D:\\Meine Daten\\k.mdb\"");  // one argument
  }
}

TEST_F(BackendStepsTest, ReplicaExpiryWarnsFromTheSetDaysWithTheStopIconInTheLastThree) {
  const struct {
    const char* expires;  // today is 2026-12-06
    const char* days;     // nullptr: not set, the step writes "14"
    int answer, style;    // style 0: no box
    bool go_on;
  } cases[] = {{"2026-12-09", nullptr, kIdOk, kMbIconStop | kMbOkCancel, true},
               {"2026-12-10", "14", kIdOk, kMbIconExclamation | kMbOkCancel, true},
               {"2026-12-21", "14", kIdOk, 0, true},
               {"2026-12-20", "14", kIdCancel, kMbIconExclamation | kMbOkCancel, false},
               {"2026-12-07", "0", kIdOk, 0, true},
               {nullptr, "14", kIdOk, 0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expires ? c.expires : "-");
    db.tables.erase("usysreplica");
    if (c.expires) db.Table("USysReplica") = FakeTable{1, {{"expires", c.expires}}};
    h.reg.DeleteKeyTree(Hive::CurrentUser, kRoot + "Loader", nullptr);
    if (c.days) h.reg.SetString(Hive::CurrentUser, kRoot + "Loader", "RetentionExpireWarning", c.days);
    EXPECT_EQ(Run(CheckRetention, {c.answer}), c.go_on);
    const std::string date = c.style ? std::string(c.expires + 8, 2) + "." + std::string(c.expires + 5, 2) + "." : "";
    EXPECT_EQ(Shown().starts_with(std::to_string(c.style) + " ") && Shown().find(date) != std::string::npos,
              c.style != 0);
    EXPECT_EQ(User("Loader", "RetentionExpireWarning"), c.days ? c.days : c.expires ? "14" : "");
  }
}

TEST_F(BackendStepsTest, GrowthBeyondTheThresholdAsksAndTheAnswersDecideTheReference) {
  const std::string grown = "deutlich gestiegen (von 976,6 KB auf 1,4 MB)";
  const struct {
    const char *size, *when;  // recorded; size null: nothing recorded yet
    size_t now;
    std::deque<int> answers;
    std::string shown, reference_after;
    bool compress;
  } cases[] = {{"1000000", "20260101080000", 1500000, {}, "", "1500000", false},
               {"1000000", "20260101080000", 1500001, {kIdYes}, "am 01.01.2026 08:00 " + grown, "1000000", true},
               {"1000000", "20260101080000", 1500001, {kIdNo, kIdNo}, "am 01.01.2026 08:00 " + grown, "1500001", false},
               {"1000000", nullptr, 1500001, {kIdNo, kIdYes}, "am #Datum unbekannt# " + grown, "1000000", false},
               {nullptr, nullptr, 1000, {}, "", "1000", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.now);
    h.reg.DeleteKeyTree(Hive::CurrentUser, kRoot + "Compressor", nullptr);
    if (c.size) h.reg.SetString(Hive::CurrentUser, kRoot + Key(), "FileSize", c.size);
    if (c.when) h.reg.SetString(Hive::CurrentUser, kRoot + Key(), "DateTime", c.when);
    h.fs.AddFile(kBackend, std::string(c.now, 'x'));
    EXPECT_EQ(Run(CompressBackend, c.answers), !c.compress);
    EXPECT_EQ(Compressor(), c.compress);
    EXPECT_NE(Shown().find(c.shown), std::string::npos) << Shown();
    EXPECT_EQ(h.dialogs.shown.size(), c.answers.size());
    EXPECT_EQ(User(Key(), "FileSize"), c.reference_after);
  }
  EXPECT_EQ(User(Key(), "Path"), kBackend);
}

TEST_F(BackendStepsTest, FragmentationDemandsTheCompressorEvenWithTheGrowthCheckOff) {
  h.LibSetting("BackendCompression", "0");
  db.freelist_count = 25;  // of 100 pages
  EXPECT_FALSE(Run(CompressBackend));
  EXPECT_TRUE(Compressor());
  EXPECT_EQ(Shown(), std::to_string(kMbIconExclamation) + " " + err.MsgLoad(kMsgBackendFragmented, kBackend));
  EXPECT_FALSE(h.reg.KeyExists(Hive::CurrentUser, kRoot + "Compressor")) << "nothing recorded";
  db.freelist_count = 24;
  EXPECT_TRUE(Run(CompressBackend));
}

}  // namespace
}  // namespace krv
