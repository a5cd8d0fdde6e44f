#include "suite/krvBackup.h"

#include <gtest/gtest.h>

#include "suite/BackupNames.h"
#include "suite/Checksum64.h"
#include "testing/BackupWorld.h"
#include "testing/FakeFileSystem.h"

namespace krv {
namespace {

constexpr char kBackend[] = "D:\\Daten\\krvdat25.db";
constexpr char kLock[] = "D:\\Daten\\krvdat25.ldb";
constexpr char kFolder[] = "E:\\Sicherung";
constexpr char kMade[] = "krvdat25_20261206_114342.db";  // at the fake clock's time

TEST(BackupNamesTest, OnlyCopiesOfTheBackendWithARealDateParse) {
  EXPECT_EQ(BackupCopyName("krvdat25.db", {2026, 12, 7, 8, 30, 12, 1}), "krvdat25_20261207_083012.db");
  struct Case {
    const char* name;
    bool parses;
  } cases[] = {
      {"krvdat25_20261207_083012.db", true},      {"KRVDAT25_20240229_235959.DB", true},
      {"krvdat25_20230229_120000.db", false},     {"krvdat25_20261207_240000.db", false},
      {"krvdat25_20261307_080000.db", false},     {"krvdat25_2026-207_083012.db", false},
      {"krvdat25_20261207_083012.db.tmp", false}, {"krvdat2_20261207_083012.db", false},
      {"krvdat25_20261207_083012.mdb", false},    {"x_krvdat25_20261207_083012.db", false},
  };
  LocalTime t;
  for (const Case& c : cases) EXPECT_EQ(ParseBackupCopyName("krvdat25.db", c.name, &t), c.parses) << c.name;
  ASSERT_TRUE(ParseBackupCopyName("a.b", "a_20261207_083012.b", &t));
  EXPECT_EQ(t, (LocalTime{2026, 12, 7, 8, 30, 12, 0}));
}

TEST(Checksum64Test, EveryByteCountsWhateverTheBlocks) {
  auto sum = [](const std::string& bytes, size_t block) {
    Checksum64 c;
    for (size_t at = 0; at < bytes.size(); at += block) c.Update(bytes.data() + at, std::min(block, bytes.size() - at));
    return c.Digest();
  };
  const std::string data(100, 'k');
  EXPECT_EQ(sum(data, 7), sum(data, 100));
  EXPECT_NE(sum(data, 100), sum(data + '\0', 101));
  for (size_t at = 0; at < data.size(); ++at)
    EXPECT_NE(sum(std::string(data).replace(at, 1, "K"), 100), sum(data, 100));
}

// A fake file system with the faults and limits the component must handle.
struct TestFs : FakeFileSystem {
  uint64_t free_bytes = 1ull << 40;
  bool corrupt = false;  // the copy gets one byte wrong
  FakeSystem* clock = nullptr;
  int steps = 1;  // progress reports of a copy, 100 ms apart

  bool FreeSpace(const std::string& folder, uint64_t* bytes, std::string* err) override {
    *bytes = free_bytes;
    return FolderExists(folder) || !err;
  }
  bool CopyToNew(const std::string& from, const std::string& to, const CopyProgress& progress,
                 std::string* err) override {
    const uint64_t size = Get(from)->content.size();
    for (int i = 1; i < steps; ++i) {
      clock->tick_ms += 100;
      progress(size * i / steps, size);
    }
    if (!FakeFileSystem::CopyToNew(from, to, progress, err)) return false;
    if (corrupt) AddFile(to, std::string(Get(to)->content).replace(size / 2, 1, "?"));
    return true;
  }
};

class BackupTest : public ::testing::Test {
 protected:
  BackupTest() { Reset(kFolder); }
  void Reset(const std::string& folder) {
    fs = TestFs{};
    fs.clock = &w.sys;
    fs.AddFile(kBackend, std::string(100, 'D'));
    fs.AddFile(kLock, "");
    fs.AddFolder(folder);
    w.Set("Folder", folder);
    w.dialogs = FakeDialogs{};
  }
  int32_t Backup() {
    krvBackup backup(w.lib, w.objects, w.err);
    backup.Status = [this](const std::string& text) { status.push_back(text); };
    return backup.Backup();
  }

  TestFs fs;
  BackupWorld w{fs, kBackend, kFolder};
  std::vector<std::string> status;
};

TEST_F(BackupTest, RefusalsAndProblemsMakeNoCopy) {
  const std::string in_use = "Das Daten-Backend '" + std::string(kBackend) + "' wird gerade von einem anderen Programm";
  struct Case {
    const char* folder;
    const char* existing;  // a file in the target folder
    const char* holder;    // of the lock file; null: not held
    uint64_t free_bytes;
    bool corrupt;
    int32_t code;
    std::string text;  // the start of the one message shown
  } cases[] = {
      {"d:/daten/", nullptr, nullptr, 1ull << 40, false, 1, w.err.MsgLoad(183, "D:\\Daten")},
      {kFolder, "alt.DB", nullptr, 1ull << 40, false, 1, w.err.MsgLoad(184)},
      {kFolder, nullptr, "msaccess.exe", 1ull << 40, false, 4, in_use + " verwendet (msaccess.exe)."},
      {kFolder, nullptr, "", 1ull << 40, false, 4, in_use + " verwendet. Es wurde"},
      {kFolder, nullptr, nullptr, (16ull << 20) + 17, false, 4,
       w.err.MsgLoad(115, "E:", "16,0 MB frei, 16,0 MB benötigt")},
      {kFolder, nullptr, nullptr, 1ull << 40, true, 4,
       "Die Sicherheitskopie des Daten-Backends '" + std::string(kBackend) +
           "' konnte nicht angelegt werden:\r\nDer Inhalt der Kopie weicht vom Daten-Backend ab."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Reset(c.folder);
    if (c.existing) fs.AddFile(std::string(kFolder) + "\\" + c.existing, "alt");
    if (c.holder) fs.Hold(kLock, c.holder);
    fs.free_bytes = c.free_bytes;
    fs.corrupt = c.corrupt;
    const std::vector<std::string> before = w.Names(kFolder);
    EXPECT_EQ(Backup(), c.code);
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].text.substr(0, c.text.size()), c.text);
    EXPECT_EQ(w.Names(kFolder), before);
  }
}

TEST_F(BackupTest, AVerifiedCopyLeftoversGoAndKeepRemovesTheOldestCopiesOnly) {
  for (const char* name : {"krvdat25_20261129_080000.db", "KRVDAT25_20261115_080000.DB", "krvdat25_20251201_080000.db",
                           "andere_20200101_000000.db", "notiz.txt", "~krvdat25_20261206_080000.db.tmp",
                           "~krvdat25_20261206_090000.db.tmp"}) {
    fs.AddFile(std::string(kFolder) + "\\" + name, "alt");
  }
  fs.Hold(std::string(kFolder) + "\\~krvdat25_20261206_090000.db.tmp", "krv25");  // another start writes it
  w.Set("Keep", "2");
  fs.steps = 10;
  const std::string data(4 << 20, 'x');
  fs.AddFile(kBackend, data);
  EXPECT_EQ(Backup(), kBackupMade);
  EXPECT_TRUE(fs.Get(std::string(kFolder) + "\\" + kMade)->content == data);
  EXPECT_EQ(w.Names(kFolder), (std::vector<std::string>{"andere_20200101_000000.db", "krvdat25_20261129_080000.db",
                                                        kMade, "notiz.txt", "~krvdat25_20261206_090000.db.tmp"}));
  EXPECT_EQ(w.Texts(), std::vector<std::string>{w.err.MsgLoad(kMsgBackupMade, kMade)});
  // 4 MB in ten steps of 100 ms, reported every 500 ms at most.
  EXPECT_EQ(status,
            (std::vector<std::string>{"Sicherheitskopie: 50 % (4,0 MB/s) ...", "Sicherheitskopie wird geprüft ..."}));
}

}  // namespace
}  // namespace krv
