// The windowing side of the platform: makes the start menu's view, runs the
// event loop while a form is loaded, and answers the few questions about
// the screen and the mouse the starter asks. Win32 runs a message loop;
// POSIX draws in the terminal.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "base/Dialogs.h"
#include "ui/MenuView.h"
#include "ui/ProgressWindow.h"
#include "ui/RegPermissionView.h"
#include "ui/SettingsView.h"
#include "ui/TextWindow.h"
#include "ui/WindowSystem.h"

namespace krv {

struct TwipsPoint {
  int32_t x = 0;
  int32_t y = 0;
};

class UiHost {
 public:
  virtual ~UiHost() = default;

  // A new, hidden start-menu window that reports to `events`.
  virtual std::unique_ptr<MenuView> CreateMenuView(MenuEvents& events) = 0;
  // The loader's progress window, not yet shown.
  virtual std::unique_ptr<ProgressWindow> CreateProgressWindow() = 0;

  // Mouse position and screen size in twips.
  virtual TwipsPoint CursorPosition() = 0;
  virtual TwipsPoint ScreenSize() = 0;
  // Hourglass while the starter works, the default pointer otherwise.
  virtual void SetBusyCursor(bool busy) = 0;

  // Lets pending window events run (DoEvents).
  virtual void DoEvents() = 0;
  // Handles window events for `ms` milliseconds.
  virtual void Wait(int32_t ms) = 0;
  // Handles window events and timers until `done` returns true; `done` is
  // asked after every event. Returns at once when it is true to begin with.
  virtual void RunLoop(const std::function<bool()>& done) = 0;

  // Message boxes to ask while the host's windows are up; the terminal host
  // gives its screen back for the question. By default `inner` itself.
  virtual Dialogs& MessageBoxes(Dialogs& inner) { return inner; }

  // Window subclassing's window system; nullptr where windows do not exist.
  virtual WindowSystem* Windows() = 0;

  // Shows the modal text window over `args.owner` until the user answers:
  // true for OK; "Abbrechen", Escape and closing the window are false.
  virtual bool ShowTextWindow(const TextWindowArgs& args) = 0;
  // The settings dialog's window and the registry permission notice, new and hidden.
  virtual std::unique_ptr<SettingsView> CreateSettingsView(SettingsEvents& events) = 0;
  virtual std::unique_ptr<RegPermissionView> CreateRegPermissionView(RegPermissionEvents& events) = 0;
};

// The platform's host (CreateNativePlatform puts it into the Platform).
std::unique_ptr<UiHost> CreateUiHost();

}  // namespace krv
