// Win32 code only: the windowing host, a message loop over the start menu's
// real window. Keys reach the form first through the window's own key
// preview, so every loop here (and any modal loop of the system) serves it.
#include "ui/UiHost.h"
#include "ui/win32/Controls_win32.h"
#include "ui/win32/MenuWindow_win32.h"
#include "ui/win32/SettingsWindow_win32.h"
#include "ui/win32/Subclass_win32.h"
#include "ui/win32/TextWindow_win32.h"
#include "ui/win32/Window_win32.h"

namespace krv {

namespace {

using win32::PixelsToTwipsX;
using win32::PixelsToTwipsY;

// Dispatches the pending messages; false when WM_QUIT came (it is posted
// again so the outermost loop sees it too).
bool PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

class Win32UiHost : public UiHost {
 public:
  std::unique_ptr<MenuView> CreateMenuView(MenuEvents& events) override { return win32::NewMenuWindow(events); }
  std::unique_ptr<ProgressWindow> CreateProgressWindow() override { return NewProgressWindow(); }

  TwipsPoint CursorPosition() override {
    POINT pt = {};
    GetCursorPos(&pt);
    return {PixelsToTwipsX(pt.x), PixelsToTwipsY(pt.y)};
  }

  TwipsPoint ScreenSize() override {
    return {PixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN)), PixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN))};
  }

  void SetBusyCursor(bool busy) override {
    // Our windows ask for the pointer on every move; this sets it for where it rests now.
    win32::SetBusy(busy);
    SetCursor(win32::LoadPointer(busy ? win32::Pointer::kWait : win32::Pointer::kArrow));
  }

  void DoEvents() override { PumpPending(); }

  void Wait(int32_t ms) override {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms > 0 ? ms : 0);
    for (;;) {
      if (!PumpPending()) return;  // the program is quitting
      const ULONGLONG now = GetTickCount64();
      if (now >= end) return;
      MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
  }

  void RunLoop(const std::function<bool()>& done) override {
    MSG msg;
    while (!done()) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      if (got == -1) return;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  WindowSystem* Windows() override { return &win32::SubclassWindows(); }

  bool ShowTextWindow(const TextWindowArgs& args) override { return win32::RunTextWindow(args); }
  std::unique_ptr<SettingsView> CreateSettingsView(SettingsEvents& events) override {
    return win32::NewSettingsWindow(events);
  }
  std::unique_ptr<RegPermissionView> CreateRegPermissionView(RegPermissionEvents& events) override {
    return win32::NewRegPermissionWindow(events);
  }
};

}  // namespace

std::unique_ptr<UiHost> CreateUiHost() {
  win32::InitCommonControlsOnce();
  return std::make_unique<Win32UiHost>();
}

}  // namespace krv
