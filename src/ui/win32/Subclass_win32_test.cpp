// Win32 code only: window subclassing on real windows of this thread.
#include "ui/win32/Subclass_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/KrvError.h"
#include "platform/win32/Win32Util_win32.h"
#include "ui/SubclassTestSupport.h"
#include "ui/mSubclass.h"

namespace krv::win32 {
namespace {

constexpr UINT kMsgA = WM_APP + 1;
constexpr UINT kMsgB = WM_APP + 2;
constexpr LRESULT kPreviousResult = 77;

std::vector<std::string>* g_log = nullptr;

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message >= WM_APP) {
    if (g_log) g_log->push_back("prev:" + std::to_string(message));
    return kPreviousResult;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

WindowHandle H(HWND hwnd) { return reinterpret_cast<WindowHandle>(hwnd); }

BOOL CALLBACK CollectProp(HWND, LPWSTR name, HANDLE, ULONG_PTR names) {
  // Integer atoms have no text.
  if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0)
    reinterpret_cast<std::vector<std::string>*>(names)->push_back(Narrow(name));
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
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"Subclass", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           wc.hInstance, nullptr);
    if (!hwnd) GTEST_SKIP() << "no window can be created";
    original = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  }
  void TearDown() override {
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
    g_log = nullptr;
  }
  // Our bookkeeping properties: those whose name starts with the handle's number.
  std::vector<std::string> OurProps() {
    std::vector<std::string> names, ours;
    EnumPropsExW(hwnd, CollectProp, reinterpret_cast<LPARAM>(&names));
    const std::string prefix = std::to_string(H(hwnd));
    for (const auto& n : names) {
      if (n.rfind(prefix, 0) == 0) ours.push_back(n);
    }
    return ours;
  }
  std::intptr_t Prop(const std::string& suffix) {
    return reinterpret_cast<std::intptr_t>(GetPropW(hwnd, Wide(std::to_string(H(hwnd)) + suffix).c_str()));
  }

  WindowSystem& windows = SubclassWindows();
  mSubclass subclass{windows, "krv25"};
  std::vector<std::string> log;
  HWND hwnd = nullptr;
  LONG_PTR original = 0;
};

TEST_F(Win32SubclassTest, TwoHandlersInRegistrationOrderAndDetachingTheFirstMovesTheSecondDown) {
  RecordingHandler a("a", &log, kMsgConsume), b("b", &log, kMsgPostProcess, 5);
  subclass.AttachMessage(&a, H(hwnd), kMsgA);
  subclass.AttachMessage(&b, H(hwnd), kMsgA);
  EXPECT_EQ(Prop("C"), 2);
  EXPECT_EQ(Prop(""), original);
  EXPECT_NE(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
  EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), kPreviousResult);
  const std::string a_msg = std::to_string(kMsgA);
  EXPECT_EQ(log, (std::vector<std::string>{"a:" + a_msg, "b:" + a_msg, "prev:" + a_msg}));

  subclass.DetachMessage(&a, H(hwnd), kMsgA);
  EXPECT_EQ(Prop("#" + a_msg + "#1"), reinterpret_cast<std::intptr_t>(&b));
  EXPECT_EQ(Prop("#" + a_msg + "#2"), 0);
  EXPECT_EQ(Prop("#" + a_msg + "C"), 1);
  log.clear();
  SendMessageW(hwnd, kMsgA, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"b:" + a_msg, "prev:" + a_msg}));

  subclass.DetachMessage(&b, H(hwnd), kMsgA);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
  EXPECT_TRUE(OurProps().empty());
}

TEST_F(Win32SubclassTest, WindowWithTwoMessagesKeepsItsProcedureUntilBothAreDetached) {
  RecordingHandler a("a", &log, kMsgConsume, 9);
  subclass.AttachMessage(&a, H(hwnd), kMsgA);
  subclass.AttachMessage(&a, H(hwnd), kMsgB);
  subclass.DetachMessage(&a, H(hwnd), kMsgA);
  EXPECT_NE(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
  EXPECT_EQ(SendMessageW(hwnd, kMsgB, 0, 0), 9);
  EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), kPreviousResult);
  EXPECT_EQ(log, (std::vector<std::string>{"a:" + std::to_string(kMsgB), "prev:" + std::to_string(kMsgA)}));
  subclass.DetachMessage(&a, H(hwnd), kMsgB);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
  EXPECT_TRUE(OurProps().empty());
}

TEST_F(Win32SubclassTest, RefusedRegistrations) {
  RecordingHandler a("a", &log);
  subclass.AttachMessage(&a, H(hwnd), kMsgA);
  auto number_of = [&](WindowHandle target, std::string* description) {
    try {
      subclass.AttachMessage(&a, target, kMsgA);
    } catch (const KrvError& e) {
      *description = e.description;
      return e.number - kSubclassObjectErrorBase;
    }
    return 0;
  };
  std::string description;
  EXPECT_EQ(number_of(H(hwnd), &description), 13082);
  EXPECT_EQ(description, "Message already handled by another class");
  EXPECT_EQ(Prop("C"), 1);
  // The desktop window belongs to another process.
  EXPECT_EQ(number_of(H(GetDesktopWindow()), &description), 13084);
  EXPECT_EQ(description, "Can't modify external window");
  subclass.DetachMessage(&a, H(hwnd), kMsgA);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);

  HWND gone = hwnd;
  DestroyWindow(hwnd);
  hwnd = nullptr;
  EXPECT_EQ(number_of(H(gone), &description), 13083);
  EXPECT_EQ(description, "Invalid window");
}

TEST_F(Win32SubclassTest, HandlerMayDetachAndDestroyTheWindowInsideWindowProc) {
  RecordingHandler menu("menu", &log, kMsgPostProcess);
  subclass.AttachMessage(&menu, H(hwnd), WM_ACTIVATEAPP);
  menu.during = [&] {
    subclass.DetachMessage(&menu, H(hwnd), WM_ACTIVATEAPP);
    DestroyWindow(hwnd);
  };
  SendMessageW(hwnd, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(log, (std::vector<std::string>{"menu:28"}));
  hwnd = nullptr;
}

}  // namespace
}  // namespace krv::win32
