// Win32 code only: the registry permission notice, a modal window with its
// labels, the key list, three options, OK and Cancel.
#include <array>

#include "ui/win32/Controls_win32.h"
#include "ui/win32/SettingsWindow_win32.h"
#include "ui/win32/Window_win32.h"

namespace krv::win32 {
namespace {

const wchar_t kClass[] = L"KrvRegPermission";

constexpr int kClientWidth = 7200;
constexpr int kMargin = 180;
constexpr int kFontPoints = 8;
// Label heights in twips, in the order of the labels; the key list follows the first.
constexpr std::array<int, 5> kLabelHeights = {450, 690, 690, 450, 240};
constexpr int kKeysHeight = 1200;
constexpr int kOptionHeight = 270;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 360;

class RegPermissionWindow final : public RegPermissionView {
 public:
  explicit RegPermissionWindow(RegPermissionEvents& events) : events_(&events) { Create(); }
  ~RegPermissionWindow() override {
    Close();
    *alive_ = false;
  }

  void SetKeys(const std::string& text) override {
    if (keys_) SetText(keys_, text);
  }
  void SetOption(int32_t index) override {
    for (int32_t i = 0; i < 3; ++i) {
      if (options_[i]) SendMessageW(options_[i], BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
  void ShowModal() override {
    if (hwnd_) RunModal(hwnd_, GetWindow(hwnd_, GW_OWNER));
  }
  // The notice is modal: hiding it ends its loop for good.
  void Hide() override { Close(); }
  void Close() override {
    if (!hwnd_) return;
    closed_ = true;
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }

 private:
  void Create() {
    RegisterWindowClass({.name = kClass,
                         .proc = WindowProcOf<RegPermissionWindow, &RegPermissionWindow::OnMessage>,
                         .icon_id = 1,
                         .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
    int height = kMargin;
    for (int h : kLabelHeights) height += h + 90;
    height += kKeysHeight + 90 + 3 * kOptionHeight + 120 + kButtonHeight + kMargin;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    hwnd_ = CreateWindowFrom({.cls = kClass,
                              .text = Wide(kRegPermissionCaption),
                              .style = style,
                              .ex_style = ex_style,
                              .pixels = CenteredFrame(kClientWidth, height, style, ex_style),
                              .parent = GetActiveWindow(),
                              .object = this});
    if (!hwnd_) return;
    font_ = MakeFont(L"Tahoma", kFontPoints);
    HFONT f = font_.get();
    const int right = kClientWidth - kMargin;
    int top = kMargin;
    for (size_t i = 0; i < kLabelHeights.size(); ++i) {
      AddStatic(hwnd_, {0, kRegPermissionLabels[i], WS_VISIBLE, 0, {kMargin, top, right, top + kLabelHeights[i]}, f});
      top += kLabelHeights[i] + 90;
      if (i == 0) {
        keys_ = AddEdit(hwnd_, {kRegPermissionKeysId,
                                "",
                                WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                                0,
                                {kMargin, top, right, top + kKeysHeight},
                                f});
        top += kKeysHeight + 90;
      }
    }
    for (int32_t i = 0; i < 3; ++i) {
      const DWORD group = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
      options_[i] = AddButton(hwnd_, {kRegPermissionOptionId + i,
                                      kRegPermissionOptions[i],
                                      WS_VISIBLE | BS_AUTORADIOBUTTON | group,
                                      0,
                                      {kMargin + 120, top, right, top + kOptionHeight},
                                      f});
      top += kOptionHeight;
    }
    top += 120;
    AddButton(hwnd_, {kRegPermissionOkId,
                      kRegPermissionOk,
                      WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
                      0,
                      {right - 2 * kButtonWidth - 120, top, right - kButtonWidth - 120, top + kButtonHeight},
                      f});
    AddButton(hwnd_, {kRegPermissionCancelId,
                      kRegPermissionCancel,
                      WS_VISIBLE | WS_TABSTOP,
                      0,
                      {right - kButtonWidth, top, right, top + kButtonHeight},
                      f});
  }

  template <typename F>
  void Fire(F&& f) {
    if (!closed_) f(*events_);
  }

  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_NCDESTROY:
        hwnd_ = nullptr;
        closed_ = true;
        break;
      case WM_DPICHANGED: {
        UniqueFont font = MakeFont(L"Tahoma", kFontPoints, false, HIWORD(wparam));
        dpi_ = ApplyDpiChange(hwnd, dpi_, wparam, lparam, {{font_.get(), font.get()}});
        font_ = std::move(font);
        return 0;
      }
      case WM_CLOSE:
        Fire([](RegPermissionEvents& e) { e.QueryUnload(kUnloadByUser); });
        return 0;
      case WM_COMMAND: {
        const int id = LOWORD(wparam);
        if (HIWORD(wparam) != BN_CLICKED) break;
        if (id == kRegPermissionOkId || id == IDOK) {
          Fire([](RegPermissionEvents& e) { e.OkClick(); });
        } else if (id == kRegPermissionCancelId || id == IDCANCEL) {
          Fire([](RegPermissionEvents& e) { e.CancelClick(); });
        } else if (id >= kRegPermissionOptionId && id < kRegPermissionOptionId + 3) {
          Fire([id](RegPermissionEvents& e) { e.OptionClick(id - kRegPermissionOptionId); });
        }
        return 0;
      }
      default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }

  RegPermissionEvents* events_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  HWND hwnd_ = nullptr;
  HWND keys_ = nullptr;
  std::array<HWND, 3> options_ = {};
  UniqueFont font_;
  int dpi_ = SystemDpi();
  bool closed_ = false;
};

}  // namespace

std::unique_ptr<RegPermissionView> NewRegPermissionWindow(RegPermissionEvents& events) {
  return std::make_unique<RegPermissionWindow>(events);
}

}  // namespace krv::win32
