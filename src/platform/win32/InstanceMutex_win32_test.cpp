// Win32 code only: the named instance mutex, held by a second process.
#include <gtest/gtest.h>

#include "base/Text.h"
#include "base/WinPath.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/TestSupport_win32.h"
#include "testing/TempDir.h"

namespace krv::win32 {
namespace {

std::string UniqueName(const char* what) {
  return std::string("KRV_TEST_") + what + "_" + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(GetTickCount64());
}

// Runs in the child process only: holds the mutex named in KRV_CHILD_MUTEX
// until the parent removes the file "halten" in the folder KRV_CHILD_DIR.
TEST(ChildProcess, HoldMutex) {
  auto system = NewSystem();
  const std::string name = system->GetEnv("KRV_CHILD_MUTEX");
  if (name.empty()) GTEST_SKIP() << "runs only as the child of InstanceMutex tests";
  const std::string dir = system->GetEnv("KRV_CHILD_DIR");
  auto fs = NewFileSystem();
  auto mutex = NewInstanceMutex();
  bool already = true;
  std::string err;
  ASSERT_TRUE(mutex->Create(name, &already, &err)) << err;
  ASSERT_TRUE(fs->WriteFileAtomic(WinPathJoin(dir, "halten"), "", &err)) << err;
  EXPECT_TRUE(WaitFor([&] { return !fs->FileExists(WinPathJoin(dir, "halten")); }));
}

TEST(Win32InstanceMutexTest, AnotherProcessHoldsItUntilItEnds) {
  TempDir dir;
  auto fs = NewFileSystem();
  const std::string name = UniqueName("Kind");
  SetEnvironmentVariableW(L"KRV_CHILD_DIR", Wide(dir.native()).c_str());
  UniqueHandle child = StartSelf("--gtest_filter=ChildProcess.HoldMutex", "KRV_CHILD_MUTEX", name);
  SetEnvironmentVariableW(L"KRV_CHILD_DIR", nullptr);
  ASSERT_TRUE(child.valid());
  ASSERT_TRUE(WaitFor([&] { return fs->FileExists(WinPathJoin(dir.native(), "halten")); }));

  auto watcher = NewInstanceMutex();
  EXPECT_TRUE(watcher->HeldByOther(name));
  auto mine = NewInstanceMutex();
  bool already = false;
  std::string err;
  ASSERT_TRUE(mine->Create(name, &already, &err)) << err;
  EXPECT_TRUE(already);
  mine->Release();

  ASSERT_TRUE(fs->DeleteFile(WinPathJoin(dir.native(), "halten"), &err)) << err;
  ASSERT_EQ(WaitForSingleObject(child.get(), 30000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(child.get(), &code);
  EXPECT_EQ(code, 0u) << "the child test failed";
  EXPECT_FALSE(watcher->HeldByOther(name)) << "the lock goes with the process";
}

TEST(Win32InstanceMutexTest, HeldWhileAHandleIsOpenAndGoneAfterRelease) {
  const std::string name = UniqueName("Selbst");
  auto first = NewInstanceMutex();
  auto second = NewInstanceMutex();
  auto watcher = NewInstanceMutex();
  bool already = true;
  std::string err;
  EXPECT_FALSE(watcher->HeldByOther(name));
  ASSERT_TRUE(first->Create(name, &already, &err)) << err;
  EXPECT_FALSE(already);
  EXPECT_FALSE(first->HeldByOther(name)) << "our own handle does not count";
  EXPECT_TRUE(watcher->HeldByOther(name));
  EXPECT_FALSE(watcher->HeldByOther(name + "_anders"));
  EXPECT_FALSE(watcher->HeldByOther(LowerCase(name))) << "names are case-sensitive";

  ASSERT_TRUE(second->Create(name, &already, &err)) << err;
  EXPECT_TRUE(already) << "the handle is kept even so";
  first->Release();
  EXPECT_TRUE(watcher->HeldByOther(name));
  second->Release();
  EXPECT_FALSE(watcher->HeldByOther(name));
}

}  // namespace
}  // namespace krv::win32
