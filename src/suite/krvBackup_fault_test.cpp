// A copying process killed at random moments never leaves a partial copy
// under a copy name, and the next run removes what it left.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "base/WinPath.h"
#include "base/cuAppError.h"
#include "platform/Platform.h"
#include "platform/posix/NativePath_posix.h"
#include "suite/BackupNames.h"
#include "suite/IObjects.h"
#include "suite/krvBackup.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

using Clock = std::chrono::steady_clock;
constexpr char kRoot[] = "Software\\Vantorel\\Korvella\\10.25";
constexpr int kRuns = 50;

TEST(BackupFaultTest, KilledCopiesAreWholeOrAbsentAndTheNextRunCleansUp) {
  TempDir tmp;
  Platform platform = CreateNativePlatform();
  FileSystem& fs = *platform.fs;
  const std::string folder = WinPathJoin(NativeToWinPath(tmp.native()), "Sicherung");
  const std::string backend = WinPathJoin(NativeToWinPath(tmp.native()), "krvdat25.db");
  std::string data(8 << 20, '\0'), err;
  std::mt19937_64 random(20261207);
  for (char& c : data) c = static_cast<char>(random());
  ASSERT_TRUE(fs.CreateFolder(folder, &err) && fs.WriteFileAtomic(backend, data, &err)) << err;

  FakeRegistry reg;
  reg.SetString(Hive::CurrentUser, std::string(kRoot) + "\\Options", "BackendPath", backend);
  reg.SetString(Hive::LocalMachine, std::string(kRoot) + "\\AutoBackup", "Folder", folder);
  FakeSystem sys;
  FakeDialogs dialogs;
  cuAppError msg{dialogs, AppInfo{}};
  krvLibrary lib{reg, fs, sys};
  IObjects objects{reg, fs, sys};
  krvBackup backup(lib, objects, msg);

  // Forks a copying child, kills it after `delay` (never when negative); its duration.
  auto run_child = [&](int run, Clock::duration delay) {
    sys.now.minute = run / 60;
    sys.now.second = run % 60;
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) _exit(backup.Backup() == kBackupMade ? 0 : 1);
    if (delay >= Clock::duration::zero()) {
      std::this_thread::sleep_for(delay);
      kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return Clock::now() - start;
  };

  const Clock::duration whole = run_child(kRuns, Clock::duration(-1));
  std::uniform_int_distribution<int64_t> moment(0,
                                                std::chrono::duration_cast<std::chrono::microseconds>(whole).count());
  int complete = 0;
  for (int run = 0; run < kRuns; ++run) {
    run_child(run, std::chrono::microseconds(moment(random)));
    for (const DirEntry& e : fs.List(WinPathJoin(folder, "*"))) {
      LocalTime t;
      if (!ParseBackupCopyName("krvdat25.db", e.name, &t)) continue;
      std::string copy;
      ASSERT_TRUE(fs.ReadFile(WinPathJoin(folder, e.name), &copy, &err)) << err;
      ASSERT_TRUE(copy == data) << "run " << run << ": " << e.name << " has " << copy.size() << " bytes";
      complete += t.minute * 60 + t.second == run;
    }
  }
  std::printf("%d of %d killed copies were complete\n", complete, kRuns);

  sys.now.hour += 1;
  EXPECT_EQ(backup.Backup(), kBackupMade) << (dialogs.shown.empty() ? "" : dialogs.shown.back().text);
  EXPECT_TRUE(fs.List(WinPathJoin(folder, "~*")).empty());
  EXPECT_EQ(backup.Copies().size(), static_cast<size_t>(complete) + 2);
}

}  // namespace
}  // namespace krv
#endif
