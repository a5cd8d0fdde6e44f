// POSIX only: the UI host over the terminal. Its loop waits in poll() on the
// terminal input and a signal pipe until the next timer of a menu is due,
// reads the input through its terminal and hands it to the menu shown last.
#pragma once

#include <deque>
#include <optional>

#include "platform/posix/FileSystem_posix.h"
#include "ui/UiHost.h"
#include "ui/posix/MenuTerminal_posix.h"

namespace krv {

class TerminalSettings;

class PosixUiHost final : public UiHost {
 public:
  using Clock = TerminalMenu::Clock;

  explicit PosixUiHost(int in_fd = 0, int out_fd = 1);

  std::unique_ptr<MenuView> CreateMenuView(MenuEvents& events) override;
  std::unique_ptr<ProgressWindow> CreateProgressWindow() override { return NewProgressWindow(); }
  TwipsPoint CursorPosition() override { return {}; }
  // A large screen: the terminal centres the menu itself.
  TwipsPoint ScreenSize() override { return {1920 * kTwipsPerPixel, 1080 * kTwipsPerPixel}; }
  void SetBusyCursor(bool) override {}
  void DoEvents() override;
  void Wait(int32_t ms) override;
  // Also returns when no menu is shown and no timer is armed, since then
  // nothing could ever make `done` true.
  void RunLoop(const std::function<bool()>& done) override;
  WindowSystem* Windows() override { return nullptr; }
  Dialogs& MessageBoxes(Dialogs& inner) override;
  bool ShowTextWindow(const TextWindowArgs& args) override;

  // Both serve their own input while shown (see SettingsTerminal_posix.h).
  std::unique_ptr<SettingsView> CreateSettingsView(SettingsEvents& events) override;
  std::unique_ptr<RegPermissionView> CreateRegPermissionView(RegPermissionEvents& events) override;

  // How long a lone ESC without a terminal waits for the key it goes with.
  static constexpr int kEscapeWaitMs = 50;

 private:
  // Handles one event (input, signal, timer) or waits for one until `until`
  // (forever without it); false when it returned without any.
  bool PumpOnce(std::optional<Clock::time_point> until);
  TerminalMenu* InputTarget() const;
  TerminalMenu* EarliestTimer(std::optional<Clock::time_point>* due) const;
  bool AnythingCanHappen() const;
  void Deliver(const TermInput& in);
  void ReadInput();
  void FlushMenus();

  const int in_fd_;
  const int out_fd_;
  TerminalSettings* waiting_settings_ = nullptr;  // a modeless dialog the loop serves next
  const bool in_is_tty_;                          // asked once: a hung-up terminal may no longer say
  std::deque<TermInput> queue_;
  std::optional<Clock::time_point> escape_deadline_;
  bool input_ended_ = false;
  std::unique_ptr<Dialogs> boxes_;
  PosixFileSystem fs_;  // for completing typed paths
};

}  // namespace krv
