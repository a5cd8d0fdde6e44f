// Win32 code only: the shared window layer.
#include "ui/win32/Window_win32.h"

#include <cwchar>

#include "ui/MenuView.h"

namespace krv::win32 {

namespace {

bool g_busy = false;

POINT ScreenDpi() {
  static const POINT dpi = [] {
    HDC dc = GetDC(nullptr);
    POINT p{dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96, dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96};
    if (dc) ReleaseDC(nullptr, dc);
    return p;
  }();
  return dpi;
}

}  // namespace

int SystemDpi() { return ScreenDpi().y; }
int TwipsAtDpi(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

int TwipsToPixelsX(int twips) { return MulDiv(twips, ScreenDpi().x, 1440); }
int TwipsToPixelsY(int twips) { return MulDiv(twips, ScreenDpi().y, 1440); }
int PixelsToTwipsX(int pixels) { return MulDiv(pixels, 1440, ScreenDpi().x); }
int PixelsToTwipsY(int pixels) { return MulDiv(pixels, 1440, ScreenDpi().y); }

RECT TwipsToPixels(const RECT& twips) {
  return {TwipsToPixelsX(twips.left), TwipsToPixelsY(twips.top), TwipsToPixelsX(twips.right),
          TwipsToPixelsY(twips.bottom)};
}

RECT PlaceInParent(HWND child) {
  RECT rc = {};
  GetWindowRect(child, &rc);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

RECT CenteredFrame(int client_width_twips, int client_height_twips, DWORD style, DWORD ex_style) {
  RECT rc = {0, 0, TwipsToPixelsX(client_width_twips), TwipsToPixelsY(client_height_twips)};
  AdjustWindowRectEx(&rc, style, FALSE, ex_style);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  return {x, y, x + w, y + h};
}

int32_t ShiftState(UINT message, LPARAM lparam) {
  int32_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftBit;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlBit;
  if ((message == WM_SYSKEYDOWN && (lparam & (1 << 29))) || GetKeyState(VK_MENU) < 0) shift |= kAltBit;
  return shift;
}

HCURSOR LoadPointer(Pointer pointer) { return LoadCursorW(nullptr, MAKEINTRESOURCEW(static_cast<int>(pointer))); }

void SetBusy(bool busy) { g_busy = busy; }
bool IsBusy() { return g_busy; }

LRESULT SetBusyPointer(Pointer idle) {
  SetCursor(LoadPointer(g_busy ? Pointer::kWait : idle));
  return TRUE;
}

void RegisterWindowClass(const WindowClass& cls) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  if (GetClassInfoExW(instance, cls.name, &wc)) return;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = cls.proc;
  wc.hInstance = instance;
  wc.hIcon = cls.icon_id ? LoadIconW(instance, MAKEINTRESOURCEW(cls.icon_id)) : nullptr;
  wc.hCursor = cls.arrow ? LoadPointer(Pointer::kArrow) : nullptr;
  wc.hbrBackground = cls.background;
  wc.lpszClassName = cls.name;
  RegisterClassExW(&wc);
}

HWND CreateWindowFrom(const CreateArgs& a) {
  return CreateWindowExW(a.ex_style, a.cls, a.text.c_str(), a.style, a.pixels.left, a.pixels.top,
                         a.pixels.right - a.pixels.left, a.pixels.bottom - a.pixels.top, a.parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(a.id)), GetModuleHandleW(nullptr), a.object);
}

void* BoundObject(HWND hwnd, UINT message, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  void* object = reinterpret_cast<void*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  return object;
}

UniqueFont MakeFont(const wchar_t* face, int points, bool bold, int dpi) {
  LOGFONTW lf = {};
  lf.lfHeight = -MulDiv(points, dpi, 72);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return UniqueFont(CreateFontIndirectW(&lf));
}

int IconPixels(int dpi) { return TwipsAtDpi(480, dpi); }

UniqueIcon LoadIconResource(int id, int pixels) {
  return UniqueIcon(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, pixels, pixels, LR_DEFAULTCOLOR)));
}

HBITMAP LoadResourceBitmap(std::string_view name) {
  return static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), Wide(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
  BITMAP bm = {};
  if (!GetObjectW(bitmap, sizeof bm, &bm)) return;
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(src, bitmap);
  BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
}

void DrawArtBitmap(HDC dc, HBITMAP bitmap, int dpi) {
  BITMAP bm = {};
  if (!GetObjectW(bitmap, sizeof bm, &bm)) return;
  const int width = MulDiv(bm.bmWidth, dpi, 96), height = MulDiv(bm.bmHeight, dpi, 96);
  if (width == bm.bmWidth && height == bm.bmHeight) return DrawBitmap(dc, bitmap);
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(src, bitmap);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, 0, 0, width, height, src, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
}

int ApplyDpiChange(HWND hwnd, int old_dpi, WPARAM wparam, LPARAM lparam, std::initializer_list<FontSwap> fonts) {
  const int dpi = HIWORD(wparam);
  if (dpi <= 0 || old_dpi <= 0) return old_dpi;
  // All children first, at their new places; then the window around them.
  HDWP moves = BeginDeferWindowPos(8);
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rc = PlaceInParent(child);
    // A combo box is as high as its open list; its window shows only the closed part.
    wchar_t cls[16] = {};
    RECT dropped = {};
    if (GetClassNameW(child, cls, 16) && lstrcmpiW(cls, L"ComboBox") == 0) {
      // Not every implementation reports success here: the rectangle tells.
      SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
      if (dropped.bottom - dropped.top > rc.bottom - rc.top) rc.bottom = rc.top + (dropped.bottom - dropped.top);
    }
    const auto scale = [&](LONG v) { return MulDiv(v, dpi, old_dpi); };
    if (moves) {
      moves = DeferWindowPos(moves, child, nullptr, scale(rc.left), scale(rc.top), scale(rc.right) - scale(rc.left),
                             scale(rc.bottom) - scale(rc.top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    for (const FontSwap& swap : fonts) {
      if (font && font == swap.from) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(swap.to), FALSE);
    }
  }
  if (moves) EndDeferWindowPos(moves);
  if (const auto* suggested = reinterpret_cast<const RECT*>(lparam)) {
    SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return dpi;
}

bool RunModal(HWND window, HWND owner) {
  const bool owner_was_enabled = owner && !EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  bool quit = false;
  MSG msg;
  while (IsWindow(window)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      quit = true;
      break;
    }
    const bool ours = msg.hwnd == window || IsChild(window, msg.hwnd);
    if (ours && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      PostMessageW(window, WM_CLOSE, 0, 0);
      continue;
    }
    if (ours && IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (owner_was_enabled) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  if (IsWindow(window)) DestroyWindow(window);
  return !quit;
}

}  // namespace krv::win32
