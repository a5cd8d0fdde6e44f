// Win32 code only: the standard controls of our windows, placed in twips,
// and the tooltips over them.
#pragma once

#include <string>

#include "platform/win32/Win32Util_win32.h"

namespace krv::win32 {

// Registers the common controls (standard, bars, tooltips, lists) the first
// time; the UI host does it before any window exists.
void InitCommonControlsOnce();

struct Control {
  int id = 0;
  std::string text{};
  DWORD style = 0;  // WS_CHILD and WS_CLIPSIBLINGS are always added
  DWORD ex_style = 0;
  RECT twips = {};  // left, top, right, bottom in the parent's client area
  HFONT font = nullptr;
};

// A child of `parent` of the window class `cls`; nullptr when refused.
HWND AddControl(HWND parent, const wchar_t* cls, const Control& control);
HWND AddStatic(HWND parent, const Control& control);
HWND AddButton(HWND parent, const Control& control);
HWND AddEdit(HWND parent, const Control& control);  // with a sunken edge

std::string TextOf(HWND hwnd);
void SetText(HWND hwnd, const std::string& text);
void SetFont(HWND hwnd, HFONT font);
// The size in pixels of `text` on one line in `font`, as drawn in `hwnd`.
SIZE TextSize(HWND hwnd, HFONT font, const std::string& text);

// The tooltip window of one top-level window; it goes with its owner.
class Tooltips {
 public:
  explicit Tooltips(HWND owner);
  // Shows `text` while the mouse rests over `tool`, a child of the owner.
  void Add(HWND tool, const std::string& text);
  HWND Handle() const { return tip_; }

 private:
  HWND owner_;
  HWND tip_;
};

}  // namespace krv::win32
