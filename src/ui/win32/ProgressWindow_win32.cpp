// Win32 code only: the loader's progress window, a small tool window with a label.
#include "ui/ProgressWindow.h"
#include "ui/win32/Controls_win32.h"
#include "ui/win32/Window_win32.h"

namespace krv {
namespace {

using win32::CreateWindowFrom;
using win32::Pointer;
using win32::PumpPendingMessages;
using win32::RegisterWindowClass;
using win32::SetBusyPointer;
using win32::SetFont;
using win32::Wide;
using win32::WindowProcOf;

const wchar_t kClassName[] = L"KrvLoaderWindow";

class Win32Progress : public ProgressWindow {
 public:
  ~Win32Progress() override { Close(); }

  void Show(const std::string& caption) override {
    RegisterWindowClass({.name = kClassName,
                         .proc = WindowProcOf<Win32Progress, &Win32Progress::OnMessage>,
                         .arrow = false,
                         .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
    // In twips, so that the window grows with the screen's DPI (360 x 200 pixels at 96 DPI).
    const int width = win32::TwipsToPixelsX(5400), height = win32::TwipsToPixelsY(3000);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    window_ = CreateWindowFrom({.cls = kClassName,
                                .text = Wide(caption),
                                .style = WS_POPUP | WS_CAPTION | WS_BORDER,
                                .ex_style = WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                .pixels = {x, y, x + width, y + height},
                                .object = this});
    if (!window_) return;
    RECT client;
    GetClientRect(window_, &client);
    const int margin_x = win32::TwipsToPixelsX(120), margin_y = win32::TwipsToPixelsY(120);
    label_ = CreateWindowFrom({.cls = L"STATIC",
                               .style = WS_CHILD | WS_VISIBLE | SS_LEFT,
                               .pixels = {margin_x, margin_y, client.right - margin_x, client.bottom - margin_y},
                               .parent = window_});
    SetFont(label_, font_.get());
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    PumpPendingMessages();
  }

  void SetText(const std::string& text, const std::string&) override {
    if (!label_) return;
    win32::SetText(label_, text);
    UpdateWindow(window_);
    PumpPendingMessages();
  }

  void Close() override {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    label_ = nullptr;
  }

  WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(window_); }

 private:
  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CLOSE) return 0;  // only the starter closes the loader
    if (message == WM_DPICHANGED) {
      win32::UniqueFont font = win32::MakeFont(L"MS Shell Dlg", 8, false, HIWORD(wparam));
      dpi_ = win32::ApplyDpiChange(hwnd, dpi_, wparam, lparam, {{font_.get(), font.get()}});
      font_ = std::move(font);
      return 0;
    }
    // The hourglass while the starter works, the arrow once it stops (before any message box).
    if (message == WM_SETCURSOR && LOWORD(lparam) == HTCLIENT) return SetBusyPointer(Pointer::kArrow);
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }

  // The dialog font at the screen's DPI; the stock GUI font keeps its 96-DPI size.
  win32::UniqueFont font_ = win32::MakeFont(L"MS Shell Dlg", 8);
  int dpi_ = win32::SystemDpi();
  HWND window_ = nullptr;
  HWND label_ = nullptr;
};

}  // namespace

std::unique_ptr<ProgressWindow> NewProgressWindow() { return std::make_unique<Win32Progress>(); }

}  // namespace krv
