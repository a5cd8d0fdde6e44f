// The start menu: six items (KORVELLA, browser, version information,
// compressor, settings, close), chosen by mouse, keyboard or a countdown,
// with a context menu for auto-unload and the skin. The logic lives here;
// the platform's MenuView draws it and reports the user's actions.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "menu/MenuHost.h"
#include "ui/Forms.h"
#include "ui/MenuView.h"
#include "ui/mSubclass.h"
#include "ui/pSkin.h"

namespace krv {

inline constexpr char kMenuFormName[] = "frmMenu";
inline constexpr char kSettingsFormName[] = "frmControl";
inline constexpr uint32_t kWmActivateApp = 28;

class frmMenu final : public Form, public MenuEvents, public IkrvLibSubclass {
 public:
  explicit frmMenu(MenuHost& host);
  ~frmMenu() override;

  // Form_Load: creates the window (hidden), reads the preferences, applies
  // the skin. The window shows with Show().
  void Load();
  MenuView& View() { return *view_; }

  void pubActiveItem(int32_t index);
  // >0 counts down that many seconds, 0 runs the active item at once, <0 no automatic start.
  void pubStartTimer(int32_t seconds);
  // Carries out item `index`; -1 the active item.
  void Run(int32_t index);

  int32_t ActiveItem() const { return active_item_; }
  int32_t Remaining() const { return remaining_; }
  int16_t LastButton() const { return last_button_; }
  bool AutoUnload() const { return auto_unload_; }
  int32_t SkinNumber() const { return skin_ ? skin_->Skin() : 0; }
  bool CountdownRunning() const { return count_enabled_; }

  // Form
  std::string_view Name() const override { return kMenuFormName; }
  bool Loaded() const override { return loaded_; }
  void Unload() override { UnloadForm(); }

  // MenuEvents
  void KeyDown(int32_t key_code, int32_t shift) override;
  void LabelMouseMove(int32_t index) override { HighlightItem(index, false); }
  void Icon1MouseMove(int32_t) override { StopCountdown(); }
  void Icon2MouseMove(int32_t index) override { HighlightItem(index, false); }
  void LabelMouseDown(int32_t index, int16_t button) override;
  void LabelClick(int32_t index) override;
  void Icon1Click(int32_t index) override { Run(index); }
  void BackgroundMouseUp(int16_t button) override { PopupMenu(button); }
  void FakeGotFocus(int32_t index) override;
  void FakeClick(int32_t index) override { LabelClick(index); }
  void Timer(MenuTimer timer) override;
  void ContextAutoUnload() override;
  void ContextSkin(int32_t skin) override;
  void QueryUnload(UnloadMode mode) override;
  void AppActivated(bool active) override;

  // IkrvLibSubclass: the previous procedure runs after this handler.
  int32_t MsgResponse() const override { return kMsgPostProcess; }
  void SetMsgResponse(int32_t) override {}
  std::intptr_t WindowProc(WindowHandle hwnd, uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) override;

 private:
  void HighlightItem(int32_t index, bool force);
  void StopCountdown();
  void PopupMenu(int16_t button);
  void ApplySkin(int32_t skin);
  void RunItem(int32_t index);
  void RunSibling(int32_t index);
  void Deactivated();
  // Form_Unload: timers off, skin released, subclassing detached, window closed.
  void UnloadForm();
  void DisarmTimers();
  // Reports an unexpected error of a named procedure through the message service.
  void ReportError(const char* proc);

  MenuHost& host_;
  std::unique_ptr<MenuView> view_;
  std::unique_ptr<pSkin> skin_;
  int32_t active_item_ = -1;
  int32_t remaining_ = 0;
  int16_t last_button_ = kLeftButton;
  bool auto_unload_ = true;
  bool stop_asked_ = false;  // StopCountdown was asked once while counting
  bool count_enabled_ = false;
  bool run_enabled_ = false;
  bool loaded_ = false;
  bool attached_ = false;
  bool highlighting_ = false;
};

// LoWord of a message parameter as a signed 16-bit number.
int16_t LoWord(std::uintptr_t value);

}  // namespace krv
