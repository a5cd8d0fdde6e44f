// Win32 only: "krv25 /O" on the real settings window (under Wine in CI),
// with the rest of the installation faked: the days are typed, Alt+O saves.
#ifdef _WIN32
#include <gtest/gtest.h>

#include "app/cApp.h"
#include "app/mGlobals.h"
#include "testing/StarterHarness.h"
// After the fakes: windows.h turns some of their member names into macros.
#include <windows.h>

#include "ui/win32/SettingsWindow_win32.h"

namespace krv {
namespace {

HWND SettingsWindow() { return FindWindowW(L"KrvSettings", nullptr); }

void CALLBACK TypeTheDays(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const HWND days = GetDlgItem(SettingsWindow(), win32::kSettingsDaysId);
  SetFocus(days);
  SetWindowTextW(days, L"45");                            // reported as a change
  PostMessageW(days, WM_SYSKEYDOWN, 'O', (1 << 29) | 1);  // Alt+O
}

void CALLBACK CloseTheDialog(HWND, UINT, UINT_PTR, DWORD) { PostMessageW(SettingsWindow(), WM_CLOSE, 0, 0); }

TEST(SettingsWindowFormTest, RealWindowSavesTheDaysOnAltO) {
  std::unique_ptr<UiHost> ui = CreateUiHost();
  StarterHarness h;
  h.env.ui = ui.get();
  h.sys.command_line = "/O";
  const UINT_PTR act = SetTimer(nullptr, 0, 300, TypeTheDays);
  const UINT_PTR guard = SetTimer(nullptr, 0, 15000, CloseTheDialog);  // should the keys go astray
  mGlobals g(h.env);
  EXPECT_EQ(Main(g), 0);
  KillTimer(nullptr, act), KillTimer(nullptr, guard);
  RegValue v;
  h.reg.ReadValue(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Loader", "CheckLastSyncDate", &v, nullptr);
  EXPECT_EQ(v.text, "45");
  EXPECT_EQ(SettingsWindow(), nullptr);
  EXPECT_TRUE(h.dialogs.shown.empty());
}

}  // namespace
}  // namespace krv
#endif
