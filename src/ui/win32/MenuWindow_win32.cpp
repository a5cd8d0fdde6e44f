// Win32 code only: the start menu's window over the shared window layer.
#include "ui/win32/MenuWindow_win32.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "ui/ViewEvent.h"
#include "ui/win32/Controls_win32.h"

namespace krv::win32 {

namespace {

const wchar_t kWindowClass[] = L"KrvStartMenu";
const wchar_t kIconClass[] = L"KrvMenuIcon";

// Geometry in twips that the layout leaves to us.
constexpr int kIconLeft = 180;
constexpr int kIconSize = 480;
constexpr int kFakeSize = 300;
constexpr int kFontPoints = 8;

// Commands of the context menu.
constexpr UINT kCmdAutoUnload = 1;
constexpr UINT kCmdSkin = 10;  // + skin number

COLORREF Resolve(uint32_t color) {
  return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : static_cast<COLORREF>(color & 0xFFFFFFu);
}

int16_t ButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      return 2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      return 4;
    default:
      return 0;
  }
}

bool IsButtonDown(UINT m) {
  return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
         m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK;
}
bool IsButtonUp(UINT m) { return m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP; }

// Whether the mouse position of a message lies inside the window's client area.
bool InClient(HWND hwnd, LPARAM lparam) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  POINT pt{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  return PtInRect(&rc, pt) != FALSE;
}

class MenuWindow : public MenuView {
 public:
  explicit MenuWindow(MenuEvents& events);
  ~MenuWindow() override;

  WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(hwnd_); }
  int32_t WidthTwips() const override { return PixelsToTwipsX(OuterRect().right - OuterRect().left); }
  int32_t HeightTwips() const override { return PixelsToTwipsY(OuterRect().bottom - OuterRect().top); }
  void Move(int32_t left_twips, int32_t top_twips) override;
  void Show() override;
  bool IsVisible() const override { return hwnd_ && IsWindowVisible(hwnd_); }
  void Close() override;

  bool FocusItem(int32_t index) override;
  void SetItemLook(int32_t index, uint32_t color, bool bold, bool second_icon_visible) override;
  void SetCountText(const std::string& text) override;
  void SetCountVisible(bool visible) override;
  void MoveCountToItem(int32_t index) override;
  void SetBackground(const std::optional<SkinBitmap>& picture) override;
  void SetIconBackColor(uint32_t color) override;
  void SetTimer(MenuTimer timer, int32_t interval_ms) override;
  void ShowContextMenu(bool auto_unload_checked, int32_t skin_checked) override;

 private:
  static void RegisterClasses();
  static LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR self);

  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnChildMessage(HWND child, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnIconMessage(HWND icon, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnColorStatic(HDC dc, HWND child);
  void OnCommand(int id, int code);
  void OnClose(UnloadMode mode);
  void PaintIcon(HWND icon);
  // The key preview: the form sees every key first. True when the key ends here.
  bool PreviewKey(UINT message, WPARAM key, LPARAM lparam);
  bool IsKeyMessage(UINT message) const { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }
  void PressOn(HWND child, int16_t button);
  // Whether a release over `child` completes a press that began there.
  bool ReleaseOn(HWND child, int16_t button, LPARAM lparam);

  void CreateChildren();
  void LoadIcons();
  void OnDpiChanged(HWND hwnd, WPARAM wparam, LPARAM lparam);
  HWND CreateIcon(int id, const RECT& twips);
  void ComposeBackground();
  void RepaintAll();
  RECT OuterRect() const;
  int IndexOf(HWND child, int base) const;

  // Runs an event unless the view is closed; false when the view was closed
  // or destroyed inside it (then nothing of this object may be touched).
  template <typename F>
  bool Fire(F&& event);

  MenuEvents& events_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool closed_ = false;
  HWND hwnd_ = nullptr;
  std::array<HWND, kMenuItemCount> label_{}, icon1_{}, icon2_{}, fake_{};
  std::array<COLORREF, kMenuItemCount> label_color_{};
  std::array<UniqueIcon, kMenuItemCount> icon_, dim_icon_;
  HWND count_ = nullptr;
  int count_item_ = 0;
  int dpi_ = SystemDpi();
  UniqueFont font_ = MakeFont(L"Tahoma", kFontPoints);
  UniqueFont bold_font_ = MakeFont(L"Tahoma", kFontPoints, true);
  UniqueFont count_font_ = MakeFont(L"MS Sans Serif", kFontPoints);
  UniqueBitmap skin_;        // the skin's picture as loaded
  UniqueBitmap background_;  // button face with the picture at the origin, client-sized
  UniqueBrush background_brush_;
  UniqueBrush icon_brush_{CreateSolidBrush(GetSysColor(COLOR_BTNFACE))};
  RECT client_px_{};
  HWND pressed_ = nullptr;  // child under a mouse press, holding the capture
  int16_t pressed_button_ = 0;
  int last_focus_ = -1;
  bool focusing_ = false;  // FocusItem is giving the focus: not a user's move
};

template <typename F>
bool MenuWindow::Fire(F&& event) {
  return FireViewEvent(alive_, closed_, events_, event);
}

void MenuWindow::RegisterClasses() {
  RegisterWindowClass({kWindowClass, WindowProcOf<MenuWindow, &MenuWindow::OnMessage>, kProgramIconId});
  RegisterWindowClass({kIconClass, WindowProcOf<MenuWindow, &MenuWindow::OnIconMessage>});
}

MenuWindow::MenuWindow(MenuEvents& events) : events_(events) {
  RegisterClasses();
  client_px_ = {0, 0, TwipsToPixelsX(kMenuClientWidth), TwipsToPixelsY(kMenuClientHeight)};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT outer = client_px_;
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  OffsetRect(&outer, CW_USEDEFAULT - outer.left, CW_USEDEFAULT - outer.top);  // the system places it
  hwnd_ = CreateWindowFrom(
      {.cls = kWindowClass, .text = Wide(kMenuCaption), .style = style, .pixels = outer, .object = this});
  if (!hwnd_) return;
  label_color_.fill(0x808080);
  ComposeBackground();
  CreateChildren();
  // Mnemonics stay underlined, not only after Alt was pressed.
  SendMessageW(hwnd_, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
}

MenuWindow::~MenuWindow() {
  Close();
  *alive_ = false;
}

HWND MenuWindow::CreateIcon(int id, const RECT& twips) {
  return CreateWindowFrom({.cls = kIconClass,
                           .style = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE,
                           .pixels = TwipsToPixels(twips),
                           .parent = hwnd_,
                           .id = id,
                           .object = this});
}

void MenuWindow::CreateChildren() {
  Tooltips tips(hwnd_);  // the tooltip window goes with ours
  for (int i = 0; i < kMenuItemCount; ++i) {
    const int top = MenuLabelTop(i);
    const int icon_top = top + kMenuLabelHeight / 2 - kIconSize / 2;
    const RECT icon_rect{kIconLeft, icon_top, kIconLeft + kIconSize, icon_top + kIconSize};
    label_[i] = AddStatic(hwnd_, {kMenuLabelId + i,
                                  std::string(kMenuItems[i].caption),
                                  WS_VISIBLE | SS_LEFT | SS_NOTIFY,
                                  0,
                                  {kMenuLabelLeft, top, kMenuClientWidth - 45, top + kMenuLabelHeight},
                                  font_.get()});
    icon1_[i] = CreateIcon(kMenuIcon1Id + i, icon_rect);
    icon2_[i] = CreateIcon(kMenuIcon2Id + i, icon_rect);
    const int fake_top = kMenuClientHeight + 100;
    fake_[i] = AddButton(hwnd_, {kMenuFakeId + i,
                                 std::string(kMenuItems[i].caption),
                                 WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY,
                                 0,
                                 {0, fake_top, kFakeSize, fake_top + kFakeSize}});
    // The second picture lies over the first.
    SetWindowPos(icon2_[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND child : {label_[i], fake_[i]}) SetWindowSubclass(child, ChildProc, 1, reinterpret_cast<DWORD_PTR>(this));
    tips.Add(label_[i], std::string(kMenuItems[i].tooltip));
    for (HWND child : {icon1_[i], icon2_[i]}) tips.Add(child, std::string(kMenuItems[i].icon_tooltip));
  }
  LoadIcons();
  count_ = AddStatic(hwnd_, {kMenuCountId,
                             "",
                             SS_LEFT,
                             0,
                             {kMenuCountLeft, kMenuLabelTop, kMenuClientWidth, kMenuLabelTop + kMenuLabelHeight},
                             count_font_.get()});
  SetWindowPos(count_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MenuWindow::LoadIcons() {
  for (int i = 0; i < kMenuItemCount; ++i) {
    icon_[i] = LoadIconResource(kItemIconId + i, IconPixels(dpi_));
    dim_icon_[i] = LoadIconResource(kItemDimIconId + i, IconPixels(dpi_));
  }
}

void MenuWindow::OnDpiChanged(HWND hwnd, WPARAM wparam, LPARAM lparam) {
  const int dpi = HIWORD(wparam);
  UniqueFont font = MakeFont(L"Tahoma", kFontPoints, false, dpi);
  UniqueFont bold_font = MakeFont(L"Tahoma", kFontPoints, true, dpi);
  UniqueFont count_font = MakeFont(L"MS Sans Serif", kFontPoints, false, dpi);
  dpi_ = ApplyDpiChange(
      hwnd, dpi_, wparam, lparam,
      {{font_.get(), font.get()}, {bold_font_.get(), bold_font.get()}, {count_font_.get(), count_font.get()}});
  font_ = std::move(font);
  bold_font_ = std::move(bold_font);
  count_font_ = std::move(count_font);
  client_px_ = {0, 0, TwipsAtDpi(kMenuClientWidth, dpi_), TwipsAtDpi(kMenuClientHeight, dpi_)};
  LoadIcons();
  ComposeBackground();
  RepaintAll();
}

RECT MenuWindow::OuterRect() const {
  RECT rc = {};
  if (hwnd_) GetWindowRect(hwnd_, &rc);
  return rc;
}

int MenuWindow::IndexOf(HWND child, int base) const {
  const int id = GetDlgCtrlID(child) - base;
  return id >= 0 && id < kMenuItemCount ? id : -1;
}

void MenuWindow::Move(int32_t left_twips, int32_t top_twips) {
  if (!hwnd_) return;
  SetWindowPos(hwnd_, nullptr, TwipsToPixelsX(left_twips), TwipsToPixelsY(top_twips), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MenuWindow::Show() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  UpdateWindow(hwnd_);
}

void MenuWindow::Close() {
  if (closed_) return;
  closed_ = true;
  if (GetCapture() && GetCapture() == pressed_) ReleaseCapture();
  if (hwnd_) DestroyWindow(hwnd_);  // its children and the tooltip go with it
}

bool MenuWindow::FocusItem(int32_t index) {
  if (!IsVisible() || index < 0 || index >= kMenuItemCount) return false;
  focusing_ = true;
  SetFocus(fake_[index]);
  focusing_ = false;
  return hwnd_ && GetFocus() == fake_[index];
}

void MenuWindow::SetItemLook(int32_t index, uint32_t color, bool bold, bool second_icon_visible) {
  if (!hwnd_ || index < 0 || index >= kMenuItemCount) return;
  label_color_[index] = Resolve(color);
  SetFont(label_[index], bold ? bold_font_.get() : font_.get());
  InvalidateRect(label_[index], nullptr, TRUE);
  ShowWindow(icon2_[index], second_icon_visible ? SW_SHOWNA : SW_HIDE);
  if (index == count_item_) InvalidateRect(count_, nullptr, TRUE);
}

void MenuWindow::SetCountText(const std::string& text) {
  if (!hwnd_) return;
  SetText(count_, text);
  // As wide as its text, so it covers as little of a long label as it can.
  const SIZE size = TextSize(count_, count_font_.get(), text);
  SetWindowPos(count_, nullptr, 0, 0, size.cx + 2, TwipsAtDpi(kMenuLabelHeight, dpi_),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(count_, nullptr, TRUE);
}

void MenuWindow::SetCountVisible(bool visible) {
  if (hwnd_) ShowWindow(count_, visible ? SW_SHOWNA : SW_HIDE);
}

void MenuWindow::MoveCountToItem(int32_t index) {
  if (!hwnd_ || index < 0 || index >= kMenuItemCount) return;
  count_item_ = index;
  SetWindowPos(count_, HWND_TOP, TwipsAtDpi(kMenuCountLeft, dpi_), TwipsAtDpi(MenuLabelTop(index), dpi_), 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
  InvalidateRect(count_, nullptr, TRUE);
}

void MenuWindow::SetBackground(const std::optional<SkinBitmap>& picture) {
  if (!hwnd_) return;
  skin_.Reset(picture ? LoadResourceBitmap(picture->resource_name) : nullptr);
  ComposeBackground();
  RepaintAll();
}

void MenuWindow::ComposeBackground() {
  background_brush_.Reset();
  HDC screen = GetDC(nullptr);
  background_.Reset(CreateCompatibleBitmap(screen, client_px_.right, client_px_.bottom));
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, background_.get());
  FillRect(dc, &client_px_, GetSysColorBrush(COLOR_BTNFACE));
  if (skin_) DrawArtBitmap(dc, skin_.get(), dpi_);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  // The labels fill with this brush, aligned to their place: they look transparent.
  background_brush_.Reset(CreatePatternBrush(background_.get()));
}

void MenuWindow::RepaintAll() { RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN); }

void MenuWindow::SetIconBackColor(uint32_t color) {
  if (!hwnd_) return;
  icon_brush_.Reset(CreateSolidBrush(Resolve(color)));
  for (int i = 0; i < kMenuItemCount; ++i) {
    InvalidateRect(icon1_[i], nullptr, TRUE);
    InvalidateRect(icon2_[i], nullptr, TRUE);
  }
}

void MenuWindow::SetTimer(MenuTimer timer, int32_t interval_ms) {
  if (!hwnd_) return;
  const auto id = static_cast<UINT_PTR>(timer);
  if (interval_ms > 0) {
    ::SetTimer(hwnd_, id, static_cast<UINT>(interval_ms), nullptr);
  } else {
    KillTimer(hwnd_, id);
  }
}

void MenuWindow::ShowContextMenu(bool auto_unload_checked, int32_t skin_checked) {
  if (closed_ || !hwnd_) return;
  HMENU menu = CreatePopupMenu();
  HMENU skins = CreatePopupMenu();
  for (UINT i = 0; i < 3; ++i) AppendMenuW(skins, MF_STRING, kCmdSkin + i, Wide(kMenuSkinNames[i]).c_str());
  if (skin_checked >= 0 && skin_checked < 3)
    CheckMenuRadioItem(skins, kCmdSkin, kCmdSkin + 2, kCmdSkin + static_cast<UINT>(skin_checked), MF_BYCOMMAND);
  AppendMenuW(menu, MF_STRING | (auto_unload_checked ? MF_CHECKED : MF_UNCHECKED), kCmdAutoUnload,
              Wide(kMenuAutoUnloadText).c_str());
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(skins), Wide(kMenuSkinText).c_str());
  POINT pt = {};
  GetCursorPos(&pt);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(hwnd_);
  std::shared_ptr<bool> alive = alive_;
  const UINT cmd = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, pt.x, pt.y, 0, hwnd_, nullptr));
  DestroyMenu(menu);  // and the submenu
  if (!*alive || !hwnd_) return;
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  if (cmd == kCmdAutoUnload) {
    Fire([](MenuEvents& e) { e.ContextAutoUnload(); });
  } else if (cmd >= kCmdSkin && cmd < kCmdSkin + 3) {
    Fire([cmd](MenuEvents& e) { e.ContextSkin(static_cast<int32_t>(cmd - kCmdSkin)); });
  }
}

// ----------------------------------------------------------------- messages

LRESULT MenuWindow::OnMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) hwnd_ = hwnd;
  if (message == WM_NCDESTROY) {
    hwnd_ = nullptr;
    closed_ = true;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  if (IsKeyMessage(message) && PreviewKey(message, wparam, lparam)) return 0;
  if (message == WM_SYSCHAR && wparam != L' ') return 0;  // Alt+letter: the form's, no beep
  if (IsButtonUp(message)) {
    Fire([b = ButtonOf(message)](MenuEvents& e) { e.BackgroundMouseUp(b); });
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND: {
      if (!background_) break;
      DrawBitmap(reinterpret_cast<HDC>(wparam), background_.get());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
      return OnColorStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_SETCURSOR:
      if (IsBusy() || IndexOf(reinterpret_cast<HWND>(wparam), kMenuLabelId) >= 0) return SetBusyPointer(Pointer::kHand);
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_TIMER:
      if (wparam == static_cast<WPARAM>(MenuTimer::kRun) || wparam == static_cast<WPARAM>(MenuTimer::kCount))
        Fire([wparam](MenuEvents& e) { e.Timer(static_cast<MenuTimer>(wparam)); });
      return 0;
    case WM_ACTIVATE:
      // Back to the item that had the focus, as a dialog does.
      if (LOWORD(wparam) != WA_INACTIVE && last_focus_ >= 0) {
        focusing_ = true;
        SetFocus(fake_[last_focus_]);
        focusing_ = false;
        return 0;
      }
      break;
    case WM_DPICHANGED:
      OnDpiChanged(hwnd, wparam, lparam);
      return 0;
    case WM_CLOSE:
      OnClose(kUnloadByUser);
      return 0;
    case WM_QUERYENDSESSION:
      Fire([](MenuEvents& e) { e.QueryUnload(kUnloadByWindows); });
      return TRUE;
    case WM_ENDSESSION:
      if (wparam) Close();
      return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void MenuWindow::OnClose(UnloadMode mode) {
  // The form unloads itself in QueryUnload; if it does not, the window goes anyway.
  if (Fire([mode](MenuEvents& e) { e.QueryUnload(mode); })) Close();
}

void MenuWindow::OnCommand(int id, int code) {
  const int index = id - kMenuFakeId;
  if (index < 0 || index >= kMenuItemCount) return;
  if (code == BN_SETFOCUS) {
    last_focus_ = index;
    if (!focusing_) Fire([index](MenuEvents& e) { e.FakeGotFocus(index); });
  } else if (code == BN_CLICKED) {
    Fire([index](MenuEvents& e) { e.FakeClick(index); });
  }
}

LRESULT MenuWindow::OnColorStatic(HDC dc, HWND child) {
  const int index = child == count_ ? count_item_ : IndexOf(child, kMenuLabelId);
  if (index < 0) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  const RECT rc = PlaceInParent(child);
  SetBrushOrgEx(dc, -rc.left, -rc.top, nullptr);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, label_color_[index]);
  return reinterpret_cast<LRESULT>(background_brush_.get());
}

bool MenuWindow::PreviewKey(UINT message, WPARAM key, LPARAM lparam) {
  const int32_t shift = ShiftState(message, lparam);
  if (!Fire([&](MenuEvents& e) { e.KeyDown(static_cast<int32_t>(key), shift); })) return true;
  return key == VK_TAB;  // the form moves the focus, not the controls
}

void MenuWindow::PressOn(HWND child, int16_t button) {
  pressed_ = child;
  pressed_button_ = button;
  SetCapture(child);
}

bool MenuWindow::ReleaseOn(HWND child, int16_t button, LPARAM lparam) {
  const bool completes = pressed_ == child && pressed_button_ == button && InClient(child, lparam);
  if (pressed_ == child && pressed_button_ == button) {
    pressed_ = nullptr;
    if (GetCapture() == child) ReleaseCapture();
  }
  return completes;
}

LRESULT CALLBACK MenuWindow::ChildProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR ref) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, ChildProc, 1);
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }
  auto* self = reinterpret_cast<MenuWindow*>(ref);
  if (self->closed_) return DefSubclassProc(hwnd, message, wparam, lparam);
  try {
    return self->OnChildMessage(hwnd, message, wparam, lparam);
  } catch (...) {
    return 0;
  }
}

LRESULT MenuWindow::OnChildMessage(HWND child, UINT message, WPARAM wparam, LPARAM lparam) {
  if (IsKeyMessage(message) && PreviewKey(message, wparam, lparam)) return 0;
  if (message == WM_SYSCHAR && wparam != L' ') return 0;
  if (message == WM_CHAR && (wparam == L'\t' || wparam == L'\r' || wparam == 0x1B)) return 0;
  const int index = IndexOf(child, kMenuLabelId);
  if (index < 0) return DefSubclassProc(child, message, wparam, lparam);
  const int16_t button = ButtonOf(message);
  if (message == WM_MOUSEMOVE) {
    Fire([index](MenuEvents& e) { e.LabelMouseMove(index); });
  } else if (IsButtonDown(message)) {
    if (Fire([index, button](MenuEvents& e) { e.LabelMouseDown(index, button); })) PressOn(child, button);
  } else if (IsButtonUp(message)) {
    if (ReleaseOn(child, button, lparam)) Fire([index](MenuEvents& e) { e.LabelClick(index); });
  } else if (message == WM_CAPTURECHANGED) {
    if (pressed_ == child) pressed_ = nullptr;
  } else {
    return DefSubclassProc(child, message, wparam, lparam);
  }
  return 0;
}

LRESULT MenuWindow::OnIconMessage(HWND icon, UINT message, WPARAM wparam, LPARAM lparam) {
  if (closed_ || message == WM_NCDESTROY) return DefWindowProcW(icon, message, wparam, lparam);
  if (IsKeyMessage(message) && PreviewKey(message, wparam, lparam)) return 0;
  const int first = IndexOf(icon, kMenuIcon1Id);
  const int index = first >= 0 ? first : IndexOf(icon, kMenuIcon2Id);
  switch (message) {
    case WM_PAINT:
      PaintIcon(icon);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      return SetBusyPointer(Pointer::kHand);
    case WM_MOUSEMOVE:
      if (first >= 0) {
        Fire([index](MenuEvents& e) { e.Icon1MouseMove(index); });
      } else {
        Fire([index](MenuEvents& e) { e.Icon2MouseMove(index); });
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      PressOn(icon, 1);
      return 0;
    case WM_LBUTTONUP:
      // The dimmed picture lies over the first; a click on it is a click on the item.
      if (ReleaseOn(icon, 1, lparam)) Fire([index](MenuEvents& e) { e.Icon1Click(index); });
      return 0;
    case WM_CAPTURECHANGED:
      if (pressed_ == icon) pressed_ = nullptr;
      return 0;
  }
  return DefWindowProcW(icon, message, wparam, lparam);
}

void MenuWindow::PaintIcon(HWND icon) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(icon, &ps);
  RECT rc;
  GetClientRect(icon, &rc);
  FillRect(dc, &rc, icon_brush_.get());
  const int first = IndexOf(icon, kMenuIcon1Id);
  HICON picture = first >= 0 ? icon_[first].get() : dim_icon_[IndexOf(icon, kMenuIcon2Id)].get();
  const int size = IconPixels(dpi_);
  if (picture)
    DrawIconEx(dc, (rc.right - size) / 2, (rc.bottom - size) / 2, picture, size, size, 0, nullptr, DI_NORMAL);
  EndPaint(icon, &ps);
}

}  // namespace

std::unique_ptr<MenuView> NewMenuWindow(MenuEvents& events) { return std::make_unique<MenuWindow>(events); }

}  // namespace krv::win32
