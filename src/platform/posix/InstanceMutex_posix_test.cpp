// POSIX only: tests of the lock file and the folder that holds it.
#include "platform/posix/InstanceMutex_posix.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/posix/Shell_posix.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

constexpr char kName[] = "KORVELLA_II_5_STARTER";

TEST(PosixInstanceMutexTest, LockGoesWithItsHolderNotWithProgramsItStarts) {
  TempDir tmp;
  PosixInstanceMutex first(tmp.native()), second(tmp.native());
  bool held = true;
  std::string err;
  ASSERT_TRUE(first.Create(kName, &held, &err)) << err;
  EXPECT_FALSE(held || first.HeldByOther(kName) || second.HeldByOther("ANDERER_NAME"));
  EXPECT_TRUE(second.HeldByOther(kName));
  ASSERT_TRUE(second.Create(kName, &held, &err) && held) << err;
  EXPECT_EQ(fs::status(tmp.native() + "/" + kName + ".lock").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(PosixShell("/usr/bin:/bin", false).Start(ShellStart{"sleep", "3", "", 1, false, false}, &err)) << err;
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2)) << "started, not waited for";
  first.Release();                          // the program still runs; had it inherited the lock, it would hold it now
  EXPECT_FALSE(second.HeldByOther(kName));  // and the second holds only the file
  EXPECT_TRUE(first.Create("Local\\x/y", &held, &err)) << err;
  EXPECT_TRUE(fs::exists(tmp.native() + "/Local_x_y.lock"));
}

TEST(PosixInstanceMutexTest, LockFolderPrefersTheRuntimeFolderAndChecksTheFallback) {
  TempDir tmp;
  std::string folder, err;
  EXPECT_TRUE(LockFolder("/run/user/1000", tmp.native(), &folder, &err) && folder == "/run/user/1000");
  const std::string own = tmp.native() + "/krv25-" + std::to_string(geteuid());
  for (const char* runtime_dir : {static_cast<const char*>(nullptr), "relative"}) {
    ASSERT_TRUE(LockFolder(runtime_dir, tmp.native(), &folder, &err)) << err;
    EXPECT_EQ(folder, own);
    EXPECT_EQ(fs::status(own).permissions(), fs::perms::owner_all);
    fs::permissions(own, fs::perms::all);  // a folder of ours that others may enter is closed
  }
  fs::remove(own);
  fs::create_directory_symlink(tmp.native(), own);
  EXPECT_FALSE(LockFolder(nullptr, tmp.native(), &folder, &err));
  EXPECT_NE(err.find("symbolic link"), std::string::npos) << err;
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
