// Win32 only: the settings module's real windows (under Wine in CI): "krv25 /O" with the rest of the installation
// faked, where the days are typed and Alt+O saves; the registry permission notice, an option chosen and confirmed.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/cApp.h"
#include "app/mGlobals.h"
#include "settings/frmRegPermission.h"
#include "testing/FakeDialogs.h"
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

HWND Notice() { return FindWindowW(L"KrvRegPermission", nullptr); }

void CALLBACK ChooseAndConfirm(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  SendMessageW(GetDlgItem(Notice(), win32::kRegPermissionOptionId + 2), BM_CLICK, 0, 0);
  SendMessageW(GetDlgItem(Notice(), win32::kRegPermissionOkId), BM_CLICK, 0, 0);
}

void CALLBACK CloseTheNotice(HWND, UINT, UINT_PTR, DWORD) { PostMessageW(Notice(), WM_CLOSE, 0, 0); }

TEST(RegPermissionWindowTest, OptionChosenAndConfirmed) {
  std::unique_ptr<UiHost> ui = CreateUiHost();
  FakeDialogs dialogs;
  cuAppError err(dialogs, AppInfo{});
  frmRegPermission form(*ui, err);
  form.pubInit({"Access.Application.10", ".mdb", "MSACCESS.EXE"});
  wchar_t text[256] = {};
  GetWindowTextW(GetDlgItem(Notice(), win32::kRegPermissionKeysId), text, 256);
  EXPECT_STREQ(text, L"HKCR\\Access.Application.10\r\nHKCR\\.mdb\r\nHKCR\\MSACCESS.EXE");
  // KRV_SCREENSHOT_HOLD_MS keeps the notice up for scripts/screenshot-win32.
  const char* hold = std::getenv("KRV_SCREENSHOT_HOLD_MS");
  const UINT_PTR act = SetTimer(nullptr, 0, hold ? static_cast<UINT>(std::atoi(hold)) : 300, ChooseAndConfirm);
  const UINT_PTR guard = SetTimer(nullptr, 0, 30000, CloseTheNotice);
  form.ShowModal();
  KillTimer(nullptr, act), KillTimer(nullptr, guard);
  EXPECT_FALSE(form.Cancelled());
  EXPECT_EQ(form.Option(), kRegSwitchOff);
  ASSERT_EQ(dialogs.shown.size(), 1u);  // where the check can be switched on again
  EXPECT_NE(dialogs.shown[0].text.find("<Weitere Optionen>"), std::string::npos);
  EXPECT_EQ(Notice(), nullptr);
}

}  // namespace
}  // namespace krv
#endif
