// A UI host and start-menu view for tests: the view records what the form
// asked it to show, and the host runs the timers on a virtual clock.
#pragma once

#include <array>
#include <map>
#include <stdexcept>

#include "testing/FakeProgressWindow.h"
#include "testing/FakeSettingsViews.h"
#include "ui/UiHost.h"

namespace krv {

class FakeUiHost;

class FakeMenuView final : public MenuView {
 public:
  struct Look {
    uint32_t color = 0;
    bool bold = false;
    bool second_icon = true;
  };
  struct Timer {
    int32_t interval = 0;
    int64_t due = 0;
  };

  FakeMenuView(FakeUiHost& host, MenuEvents& events, WindowHandle handle)
      : host_(host), events_(&events), handle_(handle) {}
  ~FakeMenuView() override;

  WindowHandle Handle() const override { return handle_; }
  int32_t WidthTwips() const override { return 2205; }
  int32_t HeightTwips() const override { return 4290; }
  void Move(int32_t left_twips, int32_t top_twips) override {
    left = left_twips;
    top = top_twips;
  }
  void Show() override { shown = !closed; }
  bool IsVisible() const override { return shown && !closed; }
  void Close() override {
    closed = true;
    events_ = nullptr;
    timers.clear();
  }
  bool FocusItem(int32_t index) override {
    if (!IsVisible()) return false;
    if (echo_focus && events_) events_->FakeGotFocus(index);  // as Windows reports a focus change at once
    return true;
  }
  void SetItemLook(int32_t index, uint32_t color, bool bold, bool second_icon_visible) override {
    looks.at(static_cast<size_t>(index)) = {color, bold, second_icon_visible};
  }
  void SetCountText(const std::string& text) override {
    count_text = text;
    if (count_visible) count_seen.push_back(text);
  }
  void SetCountVisible(bool visible) override {
    if (visible && !count_visible) count_seen.push_back(count_text);
    count_visible = visible;
  }
  void MoveCountToItem(int32_t index) override { count_item = index; }
  void SetBackground(const std::optional<SkinBitmap>& picture) override { background = picture; }
  void SetIconBackColor(uint32_t color) override { icon_back = color; }
  void SetTimer(MenuTimer timer, int32_t interval_ms) override;
  void ShowContextMenu(bool auto_unload_checked, int32_t skin_checked) override {
    context_menus.push_back({auto_unload_checked, skin_checked});
  }

  MenuEvents* events() const { return events_; }

  std::array<Look, kMenuItemCount> looks{};
  std::string count_text;
  bool count_visible = false;
  std::vector<std::string> count_seen;  // every text the countdown label showed, in order
  int32_t count_item = -1;
  std::optional<SkinBitmap> background;
  uint32_t icon_back = 0;
  bool echo_focus = false;
  bool shown = false;
  bool closed = false;
  int32_t left = 0;
  int32_t top = 0;
  struct ContextMenu {
    bool auto_unload;
    int32_t skin;
  };
  std::vector<ContextMenu> context_menus;
  std::map<MenuTimer, Timer> timers;

 private:
  FakeUiHost& host_;
  MenuEvents* events_;
  WindowHandle handle_;
};

class FakeUiHost final : public UiHost {
 public:
  std::unique_ptr<MenuView> CreateMenuView(MenuEvents& events) override {
    auto view = std::make_unique<FakeMenuView>(*this, events, windows ? next_handle_++ : 0);
    if (on_window_created && view->Handle()) on_window_created(view->Handle());
    view->echo_focus = echo_focus;
    views.push_back(view.get());
    return view;
  }
  std::unique_ptr<ProgressWindow> CreateProgressWindow() override {
    return std::make_unique<FakeProgressWindow>(&progress);
  }
  TwipsPoint CursorPosition() override { return cursor; }
  TwipsPoint ScreenSize() override { return {19200, 14400}; }
  void SetBusyCursor(bool on) override { busy = on; }
  void DoEvents() override {}
  void Wait(int32_t ms) override { Advance(ms); }
  // Runs the scripted user actions, then lets the clock run to each next
  // timer; returns when done, or when nothing could ever happen any more.
  void RunLoop(const std::function<bool()>& done) override {
    while (!done()) {
      if (script.empty()) {
        const std::optional<int64_t> next = NextDue();
        if (!next) return;
        Advance(*next - now);
      } else {
        auto step = std::move(script.front());
        script.erase(script.begin());
        step();
      }
    }
  }
  WindowSystem* Windows() override { return windows; }

  // Moves the virtual clock on by `ms`, firing every timer that falls due.
  void Advance(int64_t ms) {
    const int64_t until = now + ms;
    for (std::optional<int64_t> next; (next = NextDue()) && *next <= until;) {
      now = *next;
      FireDue();
    }
    now = until;
  }

  FakeMenuView* LastView() const { return views.empty() ? nullptr : views.back(); }
  void Forget(FakeMenuView* view) { std::erase(views, view); }

  int64_t now = 0;
  TwipsPoint cursor{6000, 6000};
  bool busy = false;
  FakeProgressWindow::Log progress;
  bool echo_focus = false;
  WindowSystem* windows = nullptr;
  std::function<void(WindowHandle)> on_window_created;  // lets a fake window system know the window
  std::vector<std::function<void()>> script;
  std::vector<FakeMenuView*> views;  // alive ones

  // The text window records what it was asked to show and gives the set
  // answer, or fails as an unexpected error would.
  bool ShowTextWindow(const TextWindowArgs& args) override {
    text_windows.push_back(args);
    if (text_window_fails) throw std::runtime_error("text window");
    return text_window_answer;
  }
  std::vector<TextWindowArgs> text_windows;
  bool text_window_answer = true;
  bool text_window_fails = false;
  // ---- settings dialog and registry permission notice
  std::unique_ptr<SettingsView> CreateSettingsView(SettingsEvents& events) override {
    auto view = std::make_unique<FakeSettingsView>(events);
    view->on_modal = on_settings_modal;
    view->file_choice = settings_file_choice;
    settings_view = view.get();
    return view;
  }
  std::unique_ptr<RegPermissionView> CreateRegPermissionView(RegPermissionEvents& events) override {
    auto view = std::make_unique<FakeRegPermissionView>(events);
    reg_permission_view = view.get();
    return view;
  }
  std::function<void(FakeSettingsView&)> on_settings_modal;
  std::optional<std::string> settings_file_choice;
  FakeSettingsView* settings_view = nullptr;  // the last one made; it may be gone
  FakeRegPermissionView* reg_permission_view = nullptr;

 private:
  WindowHandle next_handle_ = 0x1000;
  std::optional<int64_t> NextDue() const {
    std::optional<int64_t> next;
    for (const FakeMenuView* v : views) {
      for (const auto& [id, t] : v->timers) {
        if (!next || t.due < *next) next = t.due;
      }
    }
    return next;
  }
  // Fires the timers due now, the count timer before the run timer.
  void FireDue() {
    for (size_t k = 0; k < views.size(); ++k) {
      FakeMenuView* v = views[k];
      for (MenuTimer id : {MenuTimer::kCount, MenuTimer::kRun}) {
        auto it = v->timers.find(id);
        if (it == v->timers.end() || it->second.due != now) continue;
        it->second.due += it->second.interval;
        if (MenuEvents* e = v->events()) e->Timer(id);
        if (k >= views.size() || views[k] != v) return;  // the view went during the event
      }
    }
  }
};

inline FakeMenuView::~FakeMenuView() { host_.Forget(this); }

inline void FakeMenuView::SetTimer(MenuTimer timer, int32_t interval_ms) {
  if (interval_ms <= 0 || closed) {
    timers.erase(timer);
  } else {
    timers[timer] = {interval_ms, host_.now + interval_ms};
  }
}

}  // namespace krv
