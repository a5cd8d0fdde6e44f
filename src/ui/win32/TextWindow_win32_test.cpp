// Win32 code only: the text window as a real window (under Wine and Xvfb here).
#include "ui/win32/TextWindow_win32.h"

#include <gtest/gtest.h>

#include "ui/win32/Controls_win32.h"

namespace krv::win32 {
namespace {

std::string g_seen;  // caption, text, font and owner state of the open window, seen by the timer
void (*g_answer)(HWND window) = nullptr;
HWND g_owner = nullptr;

void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD) {
  HWND window = FindWindowW(kTextWindowClass, nullptr);
  if (!window) return;
  KillTimer(nullptr, id);
  HWND edit = GetDlgItem(window, kTextWindowEditId);
  LOGFONTW lf = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  g_seen = TextOf(window) + "|" + TextOf(edit) + "|" + Narrow(lf.lfFaceName) + (IsWindowEnabled(g_owner) ? "" : "|off");
  g_answer(window);
}

void CALLBACK Guard(HWND, UINT, UINT_PTR id, DWORD) {  // a window that ignores its answer must not hang the test
  KillTimer(nullptr, id);
  if (HWND window = FindWindowW(kTextWindowClass, nullptr)) DestroyWindow(window);
}

TEST(TextWindowTest, ShowsTheTextAndAnswersOkOnlyForOk) {
  g_owner =
      CreateWindowExW(0, L"STATIC", L"Besitzer", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  if (!g_owner) GTEST_SKIP() << "no window can be created";
  const struct {
    void (*answer)(HWND window);
    bool ok;
  } cases[] = {
      {[](HWND w) { PostMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0); }, true},
      {[](HWND w) { PostMessageW(GetDlgItem(w, kTextWindowEditId), WM_KEYDOWN, VK_ESCAPE, 1); }, false},
      {[](HWND w) { PostMessageW(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0); }, false},
  };
  const TextWindowArgs args{"ACHTUNG - KONFLIKT", "Courier New", 8, reinterpret_cast<WindowHandle>(g_owner),
                            "2 Systemkomponenten sind veraltet.\r\n\r\n- a.dll (Eins)\n  Pfad: C:\\Windows\\"};
  for (const auto& c : cases) {
    g_seen.clear();
    g_answer = c.answer;
    SetTimer(nullptr, 0, 50, Look);
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, Guard);
    EXPECT_EQ(RunTextWindow(args), c.ok);
    KillTimer(nullptr, guard);
    EXPECT_EQ(g_seen,
              "ACHTUNG - KONFLIKT|2 Systemkomponenten sind veraltet.\r\n\r\n- a.dll (Eins)\r\n  Pfad: C:\\Windows\\|"
              "Courier New|off");
    EXPECT_TRUE(IsWindowEnabled(g_owner));
    EXPECT_FALSE(FindWindowW(kTextWindowClass, nullptr));
  }
  DestroyWindow(g_owner);
}

}  // namespace
}  // namespace krv::win32
