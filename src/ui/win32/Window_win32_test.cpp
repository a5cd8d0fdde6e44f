// Win32 code only: the shared window layer on real windows.
#include "ui/win32/Window_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ui/win32/Controls_win32.h"

namespace krv::win32 {
namespace {

const wchar_t kClass[] = L"KrvWindowLayerTest";

struct Probe {
  std::vector<UINT> seen;
  HWND created = nullptr;
  HWND owner = nullptr;
  bool owner_enabled_at_close = true;

  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) created = hwnd;
    if (message == WM_APP + 1) throw std::runtime_error("must not reach the system");
    if (message == WM_APP || message == WM_CLOSE || message == WM_NCDESTROY) seen.push_back(message);
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

TEST(WindowLayerTest, EachWindowReachesItsOwnObjectUntilItIsDestroyed) {
  Probe a, b;
  HWND wa = Open(a), wb = Open(b);
  if (!wa) GTEST_SKIP() << "no window can be created";
  EXPECT_EQ(a.created, wa);
  EXPECT_EQ(b.created, wb);
  SendMessageW(wa, WM_APP, 0, 0);
  EXPECT_EQ(SendMessageW(wb, WM_APP + 1, 0, 0), 0);  // the exception ended in the trampoline
  DestroyWindow(wa);
  DestroyWindow(wb);
  EXPECT_EQ(a.seen, (std::vector<UINT>{WM_APP, WM_NCDESTROY}));
  EXPECT_EQ(b.seen, (std::vector<UINT>{WM_NCDESTROY}));
}

TEST(WindowLayerTest, ControlsSitInTwipsWithUmlautsFontAndTooltip) {
  Probe probe;
  HWND parent = Open(probe);
  if (!parent) GTEST_SKIP() << "no window can be created";
  UniqueFont font = MakeFont(L"Courier New", 10, true);
  HWND edit = AddEdit(parent, {7, "Größe: 5 MB", WS_VISIBLE, 0, {150, 300, 1650, 600}, font.get()});
  HWND button = AddButton(parent, {8, "Ändern", WS_VISIBLE | BS_PUSHBUTTON, 0, {150, 900, 1350, 1260}});
  ASSERT_EQ(GetDlgItem(parent, 7), edit);
  ASSERT_EQ(GetDlgItem(parent, 8), button);
  RECT at;
  GetWindowRect(edit, &at);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&at), 2);
  const RECT expected = TwipsToPixels({150, 300, 1650, 600});
  EXPECT_TRUE(EqualRect(&at, &expected));
  EXPECT_NE(GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(TextOf(edit), "Größe: 5 MB");
  SetText(button, "Übernehmen");
  EXPECT_EQ(TextOf(button), "Übernehmen");
  LOGFONTW lf = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_EQ(_wcsicmp(lf.lfFaceName, L"Courier New"), 0);
  EXPECT_EQ(lf.lfHeight, -TwipsToPixelsY(10 * 20));  // a point is 20 twips
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  Tooltips tips(parent);
  tips.Add(edit, "Größe der Sicherung");
  wchar_t tip[64] = {};
  TOOLINFOW ti = {};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = parent;
  ti.uId = reinterpret_cast<UINT_PTR>(edit);
  ti.lpszText = tip;
  SendMessageW(tips.Handle(), TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
  EXPECT_EQ(Narrow(tip), "Größe der Sicherung");
  DestroyWindow(parent);
  EXPECT_FALSE(IsWindow(tips.Handle()));  // it went with its owner
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
  EXPECT_EQ(first.seen, (std::vector<UINT>{WM_CLOSE, WM_NCDESTROY}));
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
