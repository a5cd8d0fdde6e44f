// Win32 code only: the window system of window subclassing over the real
// window procedure and window property functions.
#pragma once

#include "ui/WindowSystem.h"

namespace krv::win32 {

// The process's one instance: window procedures are process-wide, so is the
// procedure that routes subclassed windows' messages to the dispatcher.
WindowSystem& SubclassWindows();

}  // namespace krv::win32
