// Copies through the platform's own file system in a temporary folder.
#include <gtest/gtest.h>

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
#include "base/cuAppError.h"
#include "platform/Platform.h"
#include "suite/IObjects.h"
#include "suite/krvBackup.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

constexpr char kRoot[] = "Software\\Vantorel\\Korvella\\10.25";
#ifdef _WIN32
constexpr char kNativeSeparator = '\\';
#else
constexpr char kNativeSeparator = '/';
#endif

// Another process holds the file the way the database engine does, until the object dies.
class LockHolder {
 public:
  explicit LockHolder(const std::string& path) {
#ifdef _WIN32
    // Windows tells no holder apart from this process; an unshared handle is what it sees.
    handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
#else
    int ready[2];
    if (pipe(ready) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      const int fd = open(path.c_str(), O_RDWR);
      struct flock lock = {};
      lock.l_type = F_WRLCK;
      lock.l_whence = SEEK_SET;
      const char ok = fd >= 0 && fcntl(fd, F_SETLK, &lock) == 0 ? '1' : '0';
      if (write(ready[1], &ok, 1) != 1) _exit(1);
      pause();
      _exit(0);
    }
    char ok = '0';
    if (read(ready[0], &ok, 1) != 1) ok = '0';
    close(ready[0]);
    close(ready[1]);
    held_ = ok == '1';
#endif
  }
  ~LockHolder() {
#ifdef _WIN32
    CloseHandle(handle_);
#else
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
#endif
  }
  bool held() const {
#ifdef _WIN32
    return handle_ != INVALID_HANDLE_VALUE;
#else
    return held_;
#endif
  }

 private:
#ifdef _WIN32
  HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
  pid_t pid_ = -1;
  bool held_ = false;
#endif
};

// The temporary folder as the core names it.
std::string WinFolder(const TempDir& tmp) {
#ifdef _WIN32
  return tmp.native();
#else
  return NativeToWinPath(tmp.native());
#endif
}

class RealBackupTest : public ::testing::Test {
 protected:
  RealBackupTest() {
    data.resize(3 << 20);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 2654435761u) >> 13);
    std::string why;
    EXPECT_TRUE(fs.CreateFolder(folder, &why)) << why;
    EXPECT_TRUE(fs.CreateFolder(WinPathFolder(backend), &why)) << why;
    EXPECT_TRUE(fs.WriteFileAtomic(backend, data, &why)) << why;
    EXPECT_TRUE(fs.WriteFileAtomic(lock, "", &why)) << why;
    reg.SetString(Hive::CurrentUser, std::string(kRoot) + "\\Options", "BackendPath", backend);
    reg.SetString(Hive::LocalMachine, std::string(kRoot) + "\\AutoBackup", "Folder", folder);
  }
  std::vector<std::string> Folder() {
    std::vector<std::string> names;
    for (const DirEntry& e : fs.List(WinPathJoin(folder, "*"))) names.push_back(e.name);
    return names;
  }

  TempDir tmp;
  Platform platform = CreateNativePlatform();
  FileSystem& fs = *platform.fs;
  const std::string folder = WinPathJoin(WinFolder(tmp), "Sicherung");
  const std::string backend = WinPathJoin(WinFolder(tmp), "Daten\\krvdat25.db");
  const std::string lock = WinPathJoin(WinFolder(tmp), "Daten\\krvdat25.ldb");
  std::string data;
  FakeRegistry reg;
  FakeSystem sys;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  krvLibrary lib{reg, fs, sys};
  IObjects objects{reg, fs, sys};
  krvBackup backup{lib, objects, err};
};

TEST_F(RealBackupTest, MakesAnIdenticalCopyUnlessTheLockFileIsHeld) {
  {
    LockHolder holder(tmp.native() + (kNativeSeparator + std::string("Daten")) + kNativeSeparator + "krvdat25.ldb");
    ASSERT_TRUE(holder.held());
    EXPECT_EQ(backup.Backup(), kBackupProblem);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("anderen Programm verwendet"), std::string::npos) << dialogs.shown[0].text;
    EXPECT_TRUE(Folder().empty());
  }
  EXPECT_EQ(backup.Backup(), kBackupMade);
  ASSERT_EQ(Folder(), std::vector<std::string>{"krvdat25_20261206_114342.db"});
  std::string copy, why;
  ASSERT_TRUE(fs.ReadFile(WinPathJoin(folder, Folder()[0]), &copy, &why)) << why;
  EXPECT_TRUE(copy == data);
}

TEST_F(RealBackupTest, ACopyNeitherReplacesNorRemovesAnExistingFile) {
  const std::string target = WinPathJoin(folder, "vorhanden.db");
  std::string why, content;
  ASSERT_TRUE(fs.WriteFileAtomic(target, "vorher", &why)) << why;
  EXPECT_FALSE(fs.CopyToNew(backend, target, nullptr, &why));
  ASSERT_TRUE(fs.ReadFile(target, &content, &why)) << why;
  EXPECT_EQ(content, "vorher");
}

}  // namespace
}  // namespace krv
