// POSIX only: the start menu in the terminal. On a terminal it draws a box
// in the alternate screen with the terminal in raw mode and mouse and focus
// reports on, and gives the terminal back as it found it when it closes, when
// the process ends and on SIGTERM, SIGHUP and SIGINT. Without a terminal on
// both sides it prints the items once as a list and every countdown change as
// a line, and reads plain key bytes.
#pragma once

#include <array>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/posix/TerminalInput_posix.h"
#include "ui/MenuView.h"

namespace krv {

// While something else talks to the user on the terminal (a message box),
// shown menus give up their terminal state: cooked mode, main screen, cursor
// shown, no mouse or focus reports. Resume takes it back and redraws. Nested
// calls count.
void SuspendTerminalMenus();
void ResumeTerminalMenus();
bool TerminalMenusSuspended();

// Signals that arrived while a menu was shown: the read end of a pipe that
// becomes readable on each, and what it said since the last call.
struct TerminalSignals {
  bool resized = false;
  int close_signal = 0;  // SIGINT, SIGHUP or SIGTERM; 0 if none
};
int TerminalSignalFd();
TerminalSignals TakeTerminalSignals();

class TerminalMenu final : public MenuView {
 public:
  using Clock = std::chrono::steady_clock;

  // `owner` only tells the menus of one host apart; it is never used.
  TerminalMenu(const void* owner, MenuEvents& events, int in_fd = 0, int out_fd = 1);
  ~TerminalMenu() override;
  TerminalMenu(const TerminalMenu&) = delete;
  TerminalMenu& operator=(const TerminalMenu&) = delete;

  WindowHandle Handle() const override { return 0; }
  int32_t WidthTwips() const override { return kMenuClientWidth + 90; }
  int32_t HeightTwips() const override { return kMenuClientHeight + 405; }
  void Move(int32_t, int32_t) override {}  // the terminal centres the box
  void Show() override;
  bool IsVisible() const override { return shown_ && !closed_; }
  void Close() override;
  bool FocusItem(int32_t index) override;
  void SetItemLook(int32_t index, uint32_t color, bool bold, bool second_icon_visible) override;
  void SetCountText(const std::string& text) override;
  void SetCountVisible(bool visible) override;
  void MoveCountToItem(int32_t index) override;
  void SetBackground(const std::optional<SkinBitmap>& picture) override;
  void SetIconBackColor(uint32_t color) override;
  void SetTimer(MenuTimer timer, int32_t interval_ms) override;
  void ShowContextMenu(bool auto_unload_checked, int32_t skin_checked) override;

  // For the host's event loop.
  const void* owner() const { return owner_; }
  int in_fd() const { return in_fd_; }
  // Both sides are terminals: drawn, raw mode; otherwise plain lines.
  bool interactive() const { return interactive_; }
  void HandleInput(const TermInput& in);
  // The user (or the system, SIGTERM) closes the menu: QueryUnload, then
  // Close unless the form has closed it.
  void UserClose(UnloadMode mode);
  // Draws what changed since the last call; Redraw starts from a clear screen.
  void FlushDrawing();
  void Redraw();
  std::optional<Clock::time_point> NextTimerDue() const;
  // Fires the earliest timer if it is due at `now`.
  void FireDueTimer(Clock::time_point now);

  // Every live menu of the process, in the order they were shown.
  static const std::vector<TerminalMenu*>& All();

  struct Cell;

 private:
  struct Item {
    uint32_t color = kSystemColorFlag | 17;
    bool bold = false;
    bool second_icon = true;
    std::string tooltip;
  };
  struct Hit {
    enum Part { kNone, kOutside, kBackground, kLabel, kIcon } part = kNone;
    int32_t index = -1;
    bool operator==(const Hit&) const = default;
  };
  struct Timer {
    int32_t interval_ms = 0;
    Clock::time_point due;
  };

  // Calls `f` with the events unless closed; false when the menu was closed
  // or destroyed meanwhile, so the caller must stop.
  template <typename F>
  bool Emit(F&& f);
  void HandleKey(const TermInput& in);
  void HandleMouse(const TermInput& in);
  void PopupKey(const TermInput& in);
  void PopupMouse(const TermInput& in);
  void ChoosePopupEntry(int entry);
  void ClosePopup();
  Hit HitTest(int32_t col, int32_t row) const;
  int PopupEntryAt(int32_t col, int32_t row) const;
  void QuerySize();
  void Render(std::vector<Cell>& canvas) const;
  void RenderPopup(std::vector<Cell>& canvas) const;
  void FlushPlain();
  void WriteOut(const std::string& text);
  int32_t TooltipItem() const;

  const void* owner_;
  MenuEvents* events_;
  const int in_fd_;
  const int out_fd_;
  const bool interactive_;
  const bool truecolor_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool shown_ = false;
  bool closed_ = false;
  bool output_broken_ = false;

  std::array<Item, kMenuItemCount> items_;
  int32_t focused_ = -1;
  std::string count_text_;
  bool count_visible_ = false;
  int32_t count_item_ = 0;
  std::string background_;  // resource name of the skin's picture, empty for none
  uint32_t icon_back_ = kSystemColorFlag | 15;
  std::array<Timer, 2> timers_{};

  bool popup_open_ = false;
  bool popup_auto_unload_ = false;
  int32_t popup_skin_ = 0;
  int popup_selected_ = 0;
  int32_t popup_col_ = 0;
  int32_t popup_row_ = 0;

  std::array<Hit, 5> pressed_{};  // by button number 1, 2, 4
  int32_t mouse_col_ = -1;
  int32_t mouse_row_ = -1;
  bool last_input_was_mouse_ = false;

  int32_t cols_ = 80;
  int32_t rows_ = 24;
  std::vector<Cell> shown_cells_;  // what the terminal shows; empty after a clear
  bool dirty_ = false;

  // Plain mode: what was printed last.
  int32_t printed_bold_ = -1;
  std::string printed_count_;
};

}  // namespace krv
