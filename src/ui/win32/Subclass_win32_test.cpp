// Win32 code only: window subclassing on real windows of this thread; the
// rules of the handler chain are tested over the fake window system.
#include "ui/win32/Subclass_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Util_win32.h"
#include "testing/SubclassTestSupport.h"
#include "ui/mSubclass.h"

namespace krv::win32 {
namespace {

constexpr UINT kMsg = WM_APP + 1;
constexpr LRESULT kPreviousResult = 77;

std::vector<std::string>* g_log = nullptr;

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message < WM_APP) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (g_log) g_log->push_back("prev:" + std::to_string(message));
  return kPreviousResult;
}

BOOL CALLBACK CountProp(HWND, LPWSTR, HANDLE, ULONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

class Win32SubclassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log = &log;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KrvSubclassTestWindow";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance,
                           nullptr);
    if (!hwnd) GTEST_SKIP() << "no window can be created";
    original = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    EnumPropsExW(hwnd, CountProp, reinterpret_cast<LPARAM>(&props_before));
  }
  void TearDown() override {
    if (hwnd) DestroyWindow(hwnd);
    g_log = nullptr;
  }
  int Props() {
    int count = 0;
    EnumPropsExW(hwnd, CountProp, reinterpret_cast<LPARAM>(&count));
    return count - props_before;
  }
  WindowHandle H() const { return reinterpret_cast<WindowHandle>(hwnd); }

  mSubclass subclass{SubclassWindows(), "krv25"};
  std::vector<std::string> log;
  HWND hwnd = nullptr;
  LONG_PTR original = 0;
  int props_before = 0;
};

TEST_F(Win32SubclassTest, MessagesReachTheHandlerAndThePreviousProcedureWhichDetachRestores) {
  RecordingHandler a("a", &log, kMsgPostProcess);
  subclass.AttachMessage(&a, H(), kMsg);
  EXPECT_NE(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
  EXPECT_GT(Props(), 0);
  EXPECT_EQ(SendMessageW(hwnd, kMsg, 0, 0), kPreviousResult);
  EXPECT_EQ(SendMessageW(hwnd, kMsg + 1, 0, 0), kPreviousResult);  // not ours: straight through
  const std::string m = std::to_string(kMsg), n = std::to_string(kMsg + 1);
  EXPECT_EQ(log, (std::vector<std::string>{"a:" + m, "prev:" + m, "prev:" + n}));
  subclass.DetachMessage(&a, H(), kMsg);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
  EXPECT_EQ(Props(), 0);
}

TEST_F(Win32SubclassTest, HandlerMayDetachAndDestroyTheWindowInsideWindowProc) {
  RecordingHandler menu("menu", &log, kMsgPostProcess);
  subclass.AttachMessage(&menu, H(), WM_ACTIVATEAPP);
  menu.during = [&] {
    subclass.DetachMessage(&menu, H(), WM_ACTIVATEAPP);
    DestroyWindow(hwnd);
  };
  SendMessageW(hwnd, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(log, (std::vector<std::string>{"menu:28"}));
  hwnd = nullptr;
}

}  // namespace
}  // namespace krv::win32
