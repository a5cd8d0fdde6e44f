// Win32 code only: the window layer every window of the starter stands on:
// twips at the screen's resolution, window classes with one trampoline per
// class, owned GDI objects and fonts, the busy pointer and a modal loop.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "platform/win32/Win32Util_win32.h"

namespace krv::win32 {

// Twips and pixels at the screen's resolution (x horizontally, y vertically).
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);
RECT TwipsToPixels(const RECT& twips);

// Every window is laid out for the primary screen's DPI when it is created.
// One that is moved to a monitor of another DPI is told so (WM_DPICHANGED)
// and from then on converts at its own DPI.
int SystemDpi();
int TwipsAtDpi(int twips, int dpi);

// Where a child window lies in its parent's client area.
RECT PlaceInParent(HWND child);

// The frame, in screen pixels, of a window with a client area of the given
// twips and the given styles, centred on the primary screen.
RECT CenteredFrame(int client_width_twips, int client_height_twips, DWORD style, DWORD ex_style);

// The shift bits of the form events (Shift, Ctrl, Alt) for a key message now.
int32_t ShiftState(UINT message, LPARAM lparam);

// The system pointers the starter uses.
enum class Pointer { kArrow = 32512, kWait = 32514, kHand = 32649 };
HCURSOR LoadPointer(Pointer pointer);

// The hourglass over every window of ours while the starter works. A window
// class without a cursor of its own answers WM_SETCURSOR with SetBusyPointer.
void SetBusy(bool busy);
bool IsBusy();
// Sets the wait pointer when busy, else `idle`; the WM_SETCURSOR answer (TRUE).
LRESULT SetBusyPointer(Pointer idle);

struct WindowClass {
  const wchar_t* name = nullptr;
  WNDPROC proc = nullptr;
  int icon_id = 0;    // icon resource of this program, 0 for none
  bool arrow = true;  // false: the window sets its pointer itself
  HBRUSH background = nullptr;
};
// Registers the class the first time; later calls with the same name do nothing.
void RegisterWindowClass(const WindowClass& cls);

struct CreateArgs {
  const wchar_t* cls = nullptr;
  std::wstring text{};
  DWORD style = 0;
  DWORD ex_style = 0;
  RECT pixels = {};  // left, top, right, bottom in the parent's client area
  HWND parent = nullptr;
  int id = 0;              // control id of a child
  void* object = nullptr;  // the create parameter: the object of WindowProcOf
};
// The new window, nullptr when the system refuses it.
HWND CreateWindowFrom(const CreateArgs& args);

// The object that created `hwnd` (its create parameter): stored at
// WM_NCCREATE, forgotten at WM_NCDESTROY (which it still receives).
void* BoundObject(HWND hwnd, UINT message, LPARAM lparam);

// The window procedure of a class whose windows belong to a T: each message
// goes to (object->*Handle)(hwnd, message, wparam, lparam). An exception must
// not unwind through the system's frames around us, so it ends there.
template <typename T, LRESULT (T::*Handle)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK WindowProcOf(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = static_cast<T*>(BoundObject(hwnd, message, lparam));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  try {
    return (self->*Handle)(hwnd, message, wparam, lparam);
  } catch (...) {
    return 0;
  }
}

// Owns a GDI object (font, brush, bitmap); DeleteObject when it goes.
template <typename H>
class UniqueGdi {
 public:
  UniqueGdi() = default;
  explicit UniqueGdi(H h) : h_(h) {}
  ~UniqueGdi() { Reset(); }
  UniqueGdi(UniqueGdi&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueGdi& operator=(UniqueGdi&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  UniqueGdi(const UniqueGdi&) = delete;
  UniqueGdi& operator=(const UniqueGdi&) = delete;

  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueBitmap = UniqueGdi<HBITMAP>;

// Owns an icon; DestroyIcon when it goes.
class UniqueIcon {
 public:
  UniqueIcon() = default;
  explicit UniqueIcon(HICON h) : h_(h) {}
  ~UniqueIcon() { Reset(); }
  UniqueIcon(UniqueIcon&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueIcon& operator=(UniqueIcon&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  UniqueIcon(const UniqueIcon&) = delete;
  UniqueIcon& operator=(const UniqueIcon&) = delete;

  HICON get() const { return h_; }
  void Reset(HICON h = nullptr) {
    if (h_) DestroyIcon(h_);
    h_ = h;
  }

 private:
  HICON h_ = nullptr;
};

// A font of `face` at `points` at the given DPI.
UniqueFont MakeFont(const wchar_t* face, int points, bool bold = false, int dpi = SystemDpi());
// The side of an icon: 32 pixels at 96 DPI, more on a finer screen.
int IconPixels(int dpi = SystemDpi());
// An icon resource of this program, `pixels` square; empty when it has none.
UniqueIcon LoadIconResource(int id, int pixels = IconPixels());
// A bitmap resource of this program with its own colour depth kept (a DIB
// section); nullptr when the program has no such resource. The caller owns it.
HBITMAP LoadResourceBitmap(std::string_view name);

// Draws all of `bitmap` with its top left corner at (x, y) of `dc`.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x = 0, int y = 0);
// Draws art made for 96 DPI at the top left of `dc`, grown to `dpi` like the
// windows laid out in twips.
void DrawArtBitmap(HDC dc, HBITMAP bitmap, int dpi = SystemDpi());

// The answer to WM_DPICHANGED: every child of `hwnd` keeps its place and size
// in twips, a child with a font `from` of `fonts` gets its `to` (made by the
// window at the new DPI; the window keeps owning both), and the window takes
// the rectangle the system suggests. Returns the new DPI.
struct FontSwap {
  HFONT from;
  HFONT to;
};
int ApplyDpiChange(HWND hwnd, int old_dpi, WPARAM wparam, LPARAM lparam, std::initializer_list<FontSwap> fonts);

// Shows `window` modal over `owner` (may be nullptr): the owner is disabled,
// messages run until the window is destroyed, Escape in it is a close request
// (WM_CLOSE: the window's cancel), Tab moves between its controls, and the
// owner is enabled and active again at the end. False when WM_QUIT ended the
// loop (it is posted again for the outer loop).
bool RunModal(HWND window, HWND owner);

}  // namespace krv::win32
