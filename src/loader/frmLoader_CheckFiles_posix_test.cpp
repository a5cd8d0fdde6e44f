// POSIX only: the file check on a real folder, with a live process holding
// one lock file as Access would.
#ifndef _WIN32
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "loader/frmLoader_CheckFiles.h"
#include "platform/posix/FileSystem_posix.h"
#include "platform/posix/NativePath_posix.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeProgressWindow.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

TEST(CheckFilesOnDiskTest, ClearsAStaleLockFileButNotOneALiveProcessHolds) {
  TempDir dir;
  auto put = [&](const std::string& name, const std::string& content, mode_t mode) {
    std::ofstream(dir.native() + "/" + name) << content;
    chmod((dir.native() + "/" + name).c_str(), mode);
  };
  put("krv25.mde", "x", 0444);
  put("krv25.mde.version", "[Version]\nLibrary=2.5.0.12\n", 0644);
  put("krvlib25.mde", "x", 0644);
  put("krvlib25.mde.version", "[Version]\nFile=2.5.0.12\n", 0644);
  put("krvwrk25.ldb", "stale", 0644);
  put("krvlib25.ldb", "live", 0644);

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int fd = open((dir.native() + "/krvlib25.ldb").c_str(), O_RDWR);
    struct flock lk = {};
    lk.l_type = F_WRLCK;
    lk.l_whence = SEEK_SET;
    lk.l_len = 1;
    fcntl(fd, F_SETLK, &lk);
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);

  FakeRegistry reg;
  PosixFileSystem fs;
  FakeSystem sys;
  sys.exe_path = NativeToWinPath(dir.native()) + "\\krv25";
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  krvLibrary lib{reg, fs, sys};
  IObjects objects{reg, fs, sys};
  FakeProgressWindow::Log log;
  FakeProgressWindow window{&log};
  frmLoader loader(LoaderContext{err, lib, objects, sys, window, false, "krv25"}, {});
  const bool go_on = CheckFiles(loader);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);

  EXPECT_TRUE(go_on);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_NE(access((dir.native() + "/krvwrk25.ldb").c_str(), F_OK), 0);
  EXPECT_EQ(access((dir.native() + "/krvlib25.ldb").c_str(), F_OK), 0);
  struct stat st;
  ASSERT_EQ(stat((dir.native() + "/krv25.mde").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);  // the owner may write the front end again
}

}  // namespace
}  // namespace krv
#endif
