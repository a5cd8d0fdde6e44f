// The lock check against a real second process: the sandbox's stand-in
// Access holds the backend's lock file and a lock record while it runs, and
// leaves both behind when it is killed.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/WinPath.h"
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "platform/Platform.h"
#include "platform/posix/NativePath_posix.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeProgressWindow.h"
#include "testing/SqliteFile.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

class HeldLockFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = WinPathJoin(NativeToWinPath(dir_.native()), "korvella.mdb");
    std::ofstream(dir_.native() + "/korvella.mdb", std::ios::binary) << EmptySqliteFile();
    DbStatus status = DbStatus::kFailed;
    std::string err;
    auto db = p_.database->Open(backend_, &status, &err);
    ASSERT_TRUE(db) << err;
    for (const char* sql : {"CREATE TABLE ADRESSEN (Name TEXT)", "CREATE TABLE USysLock (Benutzer TEXT)"})
      ASSERT_TRUE(db->Execute(sql, nullptr, &err)) << err;
    ASSERT_EQ(p_.registry->WriteValue(Hive::CurrentUser, "Software\\Vantorel\\Korvella\\10.25\\Options", "BackendPath",
                                      RegValue::Sz(backend_), &err),
              RegStatus::kOk)
        << err;
  }
  void TearDown() override {
    if (pid_ > 0) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
    ::unsetenv("KRV_REGISTRY_DIR");
  }

  // Starts the stand-in Access (a copy in the temporary folder) to stay a while.
  void StartAccess() {
    const fs::path standin = fs::read_symlink("/proc/self/exe").parent_path() / "msaccess.exe";
    const std::string copy = dir_.native() + "/msaccess.exe";
    fs::copy_file(standin, copy);
    pid_ = fork();
    if (pid_ == 0) {
      ::setenv("KRV_ACCESS_STAY", "60", 1);
      execl(copy.c_str(), copy.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 100 && (!LockFileThere() || Records() == 0); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  bool LockFileThere() { return fs::exists(dir_.native() + "/korvella.ldb"); }
  int64_t Records() { return objects_.Backend().RecordCount(kLockTable, ""); }
  bool Check() {
    LoaderContext ctx{err_, lib_, objects_, *p_.system, window_, false, "krv25"};
    ctx.reinit_interface = [this] { return objects_.Init(true, false), true; };  // no front end here
    frmLoader loader(ctx, {});
    return CheckBackend(loader);
  }

  TempDir dir_;
  // The file registry of the temporary folder, before the platform reads it.
  bool registry_dir_ = ::setenv("KRV_REGISTRY_DIR", (dir_.native() + "/registry").c_str(), 1) == 0;
  Platform p_ = CreateNativePlatform();
  std::string backend_;
  pid_t pid_ = -1;
  FakeDialogs dialogs_;
  cuAppError err_{dialogs_, AppInfo{}};
  krvLibrary lib_{*p_.registry, *p_.fs, *p_.system};
  IObjects objects_{*p_.registry, *p_.fs, *p_.system, p_.database.get()};
  FakeProgressWindow::Log log_;
  FakeProgressWindow window_{&log_};
};

TEST_F(HeldLockFileTest, ARunningAccessKeepsBothAndAKilledOneLeavesWhatTheNextCheckClears) {
  StartAccess();
  ASSERT_TRUE(LockFileThere());
  ASSERT_EQ(Records(), 1);
  EXPECT_TRUE(Check());
  EXPECT_TRUE(LockFileThere()) << "held by the running stand-in";
  EXPECT_EQ(Records(), 1);
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
  ASSERT_TRUE(LockFileThere()) << "a killed Access leaves its lock file";
  EXPECT_TRUE(Check());
  EXPECT_FALSE(LockFileThere());
  EXPECT_EQ(Records(), 0);
}

}  // namespace
}  // namespace krv
#endif
