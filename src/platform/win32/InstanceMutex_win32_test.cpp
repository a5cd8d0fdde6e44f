// Win32 code only: the named instance mutex, held through handles of this process.
#include <gtest/gtest.h>

#include "platform/win32/Services_win32.h"
#include "platform/win32/TestSupport_win32.h"

namespace krv::win32 {
namespace {

TEST(Win32InstanceMutexTest, HeldWhileAnotherHandleIsOpen) {
  const std::string name = "KRV_TEST_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount64());
  auto first = NewInstanceMutex(), second = NewInstanceMutex(), watcher = NewInstanceMutex();
  bool already = true;
  std::string err;
  ASSERT_TRUE(first->Create(name, &already, &err)) << err;
  EXPECT_FALSE(already);
  EXPECT_FALSE(first->HeldByOther(name)) << "our own handle does not count";
  EXPECT_TRUE(watcher->HeldByOther(name));
  EXPECT_FALSE(watcher->HeldByOther(name + "_anders"));
  ASSERT_TRUE(second->Create(name, &already, &err)) << err;
  EXPECT_TRUE(already) << "the handle is kept even so";
  first->Release();
  EXPECT_TRUE(first->HeldByOther(name)) << "after Release, the second handle is another holder";
  second->Release();
  EXPECT_FALSE(watcher->HeldByOther(name));
}

}  // namespace
}  // namespace krv::win32
