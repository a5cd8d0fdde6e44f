// Win32 only: the start menu's form on its real window (under Wine in CI),
// with the rest of the installation faked.
#ifdef _WIN32
#include <gtest/gtest.h>

#include "app/cApp.h"
#include "app/mGlobals.h"
#include "menu/frmMenu.h"
#include "testing/StarterHarness.h"
// After the fakes: windows.h turns some of their member names into macros.
#include <windows.h>

#include "ui/win32/MenuWindow_win32.h"

#undef LoadMenu  // cApp's member, not the Win32 function

namespace krv {
namespace {

void CALLBACK CloseTheMenu(HWND, UINT, UINT_PTR, DWORD) {
  PostMessageW(FindWindowW(nullptr, L"KORVELLA II.5"), WM_CLOSE, 0, 0);
}

TEST(MenuWindowFormTest, RealWindowFollowsTheKeysAndStartsTheChosenProgram) {
  std::unique_ptr<UiHost> ui = CreateUiHost();
  StarterHarness h;
  h.env.ui = ui.get();
  h.fs.AddFile("C:\\Programme\\Korvella\\krvver25.exe", "x");
  mGlobals g(h.env);
  g.app = std::make_unique<cApp>(g);
  ASSERT_TRUE(g.app->LoadMenu(0, true));
  const HWND w = FindWindowW(nullptr, L"KORVELLA II.5");
  ASSERT_NE(w, nullptr);
  for (int k = 0; k < 2; ++k) {  // the second Down also stops the countdown
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_DOWN, 1);
    ui->DoEvents();
  }
  EXPECT_EQ(GetFocus(), GetDlgItem(w, win32::kMenuFakeId + 2));
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);  // runs the version information
  // Should the keys go astray, closing the menu after a while ends the loop instead of hanging the test.
  const UINT_PTR guard = SetTimer(nullptr, 0, 15000, CloseTheMenu);
  ui->RunLoop([&g] { return g.EndRequested() || !g.forms.AnyLoaded(); });
  KillTimer(nullptr, guard);
  Finish(g);  // what Main does with the menu's request
  ASSERT_EQ(h.shell.started.size(), 1u);
  EXPECT_EQ(h.shell.started[0].file, "C:\\Programme\\Korvella\\krvver25.exe");
  EXPECT_EQ(h.shell.started[0].args, "/AllowLoader");
}

}  // namespace
}  // namespace krv
#endif
