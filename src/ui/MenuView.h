// The start menu's window as its form logic sees it: a view the platform
// draws (a real window on Windows, the terminal on POSIX) and the events it
// reports back. The view holds no behaviour of its own; highlighting,
// countdown, keys and the context menu's effects are decided by the form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/WindowSystem.h"
#include "ui/pSkin.h"

namespace krv {

inline constexpr char kMenuCaption[] = "KORVELLA II.5";
inline constexpr int32_t kMenuItemCount = 6;

// Geometry in twips (15 twips a pixel at 96 dpi).
inline constexpr int32_t kMenuClientWidth = 2115;
inline constexpr int32_t kMenuClientHeight = 3885;
inline constexpr int32_t kMenuLabelLeft = 840;
inline constexpr int32_t kMenuLabelTop = 180;  // of item 0
inline constexpr int32_t kMenuLabelPitch = 660;
inline constexpr int32_t kMenuLabelHeight = 195;
inline constexpr int32_t kMenuCountLeft = 1800;
inline constexpr int32_t kTwipsPerPixel = 15;

inline constexpr int32_t MenuLabelTop(int32_t item) { return kMenuLabelTop + item * kMenuLabelPitch; }

struct MenuItemText {
  const char* caption;       // '&' marks the mnemonic
  const char* tooltip;       // of the label
  const char* icon_tooltip;  // of both icons
};

inline constexpr MenuItemText kMenuItems[kMenuItemCount] = {
    {"K&ORVELLA", "KORVELLA starten", "KORVELLA starten"},
    {"&Browser", "KORVELLA Browser starten", "KORVELLA Browser starten"},
    {"&VersionsInfo", "VersionsInfo starten", "VersionsInfo starten"},
    {"&Kompressor", "Kompressionsprogramm starten", "Kompressionsprogramm starten"},
    {"&Einstellungen", "Einstellungen vornehmen", "Einstellungen vornehmen (Admin-Rechte erforderlich)"},
    {"&Abbrechen", "Formular schließen", "Formular schließen"},
};

inline constexpr char kMenuAutoUnloadText[] = "Autom. entladen";
inline constexpr char kMenuSkinText[] = "Skin";
inline constexpr const char* kMenuSkinNames[3] = {"(Aus)", "Blau", "Grau"};

// The form's two timers.
enum class MenuTimer : int32_t { kRun = 1, kCount = 2 };

// Mouse buttons as the form counts them.
inline constexpr int16_t kLeftButton = 1;
inline constexpr int16_t kRightButton = 2;

// Key codes (Windows virtual keys) and the shift-state bits of KeyDown.
enum MenuKey : int32_t {
  kKeyTab = 9,
  kKeyEnter = 13,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyUp = 38,
  kKeyDown = 40,
};
inline constexpr int32_t kShiftBit = 1;
inline constexpr int32_t kCtrlBit = 2;
inline constexpr int32_t kAltBit = 4;

// Why a window is being closed (the form's QueryUnload modes).
enum UnloadMode : int32_t {
  kUnloadByUser = 0,     // close box, system menu, Alt+F4, end of the terminal session
  kUnloadByCode = 1,     // the program unloads the form
  kUnloadByWindows = 2,  // Windows session ending
  kUnloadByTaskList = 3,
  kUnloadByOwner = 5,
};

// What the view reports; the form implements it. A view never calls back
// after Close().
class MenuEvents {
 public:
  virtual ~MenuEvents() = default;
  virtual void KeyDown(int32_t key_code, int32_t shift) = 0;
  // The mouse moved over item `index`'s label, its first or its second icon.
  virtual void LabelMouseMove(int32_t index) = 0;
  virtual void Icon1MouseMove(int32_t index) = 0;
  virtual void Icon2MouseMove(int32_t index) = 0;
  virtual void LabelMouseDown(int32_t index, int16_t button) = 0;
  // A press and release over the same label, whatever the button.
  virtual void LabelClick(int32_t index) = 0;
  virtual void Icon1Click(int32_t index) = 0;
  // A button released over the form's background (no item under it).
  virtual void BackgroundMouseUp(int16_t button) = 0;
  // The focus holder of item `index` got the focus, or was pressed (space, enter).
  virtual void FakeGotFocus(int32_t index) = 0;
  virtual void FakeClick(int32_t index) = 0;
  virtual void Timer(MenuTimer timer) = 0;
  // Entries chosen in the context menu.
  virtual void ContextAutoUnload() = 0;
  virtual void ContextSkin(int32_t skin) = 0;
  // The user, the task list or Windows closes the window; the view destroys
  // it afterwards unless the form has already unloaded itself.
  virtual void QueryUnload(UnloadMode mode) = 0;
  // The program was activated or deactivated where no window subclassing
  // exists (the terminal's focus reports); Windows delivers WM_ACTIVATEAPP
  // through subclassing instead.
  virtual void AppActivated(bool active) = 0;
};

class MenuView {
 public:
  virtual ~MenuView() = default;

  // The window for subclassing; 0 where there is none (terminal).
  virtual WindowHandle Handle() const = 0;
  // Outer size of the window in twips, and its placement (screen twips).
  virtual int32_t WidthTwips() const = 0;
  virtual int32_t HeightTwips() const = 0;
  virtual void Move(int32_t left_twips, int32_t top_twips) = 0;
  virtual void Show() = 0;
  virtual bool IsVisible() const = 0;
  // Destroys the window; no event arrives afterwards. Safe to call from
  // inside an event of this view and more than once.
  virtual void Close() = 0;

  // Keyboard focus to the focus holder of `index`; false when the focus
  // cannot be given (the window is not shown yet).
  virtual bool FocusItem(int32_t index) = 0;
  // Text colour (0x00BBGGRR or a system colour, see pSkin) and weight of a
  // label, and whether its second icon shows.
  virtual void SetItemLook(int32_t index, uint32_t color, bool bold, bool second_icon_visible) = 0;
  // The countdown label: text, visibility, and the item whose label top it takes.
  virtual void SetCountText(const std::string& text) = 0;
  virtual void SetCountVisible(bool visible) = 0;
  virtual void MoveCountToItem(int32_t index) = 0;
  // Background picture (none: plain button face) and the icons' background colour.
  virtual void SetBackground(const std::optional<SkinBitmap>& picture) = 0;
  virtual void SetIconBackColor(uint32_t color) = 0;

  // Arms `timer` to fire every `interval_ms`; 0 disarms it.
  virtual void SetTimer(MenuTimer timer, int32_t interval_ms) = 0;
  // Shows the context menu at the mouse with the given check marks; a
  // choice arrives as ContextAutoUnload or ContextSkin (perhaps before this returns).
  virtual void ShowContextMenu(bool auto_unload_checked, int32_t skin_checked) = 0;
};

}  // namespace krv
