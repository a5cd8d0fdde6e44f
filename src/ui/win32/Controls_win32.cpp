// Win32 code only: standard controls and tooltips.
#include "ui/win32/Controls_win32.h"

#include <commctrl.h>

#include "ui/win32/Window_win32.h"

namespace krv::win32 {

void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

HWND AddControl(HWND parent, const wchar_t* cls, const Control& c) {
  HWND hwnd = CreateWindowFrom({.cls = cls,
                                .text = Wide(c.text),
                                .style = WS_CHILD | WS_CLIPSIBLINGS | c.style,
                                .ex_style = c.ex_style,
                                .pixels = TwipsToPixels(c.twips),
                                .parent = parent,
                                .id = c.id});
  if (hwnd && c.font) SetFont(hwnd, c.font);
  return hwnd;
}

HWND AddStatic(HWND parent, const Control& c) { return AddControl(parent, L"STATIC", c); }
HWND AddButton(HWND parent, const Control& c) { return AddControl(parent, L"BUTTON", c); }

HWND AddEdit(HWND parent, const Control& c) {
  Control sunken = c;
  sunken.ex_style |= WS_EX_CLIENTEDGE;
  return AddControl(parent, L"EDIT", sunken);
}

std::string TextOf(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void SetText(HWND hwnd, const std::string& text) { SetWindowTextW(hwnd, Wide(text).c_str()); }

void SetFont(HWND hwnd, HFONT font) { SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE); }

SIZE TextSize(HWND hwnd, HFONT font, const std::string& text) {
  const std::wstring wide = Wide(text);
  SIZE size = {};
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, font);
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return size;
}

Tooltips::Tooltips(HWND owner)
    : owner_(owner),
      tip_(CreateWindowFrom({.cls = TOOLTIPS_CLASSW,
                             .style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             .ex_style = WS_EX_TOPMOST,
                             .parent = owner})) {}

void Tooltips::Add(HWND tool, const std::string& text) {
  std::wstring wide = Wide(text);
  TOOLINFOW ti = {};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every comctl32 version
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = owner_;
  ti.uId = reinterpret_cast<UINT_PTR>(tool);
  ti.lpszText = wide.data();
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace krv::win32
