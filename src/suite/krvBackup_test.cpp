// The backup component over a fake file system with faults, and copies
// through the platform's own file system in a temporary folder.
#include "suite/krvBackup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/NativePath_posix.h"
#endif

#include "base/WinPath.h"
#include "platform/Platform.h"
#include "suite/BackupNames.h"
#include "suite/Checksum64.h"
#include "testing/BackupWorld.h"
#include "testing/FakeFileSystem.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

constexpr char kBackend[] = "D:\\Daten\\krvdat25.db";
constexpr char kLock[] = "D:\\Daten\\krvdat25.ldb";
constexpr char kFolder[] = "E:\\Sicherung";
constexpr char kMade[] = "krvdat25_20261206_114342.db";  // at the fake clock's time

TEST(BackupNamesTest, OnlyCopiesOfTheBackendWithARealDateParse) {
  const struct {
    const char* name;
    bool parses;
  } cases[] = {{"KRVDAT25_20240229_235959.DB", true},    {"krvdat25_20230229_120000.db", false},
               {"krvdat25_20261207_240000.db", false},   {"krvdat25_20261207_083012.db.tmp", false},
               {"x_krvdat25_20261207_083012.db", false}, {"krvdat25_20261207_083012.mdb", false}};
  LocalTime t;
  for (const auto& c : cases) EXPECT_EQ(ParseBackupCopyName("krvdat25.db", c.name, &t), c.parses) << c.name;
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
  const struct {
    const char *folder, *existing, *holder;  // a file in the target folder; the lock file's holder
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
  for (const auto& c : cases) {
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

#ifdef _WIN32
std::string WinFolder(const TempDir& tmp) { return tmp.native(); }
#else
std::string WinFolder(const TempDir& tmp) { return NativeToWinPath(tmp.native()); }
#endif

// Copies through the platform's own file system: a copying process killed at
// any moment leaves no partial copy under a copy name, and the next run
// removes what it left.
TEST(RealBackupTest, WholeCopiesEvenWhenKilled) {
  TempDir tmp;
  Platform platform = CreateNativePlatform();
  FileSystem& fs = *platform.fs;
  const std::string folder = WinFolder(tmp) + "\\Sicherung", backend = WinFolder(tmp) + "\\Daten\\krvdat25.db";
  std::string data(8 << 20, '\0'), why;
  std::mt19937_64 random(20261207);
  for (char& c : data) c = static_cast<char>(random());
  ASSERT_TRUE(fs.CreateFolder(folder, &why) && fs.CreateFolder(WinPathFolder(backend), &why) &&
              fs.WriteFileAtomic(backend, data, &why) &&
              fs.WriteFileAtomic(WinPathFolder(backend) + "krvdat25.ldb", "", &why))
      << why;
  BackupWorld w{fs, backend, folder};
  krvBackup backup{w.lib, w.objects, w.err};
  auto whole_copies = [&] {  // the dated copies, each checked to be whole
    int n = 0;
    for (const BackupCopy& copy : backup.Copies()) {
      std::string content;
      EXPECT_TRUE(fs.ReadFile(WinPathJoin(folder, copy.name), &content, &why) && content == data) << copy.name;
      ++n;
    }
    return n;
  };
  int copies = 1;
#ifndef _WIN32
  using Clock = std::chrono::steady_clock;
  constexpr int kRuns = 50;
  auto run_child = [&](int run, Clock::duration kill_after) {  // the child's duration
    w.sys.now.minute = run / 60;
    w.sys.now.second = run % 60;
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) _exit(backup.Backup() == kBackupMade ? 0 : 1);
    if (kill_after >= Clock::duration::zero()) std::this_thread::sleep_for(kill_after), kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return Clock::now() - start;
  };
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(run_child(kRuns, Clock::duration(-1)));
  std::mt19937 chance(7);
  for (int run = 0; run < kRuns; ++run) {
    run_child(run, std::chrono::microseconds(chance() % (whole.count() * 3 / 2 + 1)));  // some finish
    copies = whole_copies() + 1;
    ASSERT_FALSE(HasFailure()) << "run " << run;
  }
  std::printf("%d of %d killed copies were complete\n", copies - 2, kRuns);
#endif
  w.sys.now.hour += 1;
  EXPECT_EQ(backup.Backup(), kBackupMade);
  EXPECT_TRUE(fs.List(folder + "\\~*").empty());
  EXPECT_EQ(whole_copies(), copies);
  uint64_t size = 1;
  EXPECT_FALSE(fs.CopyToNew(backend, WinPathFolder(backend) + "krvdat25.ldb", nullptr, &why));  // never replaces
  EXPECT_TRUE(fs.FileLength(WinPathFolder(backend) + "krvdat25.ldb", &size, &why) && size == 0) << why;
}

}  // namespace
}  // namespace krv
