// Copies through the platform's own file system in a temporary folder.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/NativePath_posix.h"
#endif

#include "base/WinPath.h"
#include "platform/Platform.h"
#include "suite/BackupNames.h"
#include "suite/krvBackup.h"
#include "testing/BackupWorld.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

#ifdef _WIN32
// Windows tells no holder apart from this process: an unshared handle is what it sees.
struct LockHolder {
  explicit LockHolder(const std::string& path)
      : h(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~LockHolder() { CloseHandle(h); }
  HANDLE h;
};
std::string WinFolder(const TempDir& tmp) { return tmp.native(); }
#else
// Another process with the file open, as the database engine holds its lock file.
struct LockHolder {
  explicit LockHolder(const std::string& path) : pid(fork()) {
    if (pid == 0 && open(path.c_str(), O_RDONLY) >= 0) pause();
    if (pid == 0) _exit(0);
  }
  ~LockHolder() {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  pid_t pid;
};
std::string WinFolder(const TempDir& tmp) { return NativeToWinPath(tmp.native()); }
#endif

class RealBackupTest : public ::testing::Test {
 protected:
  void Make(size_t size) {
    data.resize(size);
    std::mt19937_64 random(20261207);
    for (char& c : data) c = static_cast<char>(random());
    ASSERT_TRUE(fs.CreateFolder(folder, &why) && fs.CreateFolder(WinPathFolder(backend), &why) &&
                fs.WriteFileAtomic(backend, data, &why) && fs.WriteFileAtomic(backend_lock, "", &why))
        << why;
  }
  bool IsCopy(const std::string& name) {
    std::string copy;
    return fs.ReadFile(WinPathJoin(folder, name), &copy, &why) && copy == data;
  }

  TempDir tmp;
  Platform platform = CreateNativePlatform();
  FileSystem& fs = *platform.fs;
  const std::string folder = WinFolder(tmp) + "\\Sicherung", backend = WinFolder(tmp) + "\\Daten\\krvdat25.db";
  const std::string backend_lock = WinFolder(tmp) + "\\Daten\\krvdat25.ldb";
  std::string data, why;
  BackupWorld w{fs, backend, folder};
  krvBackup backup{w.lib, w.objects, w.err};
};

TEST_F(RealBackupTest, AnIdenticalCopyUnlessTheLockFileIsHeldAndNoFileReplaced) {
  Make(3 << 20);
  {
    LockHolder holder(tmp.native() + "/Daten/krvdat25.ldb");
    for (int i = 0; i < 200 && !fs.FileHeld(backend_lock, nullptr); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(fs.FileHeld(backend_lock, nullptr));
    EXPECT_EQ(backup.Backup(), kBackupProblem);
    EXPECT_NE(w.Texts().at(0).find("anderen Programm verwendet"), std::string::npos) << w.Texts().at(0);
    EXPECT_TRUE(w.Names(folder).empty());
  }
  EXPECT_EQ(backup.Backup(), kBackupMade);
  ASSERT_EQ(w.Names(folder), std::vector<std::string>{"krvdat25_20261206_114342.db"});
  EXPECT_TRUE(IsCopy(w.Names(folder)[0]));
  uint64_t size = 1;
  EXPECT_FALSE(fs.CopyToNew(backend, backend_lock, nullptr, &why));  // an existing file stays as it is
  EXPECT_TRUE(fs.FileLength(backend_lock, &size, &why) && size == 0) << why;
}

#ifndef _WIN32
// A copying process killed at any moment leaves no partial copy under a copy
// name, and the next run removes what it left.
TEST_F(RealBackupTest, KilledCopiesAreWholeOrAbsentAndTheNextRunCleansUp) {
  using Clock = std::chrono::steady_clock;
  constexpr int kRuns = 50;
  Make(8 << 20);
  auto run_child = [&](int run, Clock::duration kill_after) {  // the child's duration
    w.sys.now.minute = run / 60;
    w.sys.now.second = run % 60;
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) _exit(backup.Backup() == kBackupMade ? 0 : 1);
    if (kill_after >= Clock::duration::zero()) {
      std::this_thread::sleep_for(kill_after);
      kill(pid, SIGKILL);
    }
    waitpid(pid, nullptr, 0);
    return Clock::now() - start;
  };
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(run_child(kRuns, Clock::duration(-1)));
  std::mt19937 random(7);
  int complete = 0;
  for (int run = 0; run < kRuns; ++run) {
    run_child(run, std::chrono::microseconds(random() % (whole.count() * 3 / 2 + 1)));  // some finish
    for (const std::string& name : w.Names(folder)) {
      LocalTime t;
      if (!ParseBackupCopyName("krvdat25.db", name, &t)) continue;
      ASSERT_TRUE(IsCopy(name)) << "run " << run << ": " << name;
      complete += t.minute * 60 + t.second == run;
    }
  }
  std::printf("%d of %d killed copies were complete\n", complete, kRuns);
  w.sys.now.hour += 1;
  EXPECT_EQ(backup.Backup(), kBackupMade);
  EXPECT_TRUE(fs.List(folder + "\\~*").empty());
  EXPECT_EQ(backup.Copies().size(), static_cast<size_t>(complete) + 2);
}
#endif

}  // namespace
}  // namespace krv
