// Win32 code only: the modal loop of the shared window layer, which the
// dialogs to come run on and the start menu does not use.
#include "ui/win32/Window_win32.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/win32/Controls_win32.h"

namespace krv::win32 {
namespace {

const wchar_t kClass[] = L"KrvModalLoopTest";

struct Probe {
  std::vector<UINT> seen;
  HWND owner = nullptr;
  bool owner_enabled_at_close = true;

  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CLOSE || message == WM_NCDESTROY) seen.push_back(message);
    if (message == WM_CLOSE) owner_enabled_at_close = IsWindowEnabled(owner);
    if (message == WM_TIMER) DestroyWindow(hwnd);  // the guard: a loop that misses Escape must not hang
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
};

HWND Open(Probe& probe, HWND owner = nullptr) {
  RegisterWindowClass({kClass, WindowProcOf<Probe, &Probe::OnMessage>});
  probe.owner = owner;
  return CreateWindowFrom({.cls = kClass,
                           .text = L"Probe",
                           .style = WS_OVERLAPPED | WS_CAPTION,
                           .pixels = {10, 10, 300, 200},
                           .parent = owner,
                           .object = &probe});
}

TEST(WindowLayerTest, ModalLoopDisablesTheOwnerAndEndsWithEscapeOrQuit) {
  Probe owner_probe, first, second;
  HWND owner = Open(owner_probe);
  if (!owner) GTEST_SKIP() << "no window can be created";
  HWND dialog = Open(first, owner);
  HWND edit = AddEdit(dialog, {1, "", WS_VISIBLE | WS_TABSTOP, 0, {0, 0, 1000, 300}});
  PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  SetTimer(dialog, 1, 3000, nullptr);
  EXPECT_TRUE(RunModal(dialog, owner));
  EXPECT_EQ(first.seen, (std::vector<UINT>{WM_CLOSE, WM_NCDESTROY}));  // Escape asks to close, as Cancel
  EXPECT_FALSE(first.owner_enabled_at_close);
  EXPECT_TRUE(IsWindowEnabled(owner));

  dialog = Open(second, owner);
  PostQuitMessage(3);
  EXPECT_FALSE(RunModal(dialog, owner));
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(IsWindowEnabled(owner));
  MSG msg;  // posted again for the outer loop
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
  DestroyWindow(owner);
}

}  // namespace
}  // namespace krv::win32
