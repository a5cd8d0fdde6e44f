// Win32 code only: the start menu's real window. A fixed top-level window
// with STATIC labels, two icon pictures per item, out-of-sight focus buttons
// and a countdown label; it draws what the form tells it and reports mouse,
// keys, timers and closing to the form's MenuEvents.
#pragma once

#include <memory>
#include <string_view>

#include "platform/win32/Win32Util_win32.h"
#include "ui/MenuView.h"

namespace krv::win32 {

// Control ids of the window's children (GetDlgItem); item i has base + i.
inline constexpr int kMenuLabelId = 100;
inline constexpr int kMenuIcon1Id = 200;
inline constexpr int kMenuIcon2Id = 300;
inline constexpr int kMenuFakeId = 400;
inline constexpr int kMenuCountId = 500;

// Icon resources of krv25.rc: the program, the item icons and their dimmed forms.
inline constexpr int kProgramIconId = 1;
inline constexpr int kItemIconId = 100;
inline constexpr int kItemDimIconId = 110;

// Twips and pixels at the screen's resolution (x horizontally, y vertically).
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

// A bitmap resource of this program with its own colour depth kept (a DIB
// section); nullptr when the program has no such resource. The caller owns it.
HBITMAP LoadResourceBitmap(std::string_view name);

// A new hidden start-menu window reporting to `events`; it has no window when
// the system refuses one (Handle() is 0 then and every call does nothing).
std::unique_ptr<MenuView> NewMenuWindow(MenuEvents& events);

// The hourglass over every menu window while the starter works.
void SetMenuBusyCursor(bool busy);

}  // namespace krv::win32
