// Win32 code only: the modal text window, a real window with the text in a
// read-only multi-line box with scroll bars and the buttons OK and
// "Abbrechen". Escape and the title bar's close button decline.
#pragma once

#include "ui/TextWindow.h"

namespace krv::win32 {

inline constexpr wchar_t kTextWindowClass[] = L"KrvTextWindow";
inline constexpr int kTextWindowEditId = 100;  // the text box; OK and Abbrechen are IDOK and IDCANCEL

// Shows the window modal over `args.owner` until it is answered; true for OK.
bool RunTextWindow(const TextWindowArgs& args);

}  // namespace krv::win32
