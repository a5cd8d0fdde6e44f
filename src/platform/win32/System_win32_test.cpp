// Win32 code only: system facts of the running test program, and windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "base/Text.h"
#include "base/WinPath.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/TestSupport_win32.h"
#include "testing/TempDir.h"

namespace krv::win32 {
namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// A visible top-level window, or none where no window station is there (no display).
HWND MakeWindow(const std::string& caption) {
  return CreateWindowExW(0, L"STATIC", Wide(caption).c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(Win32SystemTest, KnowsItsOwnExecutableAndProcess) {
  auto system = NewSystem();
  auto fs = NewFileSystem();
  const std::string exe = system->ExecutablePath();
  EXPECT_TRUE(IEndsWith(exe, "\\krv_platform_tests.exe")) << exe;
  EXPECT_TRUE(Contains(system->ProcessNames(), "krv_platform_tests.exe"));
}

// Runs in the child process only: writes its command line tail to KRV_CHILD_OUT.
TEST(ChildProcess, ReportCommandLine) {
  auto system = NewSystem();
  const std::string out = system->GetEnv("KRV_CHILD_OUT");
  if (out.empty()) GTEST_SKIP() << "runs only as the child of Win32SystemTest";
  std::string err;
  ASSERT_TRUE(NewFileSystem()->WriteFileAtomic(out, system->CommandLineTail(), &err)) << err;
}

TEST(Win32SystemTest, CommandLineTailIsEverythingAfterTheProgram) {
  TempDir dir;
  const std::string out = WinPathJoin(dir.native(), "tail.txt");
  const std::string tail = "--gtest_filter=ChildProcess.ReportCommandLine \"Bücher 2026\" /D 5";
  UniqueHandle child = StartSelf(tail, "KRV_CHILD_OUT", out);
  ASSERT_TRUE(child.valid());
  ASSERT_EQ(WaitForSingleObject(child.get(), 30000), WAIT_OBJECT_0);
  std::string got, err;
  ASSERT_TRUE(NewFileSystem()->ReadFile(out, &got, &err)) << err;
  EXPECT_EQ(got, tail);
}

TEST(Win32SystemTest, WindowCaptionsListVisibleWindowsOnly) {
  const std::string caption = "KORVELLA Prüfung " + std::to_string(GetCurrentProcessId());
  HWND hwnd = MakeWindow(caption);
  if (!hwnd) GTEST_SKIP() << "no display for windows";
  auto system = NewSystem();
  system->PumpMessages();
  EXPECT_TRUE(Contains(system->WindowCaptions(), caption));
  ShowWindow(hwnd, SW_HIDE);
  EXPECT_FALSE(Contains(system->WindowCaptions(), caption));
  DestroyWindow(hwnd);
}

TEST(Win32DialogsTest, MessageBoxReturnsTheButtonPressed) {
  HWND probe = MakeWindow("probe");
  if (!probe) GTEST_SKIP() << "no display for windows";
  DestroyWindow(probe);
  const std::string caption = "Frage " + std::to_string(GetCurrentProcessId());
  // Another thread presses "Nein" once the box is up.
  std::thread presser([&] {
    HWND box = nullptr;
    WaitFor([&] { return (box = FindWindowW(nullptr, Wide(caption).c_str())) != nullptr; }, 10000);
    if (box) PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
  });
  const int answer = NewDialogs()->MessageBox("Weiter?", caption, kMbYesNo | kMbIconQuestion | kMbDefButton2);
  presser.join();
  EXPECT_EQ(answer, kIdNo);
}

}  // namespace
}  // namespace krv::win32
