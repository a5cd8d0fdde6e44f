// Win32 only: the start menu's form on its real window (under Wine in CI),
// with the rest of the installation faked.
#ifdef _WIN32
#include <gtest/gtest.h>

#include "app/cApp.h"
#include "app/mGlobals.h"
#include "base/Text.h"
#include "menu/frmMenu.h"
#include "testing/StarterHarness.h"
// After the fakes: windows.h turns some of their member names into macros.
#include <windows.h>

#include "ui/win32/MenuWindow_win32.h"

#undef LoadMenu  // cApp's member, not the Win32 function

namespace krv {
namespace {

std::string Text(HWND w) {
  wchar_t buf[128] = {};
  GetWindowTextW(w, buf, 128);
  return Utf16ToUtf8(reinterpret_cast<const char16_t*>(buf));
}

bool Bold(HWND label) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfWeight >= FW_BOLD;
}

void CALLBACK CloseTheMenu(HWND, UINT, UINT_PTR, DWORD) {
  PostMessageW(FindWindowW(nullptr, L"KORVELLA II.5"), WM_CLOSE, 0, 0);
}

TEST(MenuWindowFormTest, RealWindowShowsTheItemsAndFollowsTheKeys) {
  std::unique_ptr<UiHost> ui = CreateUiHost();
  StarterHarness h;
  h.env.ui = ui.get();
  h.fs.AddFile("C:\\Programme\\Korvella\\krvver25.exe", "x");
  mGlobals g(h.env);
  g.app = std::make_unique<cApp>(g);
  ASSERT_TRUE(g.app->LoadMenu(0, true));
  ASSERT_TRUE(g.forms.IsLoaded(kMenuFormName));
  const HWND w = FindWindowW(nullptr, L"KORVELLA II.5");
  ASSERT_NE(w, nullptr);

  EXPECT_EQ(Text(GetDlgItem(w, win32::kMenuCountId)), "(5)");
  const char* const captions[] = {"K&ORVELLA",   "&Browser",       "&VersionsInfo",
                                  "&Kompressor", "&Einstellungen", "&Abbrechen"};
  for (int i = 0; i < kMenuItemCount; ++i) {
    EXPECT_EQ(Text(GetDlgItem(w, win32::kMenuLabelId + i)), captions[i]) << i;
  }
  EXPECT_TRUE(Bold(GetDlgItem(w, win32::kMenuLabelId)));

  for (int k = 0; k < 2; ++k) {  // the second Down also stops the countdown
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_DOWN, 1);
    ui->DoEvents();
  }
  EXPECT_EQ(GetFocus(), GetDlgItem(w, win32::kMenuFakeId + 2));
  EXPECT_TRUE(Bold(GetDlgItem(w, win32::kMenuLabelId + 2)));
  EXPECT_FALSE(Bold(GetDlgItem(w, win32::kMenuLabelId)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, win32::kMenuCountId)));

  PostMessageW(GetFocus(), WM_SYSKEYDOWN, 'B', (1 << 29) | 1);  // Alt+B: the browser, which is missing
  ui->DoEvents();
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_NE(h.dialogs.shown[0].text.find("krvbrw25.exe' nicht finden"), std::string::npos);
  EXPECT_TRUE(Bold(GetDlgItem(w, win32::kMenuLabelId + 1)));
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_DOWN, 1);
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);  // runs the version information
  // Should the keys go astray, closing the menu after a while ends the loop instead of hanging the test.
  const UINT_PTR guard = SetTimer(nullptr, 0, 15000, CloseTheMenu);
  ui->RunLoop([&g] { return !g.forms.AnyLoaded(); });
  KillTimer(nullptr, guard);
  ASSERT_EQ(h.shell.started.size(), 1u);
  EXPECT_EQ(h.shell.started[0].file, "C:\\Programme\\Korvella\\krvver25.exe");
  EXPECT_EQ(h.shell.started[0].args, "/AllowLoader");
}

}  // namespace
}  // namespace krv
#endif
