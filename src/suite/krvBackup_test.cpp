#include "suite/krvBackup.h"

#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "suite/BackupNames.h"
#include "suite/Checksum64.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

constexpr char kRoot[] = "Software\\Vantorel\\Korvella\\10.25";
constexpr char kBackend[] = "D:\\Daten\\krvdat25.db";
constexpr char kFolder[] = "E:\\Sicherung";
constexpr char kMade[] = "krvdat25_20261206_114342.db";  // at the fake clock's time

TEST(BackupNamesTest, NamesCarryTheDateAndOnlyValidOnesParse) {
  EXPECT_EQ(BackupCopyName("krvdat25.db", {2026, 12, 7, 8, 30, 12, 1}), "krvdat25_20261207_083012.db");
  EXPECT_EQ(BackupCopyName("daten", {2026, 1, 2, 3, 4, 5, 0}), "daten_20260102_030405");
  struct Case {
    const char* backend;
    const char* name;
    bool parses;
  } cases[] = {
      {"krvdat25.db", "krvdat25_20261207_083012.db", true},
      {"krvdat25.db", "KRVDAT25_20261207_083012.DB", true},
      {"krvdat25.db", "krvdat25_20240229_235959.db", true},
      {"krvdat25.db", "krvdat25_20230229_120000.db", false},  // no such day
      {"krvdat25.db", "krvdat25_20261207_240000.db", false},
      {"krvdat25.db", "krvdat25_20261307_080000.db", false},
      {"krvdat25.db", "krvdat25_2026120_0830120.db", false},
      {"krvdat25.db", "krvdat25_20261207_083012.db.tmp", false},
      {"krvdat25.db", "~krvdat25_20261207_083012.db.tmp", false},
      {"krvdat25.db", "krvdat2_20261207_083012.db", false},
      {"krvdat25.db", "krvdat25_20261207_083012.mdb", false},
      {"krvdat25.db", "x_krvdat25_20261207_083012.db", false},
      {"krvdat25.db", "krvdat25_2026-207_083012.db", false},
  };
  for (const Case& c : cases) {
    LocalTime t;
    EXPECT_EQ(ParseBackupCopyName(c.backend, c.name, &t), c.parses) << c.name;
  }
  LocalTime t;
  ASSERT_TRUE(ParseBackupCopyName("a.b.db", "a.b_20261207_083012.db", &t));
  EXPECT_EQ(t, (LocalTime{2026, 12, 7, 8, 30, 12, 0}));
  EXPECT_TRUE(IsBackupTempName("krvdat25.db", BackupTempName("krvdat25_20261207_083012.db")));
  EXPECT_FALSE(IsBackupTempName("krvdat25.db", "~krvdat25.db.tmp"));
}

TEST(Checksum64Test, SameBytesInAnyBlocksSameSumAndEveryChangeSeen) {
  std::string data(1000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + 3);
  Checksum64 whole;
  whole.Update(data.data(), data.size());
  for (size_t block : {1u, 7u, 31u, 32u, 33u, 999u}) {
    Checksum64 parts;
    for (size_t at = 0; at < data.size(); at += block)
      parts.Update(data.data() + at, std::min(block, data.size() - at));
    EXPECT_EQ(parts.Digest(), whole.Digest()) << block;
  }
  for (size_t at : {0u, 8u, 31u, 500u, 990u, 999u}) {
    std::string changed = data;
    changed[at] ^= 1;
    Checksum64 other;
    other.Update(changed.data(), changed.size());
    EXPECT_NE(other.Digest(), whole.Digest()) << at;
  }
  Checksum64 shorter, zeros, longer;
  shorter.Update(data.data(), data.size() - 1);
  zeros.Update(std::string(64, '\0').data(), 64);
  longer.Update(std::string(65, '\0').data(), 65);
  EXPECT_NE(shorter.Digest(), whole.Digest());
  EXPECT_NE(zeros.Digest(), longer.Digest());
}

// A fake file system with the faults and limits the component must handle.
struct TestFs : FakeFileSystem {
  uint64_t free_bytes = 1ull << 40;
  bool corrupt = false;  // the copy gets one byte wrong
  FakeSystem* clock = nullptr;
  int steps = 1;  // progress reports during a copy, 100 ms apart

  bool FreeSpace(const std::string& folder, uint64_t* bytes, std::string* err) override {
    return FakeFileSystem::FreeSpace(folder, bytes, err) && ((*bytes = free_bytes), true);
  }
  bool CopyToNew(const std::string& from, const std::string& to, const CopyProgress& progress,
                 std::string* err) override {
    const uint64_t size = Get(from) ? Get(from)->content.size() : 0;
    for (int i = 1; i < steps; ++i) {
      clock->tick_ms += 100;
      progress(size * i / steps, size);
    }
    if (!FakeFileSystem::CopyToNew(from, to, progress, err)) return false;
    if (corrupt) AddFile(to, Get(to)->content.substr(0, size - 1) + "?");
    return true;
  }
};

class BackupTest : public ::testing::Test {
 protected:
  BackupTest() {
    reg.SetString(Hive::CurrentUser, std::string(kRoot) + "\\Options", "BackendPath", kBackend);
    Machine("Folder", kFolder);
    fs.AddFile(kBackend, "Daten des Backends");
    fs.AddFolder(kFolder);
    fs.clock = &sys;
  }
  void Machine(const std::string& name, const std::string& value) {
    reg.SetString(Hive::LocalMachine, std::string(kRoot) + "\\AutoBackup", name, value);
  }
  void Put(const std::string& name) { fs.AddFile(std::string(kFolder) + "\\" + name, "alt"); }
  std::vector<std::string> Folder() {
    std::vector<std::string> names;
    for (const DirEntry& e : fs.List(std::string(kFolder) + "\\*")) names.push_back(e.name);
    return names;
  }
  int32_t Backup() {
    krvBackup backup(lib, objects, err);
    backup.Status = [this](const std::string& text) { status.push_back(text); };
    return backup.Backup();
  }

  FakeRegistry reg;
  TestFs fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  krvLibrary lib{reg, fs, sys};
  IObjects objects{reg, fs, sys};
  std::vector<std::string> status;
};

TEST_F(BackupTest, CopiesAreListedByTheDateInTheirNamesOldestFirst) {
  for (const char* name : {"krvdat25_20261201_090000.db", "krvdat25_20251231_235959.db", "KRVDAT25_20261130_120000.DB",
                           "andere_20270101_000000.db", "krvdat25_20261201_090000.db.bak", "notiz.txt",
                           "~krvdat25_20271201_090000.db.tmp"}) {
    Put(name);
  }
  krvBackup backup(lib, objects, err);
  std::vector<std::string> names;
  for (const BackupCopy& c : backup.Copies()) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"krvdat25_20251231_235959.db", "KRVDAT25_20261130_120000.DB",
                                             "krvdat25_20261201_090000.db"}));
  EXPECT_EQ(backup.Copies().back().time, (LocalTime{2026, 12, 1, 9, 0, 0, 0}));
}

TEST_F(BackupTest, RefusalsAndProblemsMakeNoCopy) {
  const std::string in_use = "Das Daten-Backend '" + std::string(kBackend) + "' wird gerade von einem anderen Programm";
  struct Case {
    const char* name;
    const char* folder;
    const char* existing;  // a file in the target folder
    const char* holder;    // of the lock file; null: not held
    uint64_t free_bytes;
    bool corrupt;
    int32_t code;
    std::string text;  // the start of the one message shown
  } cases[] = {
      {"backend's folder", "d:/daten/", nullptr, nullptr, 1ull << 40, false, kBackupAborted,
       err.MsgLoad(kMsgBackupFolderIsBackendFolder, "D:\\Daten")},
      {"holds a backend", kFolder, "alt.DB", nullptr, 1ull << 40, false, kBackupAborted,
       err.MsgLoad(kMsgBackupFolderHoldsBackend)},
      {"held by a program", kFolder, nullptr, "msaccess.exe", 1ull << 40, false, kBackupProblem,
       in_use + " verwendet (msaccess.exe)."},
      {"held", kFolder, nullptr, "", 1ull << 40, false, kBackupProblem, in_use + " verwendet. Es wurde"},
      {"short of space", kFolder, nullptr, nullptr, (16ull << 20) + 17, false, kBackupProblem,
       err.MsgLoad(kMsgBackupNoSpace, "E:", "16,0 MB frei, 16,0 MB benötigt")},
      {"damaged copy", kFolder, nullptr, nullptr, 1ull << 40, true, kBackupProblem,
       "Die Sicherheitskopie des Daten-Backends '" + std::string(kBackend) +
           "' konnte nicht angelegt werden:\r\nDer Inhalt der Kopie weicht vom Daten-Backend ab."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs = TestFs{};
    fs.clock = &sys;
    fs.AddFile(kBackend, "Daten des Backends");
    fs.AddFile("D:\\Daten\\krvdat25.ldb", "");
    fs.AddFolder(c.folder);
    if (c.existing) Put(c.existing);
    if (c.holder) fs.Hold("D:\\Daten\\krvdat25.ldb", c.holder);
    fs.free_bytes = c.free_bytes;
    fs.corrupt = c.corrupt;
    Machine("Folder", c.folder);
    dialogs = FakeDialogs{};
    const std::vector<std::string> before = Folder();
    EXPECT_EQ(Backup(), c.code);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.substr(0, c.text.size()), c.text);
    EXPECT_EQ(Folder(), before);
  }
}

TEST_F(BackupTest, AVerifiedCopyLeftoversGoAndKeepRemovesTheOldestCopiesOnly) {
  for (const char* name : {"krvdat25_20261101_080000.db", "krvdat25_20261115_080000.db", "krvdat25_20261129_080000.db",
                           "andere_20200101_000000.db", "notiz.txt", "~krvdat25_20261206_080000.db.tmp",
                           "~krvdat25_20261206_090000.db.tmp"}) {
    Put(name);
  }
  fs.Hold(std::string(kFolder) + "\\~krvdat25_20261206_090000.db.tmp", "krv25");  // another start writes it now
  Machine("Keep", "2");
  fs.steps = 10;
  const std::string data(4 << 20, 'x');
  fs.AddFile(kBackend, data);
  EXPECT_EQ(Backup(), kBackupMade);
  EXPECT_TRUE(fs.Get(std::string(kFolder) + "\\" + kMade)->content == data);
  EXPECT_EQ(Folder(), (std::vector<std::string>{"andere_20200101_000000.db", "krvdat25_20261129_080000.db", kMade,
                                                "notiz.txt", "~krvdat25_20261206_090000.db.tmp"}));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, err.MsgLoad(kMsgBackupMade, kMade));
  // 4 MB in ten steps of 100 ms, reported every 500 ms at most.
  EXPECT_EQ(status,
            (std::vector<std::string>{"Sicherheitskopie: 50 % (4,0 MB/s) ...", "Sicherheitskopie wird geprüft ..."}));
}

}  // namespace
}  // namespace krv
