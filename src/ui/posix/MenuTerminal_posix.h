// POSIX only: the start menu on the shared terminal. On a terminal it draws
// a box in the middle of the screen; without one it prints the items once as
// a list and every countdown change as a line.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/MenuView.h"
#include "ui/posix/Terminal_posix.h"

namespace krv {

// While something else talks to the user on the terminal (a message box),
// shown menus give up their terminal state: cooked mode, main screen, cursor
// shown, no mouse or focus reports. Resume takes it back and redraws. Nested
// calls count.
void SuspendTerminalMenus();
void ResumeTerminalMenus();
bool TerminalMenusSuspended();

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
  bool interactive() const { return terminal_.interactive(); }
  Terminal& terminal() { return terminal_; }
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
  void Render();
  void RenderPopup();
  void FlushPlain();
  int32_t TooltipItem() const;

  const void* owner_;
  MenuEvents* events_;
  Terminal terminal_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool shown_ = false;
  bool closed_ = false;

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

  bool dirty_ = false;

  // Plain mode: what was printed last.
  int32_t printed_bold_ = -1;
  std::string printed_count_;
};

}  // namespace krv
