// Win32 code only: subclassing a real window; the chain's rules are tested over the fake window system.
#include "ui/win32/Subclass_win32.h"

#include <gtest/gtest.h>

#include "platform/win32/Win32Util_win32.h"
#include "testing/SubclassTestSupport.h"

namespace krv::win32 {
namespace {

using Log = std::vector<std::string>;
Log g_log;

LRESULT CALLBACK PreviousProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message < WM_APP) return DefWindowProcW(hwnd, message, wparam, lparam);
  g_log.push_back("prev:" + std::to_string(message));
  return 77;
}

TEST(Win32SubclassTest, ProcedureAndBookkeepingAreTheRealWindowsAndDetachRestoresThem) {
  const WNDCLASSW wc = {0, PreviousProc, 0, 0, GetModuleHandleW(nullptr), {}, {}, {}, {}, L"KrvSubclassTestWindow"};
  RegisterClassW(&wc);
  HWND hwnd =
      CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 99, 99, nullptr, nullptr, nullptr, nullptr);
  if (!hwnd) GTEST_SKIP() << "no window can be created";
  const auto h = reinterpret_cast<WindowHandle>(hwnd);
  const LONG_PTR original = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  const std::wstring count = Wide(std::to_string(h) + "C");  // registrations on the window
  mSubclass subclass{SubclassWindows(), "krv25"};
  RecordingHandler a("a", &g_log, kMsgPostProcess);
  subclass.AttachMessage(&a, h, WM_APP);
  EXPECT_NE(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
  EXPECT_EQ(GetPropW(hwnd, count.c_str()), reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(SendMessageW(hwnd, WM_APP, 0, 0), 77);
  EXPECT_EQ(SendMessageW(hwnd, WM_APP + 1, 0, 0), 77);  // not ours: straight through
  EXPECT_EQ(g_log, (Log{"a:32768", "prev:32768", "prev:32769"}));
  subclass.DetachMessage(&a, h, WM_APP);
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == original && !GetPropW(hwnd, count.c_str()));
  DestroyWindow(hwnd);
}

}  // namespace
}  // namespace krv::win32
