// Win32 code only: the modal text window.
#include "ui/win32/TextWindow_win32.h"

#include "ui/win32/Controls_win32.h"
#include "ui/win32/Window_win32.h"

namespace krv::win32 {
namespace {

// Client area and controls in twips.
constexpr int kWidth = 9600, kHeight = 6600, kMargin = 120;
constexpr int kButtonWidth = 1215, kButtonHeight = 375;
constexpr int kProgramIconId = 1;
constexpr wchar_t kButtonFace[] = L"MS Shell Dlg";
constexpr int kButtonPoints = 8;

// The edit box wants CR LF between lines.
std::string WithCrLf(const std::string& text) {
  const std::vector<std::string> lines = TextWindowLines(text);
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
  return out;
}

class TextWindow {
 public:
  explicit TextWindow(const TextWindowArgs& args) : args_(args) {}

  bool Run() {
    RegisterWindowClass({.name = kTextWindowClass,
                         .proc = WindowProcOf<TextWindow, &TextWindow::OnMessage>,
                         .icon_id = kProgramIconId,
                         .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    HWND owner = reinterpret_cast<HWND>(args_.owner);
    HWND window = CreateWindowFrom({.cls = kTextWindowClass,
                                    .text = Wide(args_.caption),
                                    .style = style,
                                    .ex_style = ex_style,
                                    .pixels = CenteredFrame(kWidth, kHeight, style, ex_style),
                                    .parent = owner,
                                    .object = this});
    if (!window) return true;  // no window, no question: the start goes on
    RunModal(window, owner);
    return ok_;
  }

 private:
  void Build(HWND hwnd) {
    font_ = MakeFont(Wide(args_.font_name).c_str(), args_.font_size);
    button_font_ = MakeFont(kButtonFace, kButtonPoints);
    HFONT gui = button_font_.get();
    const int buttons_top = kHeight - kMargin - kButtonHeight;
    AddEdit(hwnd, {kTextWindowEditId,
                   WithCrLf(args_.text),
                   WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                       ES_AUTOHSCROLL,
                   0,
                   {kMargin, kMargin, kWidth - kMargin, buttons_top - kMargin},
                   font_.get()});
    const int cancel_left = kWidth - kMargin - kButtonWidth, ok_left = cancel_left - kMargin - kButtonWidth;
    HWND ok = AddButton(hwnd, {IDOK,
                               "OK",
                               WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                               0,
                               {ok_left, buttons_top, ok_left + kButtonWidth, buttons_top + kButtonHeight},
                               gui});
    AddButton(hwnd, {IDCANCEL,
                     kTextWindowCancel,
                     WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                     0,
                     {cancel_left, buttons_top, cancel_left + kButtonWidth, buttons_top + kButtonHeight},
                     gui});
    SetFocus(ok);
  }

  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_CREATE:
        Build(hwnd);
        return 0;
      case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
          ok_ = LOWORD(wparam) == IDOK;
          DestroyWindow(hwnd);
        }
        return 0;
      case WM_DPICHANGED: {
        UniqueFont font = MakeFont(Wide(args_.font_name).c_str(), args_.font_size, false, HIWORD(wparam));
        UniqueFont button_font = MakeFont(kButtonFace, kButtonPoints, false, HIWORD(wparam));
        dpi_ = ApplyDpiChange(hwnd, dpi_, wparam, lparam,
                              {{font_.get(), font.get()}, {button_font_.get(), button_font.get()}});
        font_ = std::move(font);
        button_font_ = std::move(button_font);
        return 0;
      }
      case WM_CLOSE:  // Escape and the close button
        ok_ = false;
        DestroyWindow(hwnd);
        return 0;
      default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }

  const TextWindowArgs& args_;
  UniqueFont font_;
  UniqueFont button_font_;  // the dialog font at the window's DPI; the stock one stays at 96
  int dpi_ = SystemDpi();
  bool ok_ = false;
};

}  // namespace

bool RunTextWindow(const TextWindowArgs& args) {
  TextWindow window(args);
  return window.Run();
}

}  // namespace krv::win32
