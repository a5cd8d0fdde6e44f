// Win32 code only: the start menu's real window. A fixed top-level window
// with STATIC labels, two icon pictures per item, out-of-sight focus buttons
// and a countdown label; it draws what the form tells it and reports mouse,
// keys, timers and closing to the form's MenuEvents.
#pragma once

#include <memory>

#include "ui/MenuView.h"
#include "ui/win32/Window_win32.h"

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

// A new hidden start-menu window reporting to `events`; it has no window when
// the system refuses one (Handle() is 0 then and every call does nothing).
std::unique_ptr<MenuView> NewMenuWindow(MenuEvents& events);

}  // namespace krv::win32
