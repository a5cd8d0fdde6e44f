// POSIX only: the event loop of the terminal start menu.
#include "ui/posix/UiHost_posix.h"

#include <errno.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <utility>

#include "ui/posix/RegPermissionTerminal_posix.h"
#include "ui/posix/SettingsTerminal_posix.h"
#include "ui/posix/TextWindow_posix.h"

namespace krv {

std::unique_ptr<UiHost> CreateUiHost() { return std::make_unique<PosixUiHost>(); }

namespace {

// Gives a shown terminal menu's screen back for the question and takes it
// again afterwards.
class MenuAwareDialogs final : public Dialogs {
 public:
  explicit MenuAwareDialogs(Dialogs& inner) : inner_(inner) {}
  int MessageBox(const std::string& text, const std::string& caption, int style) override {
    SuspendTerminalMenus();
    const int answer = inner_.MessageBox(text, caption, style);
    ResumeTerminalMenus();
    return answer;
  }

 private:
  Dialogs& inner_;
};

}  // namespace

Dialogs& PosixUiHost::MessageBoxes(Dialogs& inner) {
  boxes_ = std::make_unique<MenuAwareDialogs>(inner);
  return *boxes_;
}

PosixUiHost::PosixUiHost(int in_fd, int out_fd) : in_fd_(in_fd), out_fd_(out_fd), in_is_tty_(isatty(in_fd) == 1) {}

std::unique_ptr<MenuView> PosixUiHost::CreateMenuView(MenuEvents& events) {
  return std::make_unique<TerminalMenu>(this, events, in_fd_, out_fd_);
}

void PosixUiHost::DoEvents() {
  // Bounded, so a flood of input cannot keep the caller waiting.
  for (int i = 0; i < 1000 && PumpOnce(Clock::now()); ++i) {
  }
  FlushMenus();
}

void PosixUiHost::Wait(int32_t ms) {
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(std::max(0, ms));
  while (Clock::now() < until) PumpOnce(until);
  FlushMenus();
}

void PosixUiHost::RunLoop(const std::function<bool()>& done) {
  while (!done()) {
    if (TerminalSettings* dialog = std::exchange(waiting_settings_, nullptr)) {
      dialog->Serve();  // a terminal serves one dialog at a time
      continue;
    }
    if (!AnythingCanHappen()) break;
    PumpOnce(std::nullopt);
  }
  FlushMenus();
}

TerminalMenu* PosixUiHost::InputTarget() const {
  const auto& all = TerminalMenu::All();
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    if ((*it)->owner() == this && (*it)->IsVisible()) return *it;
  }
  return nullptr;
}

TerminalMenu* PosixUiHost::EarliestTimer(std::optional<Clock::time_point>* due) const {
  TerminalMenu* earliest = nullptr;
  due->reset();
  for (TerminalMenu* menu : TerminalMenu::All()) {
    if (menu->owner() != this) continue;
    const auto next = menu->NextTimerDue();
    if (next && (!*due || *next < **due)) {
      *due = next;
      earliest = menu;
    }
  }
  return earliest;
}

bool PosixUiHost::AnythingCanHappen() const {
  std::optional<Clock::time_point> due;
  return InputTarget() || EarliestTimer(&due) || !queue_.empty();
}

void PosixUiHost::FlushMenus() {
  for (TerminalMenu* menu : TerminalMenu::All()) {
    if (menu->owner() == this) menu->FlushDrawing();
  }
}

void PosixUiHost::Deliver(const TermInput& in) {
  TerminalMenu* target = InputTarget();
  if (!target) return;
  if (in.type == TermInput::Type::kEndOfInput && !target->interactive() && !in_is_tty_) {
    input_ended_ = true;  // Ctrl+D in a script: end of input, as below
    return;
  }
  target->HandleInput(in);
}

void PosixUiHost::ReadInput() {
  TerminalMenu* target = InputTarget();
  if (!target) return;
  std::vector<TermInput> decoded;
  bool ended = false;
  target->terminal().Read(decoded, &ended);
  escape_deadline_.reset();
  if (target->terminal().Pending()) escape_deadline_ = Clock::now() + std::chrono::milliseconds(kEscapeWaitMs);
  input_ended_ = input_ended_ || ended;
  queue_.insert(queue_.end(), decoded.begin(), decoded.end());
  // The terminal hung up, or its input ended: the user closes the menu. A
  // script's input ends without closing, so a countdown still runs.
  if (ended && in_is_tty_) queue_.push_back(TermInput{TermInput::Type::kInterrupt});
}

bool PosixUiHost::PumpOnce(std::optional<Clock::time_point> until) {
  FlushMenus();
  if (!queue_.empty()) {
    const TermInput in = queue_.front();
    queue_.pop_front();
    Deliver(in);
    return true;
  }
  const Clock::time_point now = Clock::now();
  std::optional<Clock::time_point> timer_due;
  if (TerminalMenu* menu = EarliestTimer(&timer_due); menu && *timer_due <= now) {
    menu->FireDueTimer(now);
    return true;
  }
  TerminalMenu* target = InputTarget();
  if (!until && target && input_ended_ && !timer_due) {
    // The loop would wait forever: input is over and no timer runs, so
    // nothing can choose an item any more. (DoEvents and Wait return
    // instead, since the form may still arm a timer.)
    target->UserClose(kUnloadByUser);
    return true;
  }
  if (escape_deadline_ && *escape_deadline_ <= now) {
    escape_deadline_.reset();
    std::vector<TermInput> decoded;
    if (target) target->terminal().Flush(decoded);
    queue_.insert(queue_.end(), decoded.begin(), decoded.end());
    return true;
  }

  std::optional<Clock::time_point> deadline = until;
  for (const auto& t : {timer_due, escape_deadline_}) {
    if (t && (!deadline || *t < *deadline)) deadline = t;
  }
  int timeout = -1;
  if (deadline) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*deadline - now).count();
    timeout = static_cast<int>(std::clamp<int64_t>(ms, 0, 1 << 30));
  }
  pollfd fds[2] = {{TerminalSignalFd(), POLLIN, 0}, {in_fd_, POLLIN, 0}};
  const bool read_input = target && !input_ended_ && !TerminalMenusSuspended();
  const int ready = poll(fds, read_input ? 2 : 1, timeout);
  if (ready < 0) return errno == EINTR;
  if (ready == 0) return !until || Clock::now() < *until;  // a timer or the escape wait is due

  if (fds[0].revents & POLLIN) {
    const TerminalSignals s = TakeTerminalSignals();
    if (s.resized) {
      for (TerminalMenu* menu : TerminalMenu::All()) {
        if (menu->owner() == this) menu->Redraw();
      }
    }
    if (s.close_signal) {
      if (TerminalMenu* menu = InputTarget())
        menu->UserClose(s.close_signal == SIGTERM ? kUnloadByWindows : kUnloadByUser);
    }
    return true;
  }
  if (read_input && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) ReadInput();
  return true;
}

bool PosixUiHost::ShowTextWindow(const TextWindowArgs& args) {
  // Without a terminal the text goes where message boxes write: standard error.
  return RunTerminalTextWindow(args, in_fd_, out_fd_, out_fd_ == 1 ? 2 : out_fd_);
}

std::unique_ptr<SettingsView> PosixUiHost::CreateSettingsView(SettingsEvents& events) {
  // Plain lines come from the stream the message boxes read.
  return std::make_unique<TerminalSettings>(events, fs_, std::cin, in_fd_, out_fd_, &waiting_settings_);
}

std::unique_ptr<RegPermissionView> PosixUiHost::CreateRegPermissionView(RegPermissionEvents& events) {
  return std::make_unique<TerminalRegPermission>(events, std::cin, in_fd_, out_fd_);
}

}  // namespace krv
