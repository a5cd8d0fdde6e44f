// POSIX only: tests of the lock file, with a forked process as the other holder.
#include "platform/posix/InstanceMutex_posix.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "testing/TempDir.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

constexpr char kName[] = "KORVELLA_II_5_STARTER";

// A child process that takes the lock in `folder`, says 'L' (or 'F' when it
// could not), and then waits until it is killed.
pid_t ForkHolder(const std::string& folder) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipe_fds[0]);
    PosixInstanceMutex mutex(folder);
    bool held = true;
    const char answer = mutex.Create(kName, &held, nullptr) && !held ? 'L' : 'F';
    if (write(pipe_fds[1], &answer, 1) != 1) _exit(1);
    for (;;) pause();
  }
  close(pipe_fds[1]);
  char answer = 0;
  const bool ok = read(pipe_fds[0], &answer, 1) == 1 && answer == 'L';
  close(pipe_fds[0]);
  if (!ok && pid > 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  return pid;
}

TEST(PosixInstanceMutexTest, SecondHolderSeesTheLockUntilTheFirstDies) {
  TempDir tmp;
  const pid_t child = ForkHolder(tmp.native());
  ASSERT_GT(child, 0);
  PosixInstanceMutex mine(tmp.native());
  EXPECT_TRUE(mine.HeldByOther(kName));
  EXPECT_FALSE(mine.HeldByOther("ANDERER_NAME"));
  bool held = false;
  std::string err;
  ASSERT_TRUE(mine.Create(kName, &held, &err)) << err;
  EXPECT_TRUE(held);
  kill(child, SIGKILL);  // the kernel drops the lock of a dead process
  waitpid(child, nullptr, 0);
  EXPECT_FALSE(mine.HeldByOther(kName));
  ASSERT_TRUE(mine.Create(kName, &held, &err)) << err;
  EXPECT_FALSE(held);
}

TEST(PosixInstanceMutexTest, HolderIsNotOtherAndReleaseKeepsTheFile) {
  TempDir tmp;
  PosixInstanceMutex first(tmp.native()), second(tmp.native());
  bool held = true;
  std::string err;
  ASSERT_TRUE(first.Create(kName, &held, &err)) << err;
  EXPECT_FALSE(held);
  EXPECT_FALSE(first.HeldByOther(kName));
  EXPECT_TRUE(second.HeldByOther(kName));
  ASSERT_TRUE(second.Create(kName, &held, &err)) << err;
  EXPECT_TRUE(held);
  first.Release();
  EXPECT_FALSE(second.HeldByOther(kName));  // the second only holds the file, not the lock
  const std::string file = tmp.native() + "/" + kName + ".lock";
  struct stat st {};
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_TRUE(first.Create("Local\\x/y", &held, &err)) << err;
  EXPECT_TRUE(fs::exists(tmp.native() + "/Local_x_y.lock"));
}

TEST(PosixInstanceMutexTest, LockFolderPrefersTheRuntimeFolderAndChecksTheFallback) {
  TempDir tmp;
  std::string folder, err;
  ASSERT_TRUE(LockFolder("/run/user/1000", tmp.native(), &folder, &err));
  EXPECT_EQ(folder, "/run/user/1000");
  const std::string own = tmp.native() + "/krv25-" + std::to_string(geteuid());
  for (const char* runtime_dir : {static_cast<const char*>(nullptr), "relative"}) {
    ASSERT_TRUE(LockFolder(runtime_dir, tmp.native(), &folder, &err)) << err;
    EXPECT_EQ(folder, own);
  }
  struct stat st {};
  ASSERT_EQ(stat(own.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  chmod(own.c_str(), 0777);  // a folder of ours that others may enter is closed
  ASSERT_TRUE(LockFolder(nullptr, tmp.native(), &folder, &err)) << err;
  ASSERT_EQ(stat(own.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  fs::remove(own);
  fs::create_directory(tmp.native() + "/elsewhere");
  fs::create_directory_symlink(tmp.native() + "/elsewhere", own);
  EXPECT_FALSE(LockFolder(nullptr, tmp.native(), &folder, &err));
  EXPECT_NE(err.find("symbolic link"), std::string::npos) << err;
  fs::remove(own);
  std::ofstream(own) << "x";
  EXPECT_FALSE(LockFolder(nullptr, tmp.native(), &folder, &err));
  if (geteuid() == 0) {  // only root can hand a folder to someone else
    fs::remove(own);
    fs::create_directory(own);
    ASSERT_EQ(chown(own.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(LockFolder(nullptr, tmp.native(), &folder, &err));
    EXPECT_NE(err.find("another user"), std::string::npos) << err;
  }
}

}  // namespace
}  // namespace krv
