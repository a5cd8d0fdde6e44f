// Win32 code only: system facts of the running test program, and windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "base/Text.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/TestSupport_win32.h"
#include "testing/TempDir.h"

namespace krv::win32 {
namespace {

TEST(ChildProcess, ReportCommandLine) {
  const std::string out = NewSystem()->GetEnv("KRV_CHILD_OUT");
  if (out.empty()) GTEST_SKIP() << "runs only as the child of Win32SystemTest, writing its command line tail to out";
  std::string err;
  ASSERT_TRUE(NewFileSystem()->WriteFileAtomic(out, NewSystem()->CommandLineTail(), &err)) << err;
}

TEST(Win32SystemTest, KnowsItsProgramAndTheVisibleWindowsAndAsksWithMessageBoxes) {
  auto system = NewSystem();
  EXPECT_TRUE(IEndsWith(system->ExecutablePath(), "\\krv_platform_tests.exe")) << system->ExecutablePath();
  EXPECT_EQ(std::ranges::count(system->ProcessNames(), "krv_platform_tests.exe"), 1);
  TempDir dir;
  const std::string out = dir.native() + "\\tail.txt", tail = "--gtest_filter=ChildProcess.* \"Bücher 2026\" /D 5";
  ASSERT_EQ(WaitForSingleObject(StartSelf(tail, "KRV_CHILD_OUT", out).get(), 30000), WAIT_OBJECT_0);
  std::string got, err;
  ASSERT_TRUE(NewFileSystem()->ReadFile(out, &got, &err)) << err;
  EXPECT_EQ(got, tail);
  const std::string caption = "KORVELLA Prüfung " + std::to_string(GetCurrentProcessId());
  HWND hwnd = CreateWindowExW(0, L"STATIC", Wide(caption).c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) GTEST_SKIP() << "no display for windows";
  EXPECT_EQ(std::ranges::count(system->WindowCaptions(), caption), 1);
  ShowWindow(hwnd, SW_HIDE);
  EXPECT_EQ(std::ranges::count(system->WindowCaptions(), caption), 0);
  DestroyWindow(hwnd);
  std::thread presser([&] {  // presses "Nein" once the box is up
    HWND box = nullptr;
    WaitFor([&] { return (box = FindWindowW(nullptr, Wide(caption).c_str())) != nullptr; }, 10000);
    if (box) PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
  });
  EXPECT_EQ(NewDialogs()->MessageBox("Weiter?", caption, kMbYesNo | kMbIconQuestion | kMbDefButton2), kIdNo);
  presser.join();
}

}  // namespace
}  // namespace krv::win32
