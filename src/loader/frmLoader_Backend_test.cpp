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

LoaderResult Result(int32_t action, const std::string& file, const std::string& args) {
  LoaderResult r;
  r.Action = action;
  r.File = file;
  r.Args = args;
  return r;
}

class BackendStepsTest : public ::testing::Test {
 protected:
  BackendStepsTest() {
    ctx.reinit_interface = [this] { return ++reinits, true; };
  }
  bool Run(bool (*step)(frmLoader&)) {
    frmLoader loader(ctx, {});
    const bool go_on = step(loader);
    result = loader.result();
    return go_on;
  }
  std::string UserSetting(const std::string& key, const std::string& name) {
    return lib.RegRead(Hive::CurrentUser, std::string(kHarnessRoot) + "\\" + key, name, "");
  }
  std::string Shown(size_t i, int* style = nullptr) {
    if (i >= h.dialogs.shown.size()) return "(none)";
    if (style) *style = h.dialogs.shown[i].style;
    return h.dialogs.shown[i].text;
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
    bool lock_file_after;
    int64_t records_after;
    int reinits;
  } cases[] = {
      {0, true, false, false, true, 0, 0},    // no records: nothing released or deleted
      {2, false, false, false, false, 2, 0},  // no lock file: nothing changed
      {2, true, false, false, false, 0, 1},   // stale: both cleared, library prepared again
      {2, true, true, false, true, 2, 1},     // Access holds it: both stay
      {2, true, false, true, true, 2, 0},     // read-only driver: the step is skipped
  };
  for (const auto& c : cases) {
    h.fs.Release(kLockFile);
    h.fs.DeleteFile(kLockFile, nullptr);
    if (c.lock_file) h.fs.AddFile(kLockFile, "x");
    if (c.held) h.fs.Hold(kLockFile, "msaccess.exe");
    db.Table("USysLock").rows = c.records;
    db.read_only = c.read_only;
    reinits = 0;
    EXPECT_TRUE(Run(CheckBackend));
    EXPECT_EQ(h.fs.FileExists(kLockFile), c.lock_file_after) << c.records << c.lock_file << c.held;
    EXPECT_EQ(db.Table("USysLock").rows, c.records_after) << c.records << c.lock_file << c.held;
    EXPECT_EQ(reinits, c.reinits) << c.records << c.lock_file << c.held;
  }
}

TEST_F(BackendStepsTest, UpgradeOfferedOnlyForAnEmptyBackendWithAPredecessor) {
  const std::string upgrade = "C:\\Programme\\Korvella\\krvup25.exe";
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
    StarterHarness& s = h;
    s.dialogs.shown.clear();
    s.dialogs.answers = {c.answer};
    db.Table("ADRESSEN").rows = c.addresses;
    s.reg.DeleteKeyTree(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Office\\8.0", nullptr);
    if (c.predecessor) {
      s.reg.SetString(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Office\\8.0\\Access\\Profiles", "Korvella 8.2",
                      "software\\vantorel\\korvella\\8.2");
      s.reg.SetString(Hive::CurrentUser, "SOFTWARE\\Vantorel\\Korvella\\8.2\\Options", "BackendPath", "C:\\Alt\\k.mdb");
      s.fs.AddFile("C:\\Alt\\k.mdb", "x");
    }
    s.fs.DeleteFile(upgrade, nullptr);
    if (c.program) s.fs.AddFile(upgrade, "x");
    EXPECT_EQ(Run(CheckUpgrade), c.go_on);
    EXPECT_EQ(s.dialogs.shown.size(), c.offered ? 1u : 0u) << c.addresses << c.predecessor << c.program;
    if (c.offered) {
      EXPECT_NE(Shown(0).find("'D:\\Daten\\korvella.mdb' enthält (noch) keine Daten"), std::string::npos);
    }
    const LoaderResult want = c.go_on ? LoaderResult{} : Result(kActionUpgrade, upgrade, " /DD:\\Daten\\korvella.mdb");
    EXPECT_EQ(result, want);
  }
  h.reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Options", "BackendPath", "D:\\Meine Daten\\k.mdb");
  h.db.File("D:\\Meine Daten\\k.mdb").Table("ADRESSEN");
  EXPECT_FALSE(Run(CheckUpgrade));
  EXPECT_EQ(result.Args, " /D\"D:\\Meine Daten\\k.mdb\"") << "one argument for the upgrade program";
}

TEST_F(BackendStepsTest, ReplicaExpiryWarnsFromTheSetDaysWithTheStopIconInTheLastThree) {
  // Today is 6 December 2026.
  const struct {
    const char* expires;
    const char* days;  // nullptr: not set, the step writes "14"
    int answer;
    int style;  // 0: no box
    bool go_on;
  } cases[] = {{"2026-12-09", nullptr, kIdOk, kMbIconStop | kMbOkCancel, true},
               {"2026-12-10", "14", kIdOk, kMbIconExclamation | kMbOkCancel, true},
               {"2026-12-21", "14", kIdOk, 0, true},
               {"2026-12-20", "14", kIdCancel, kMbIconExclamation | kMbOkCancel, false},
               {"2026-12-04", "14", kIdOk, kMbIconStop | kMbOkCancel, true},
               {"2026-12-07", "0", kIdOk, 0, true},
               {nullptr, "14", kIdOk, 0, true}};
  for (const auto& c : cases) {
    h.dialogs.shown.clear();
    h.dialogs.answers = {c.answer};
    db.tables.erase("usysreplica");
    if (c.expires) db.Table("USysReplica") = FakeTable{1, {{"expires", c.expires}}};
    h.reg.DeleteKeyTree(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Loader", nullptr);
    if (c.days)
      h.reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Loader", "RetentionExpireWarning", c.days);
    EXPECT_EQ(Run(CheckRetention), c.go_on) << (c.expires ? c.expires : "-");
    int style = 0;
    const std::string text = Shown(0, &style);
    EXPECT_EQ(style, c.style) << (c.expires ? c.expires : "-");
    if (c.style) {
      EXPECT_NE(text.find(std::string(c.expires + 8, 2) + "." + std::string(c.expires + 5, 2) + "."), std::string::npos)
          << text;
    }
    if (c.expires && !c.days) {
      EXPECT_EQ(UserSetting("Loader", "RetentionExpireWarning"), "14");
    }
  }
}

class CompressTest : public BackendStepsTest {
 protected:
  void Size(size_t bytes) { h.fs.AddFile(kBackend, std::string(bytes, 'x')); }
  std::string Key() { return "Compressor\\Backend\\" + objects.Backend().Identifier(); }
  void Record(const char* size, const char* when) {
    h.reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\" + Key(), "FileSize", size);
    if (when) h.reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\" + Key(), "DateTime", when);
  }
  const LoaderResult kCompressor = Result(kActionCompressor, "C:\\Programme\\Korvella\\krvcmp25.exe", "/Backend");
};

TEST_F(CompressTest, FirstStartRecordsAndGrowthWithinTheThresholdRenewsTheReference) {
  Size(1000);
  EXPECT_TRUE(Run(CompressBackend));
  EXPECT_EQ(UserSetting(Key(), "FileSize"), "1000");
  EXPECT_EQ(UserSetting(Key(), "DateTime"), "20261206114342");
  EXPECT_EQ(UserSetting(Key(), "Path"), kBackend);
  Record("1000000", "20260101080000");
  Size(1500000);
  EXPECT_TRUE(Run(CompressBackend));
  EXPECT_EQ(UserSetting(Key(), "FileSize"), "1500000");
  EXPECT_TRUE(h.dialogs.shown.empty());
}

TEST_F(CompressTest, GrowthBeyondTheThresholdAsksAndTheAnswersDecideTheReference) {
  const struct {
    std::deque<int> answers;
    const char* when;
    const char* shown_date;
    const char* reference_after;
    bool compress;
  } cases[] = {{{kIdYes}, "20260101080000", "am 01.01.2026 08:00 ", "1000000", true},
               {{kIdNo, kIdNo}, "20260101080000", "am 01.01.2026 08:00 ", "1500001", false},
               {{kIdNo, kIdYes}, nullptr, "am #Datum unbekannt# ", "1000000", false}};
  for (const auto& c : cases) {
    h.dialogs.shown.clear();
    h.dialogs.answers = c.answers;
    h.reg.DeleteKeyTree(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Compressor", nullptr);
    Record("1000000", c.when);
    Size(1500001);
    EXPECT_EQ(Run(CompressBackend), !c.compress);
    EXPECT_EQ(result, c.compress ? kCompressor : LoaderResult{});
    EXPECT_NE(Shown(0).find(std::string(c.shown_date) + "deutlich gestiegen (von 976,6 KB auf 1,4 MB)"),
              std::string::npos)
        << Shown(0);
    EXPECT_EQ(h.dialogs.shown.size(), c.answers.size());
    EXPECT_EQ(UserSetting(Key(), "FileSize"), c.reference_after);
  }
}

TEST_F(CompressTest, FragmentationDemandsTheCompressorEvenWithTheGrowthCheckOff) {
  h.LibSetting("BackendCompression", "0");
  Size(1000);
  db.Table("ADRESSEN");
  db.page_count = 100;
  db.freelist_count = 30;
  EXPECT_FALSE(Run(CompressBackend));
  EXPECT_EQ(result, kCompressor);
  int style = 0;
  EXPECT_NE(Shown(0, &style).find("'D:\\Daten\\korvella.mdb' ist fragmentiert"), std::string::npos);
  EXPECT_EQ(style, kMbIconExclamation);
  EXPECT_FALSE(h.reg.KeyExists(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Compressor")) << "nothing recorded";
  db.freelist_count = 24;
  EXPECT_TRUE(Run(CompressBackend));
}

}  // namespace
}  // namespace krv
