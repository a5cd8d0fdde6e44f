// Win32 code only: the settings dialog's window: two frames, a drop-down
// list with the path as tooltip, a browse button with its picture, a text
// box and a toolbar of three buttons at the bottom right.
#include "ui/win32/SettingsWindow_win32.h"

#include "ui/win32/Window_win32.h"
// After windows.h, which they build on.
#include <commctrl.h>
#include <commdlg.h>

#include <array>

#include "ui/ViewEvent.h"
#include "ui/win32/Controls_win32.h"

namespace krv::win32 {
namespace {

const wchar_t kClass[] = L"KrvSettings";

// Client area and controls in twips.
constexpr int kClientWidth = 7200;
constexpr int kClientHeight = 4440;
constexpr RECT kBackendFrame = {120, 90, 7080, 2010};
constexpr RECT kBackendLabel = {300, 390, 5000, 630};
constexpr RECT kBackendList = {300, 690, 5100, 3690};
constexpr RECT kBrowse = {5190, 660, 5640, 1050};
constexpr RECT kCompress = {5730, 660, 6960, 1050};
constexpr RECT kReason = {300, 1200, 6960, 1890};
constexpr RECT kUpdateFrame = {120, 2100, 7080, 3720};
constexpr RECT kDays = {300, 2430, 1020, 2745};
constexpr RECT kDaysLabel = {1140, 2475, 6960, 2745};
constexpr RECT kDaysHint = {300, 2910, 6960, 3570};
constexpr int kToolbarGapTwips = 50;
constexpr int kFontPoints = 8;
constexpr COLORREF kReasonColor = RGB(160, 0, 0);

// Image-list keys and their icons, in image order.
constexpr std::array<std::pair<const char*, int>, 5> kImages = {{{"OK", kPictureOkId},
                                                                 {"Cancel", kPictureCancelId},
                                                                 {"Tresor", kPictureTresorId},
                                                                 {"Compress", kPictureCompressId},
                                                                 {"Shield", kPictureShieldId}}};

int ImageIndex(const char* key) {
  for (size_t i = 0; i < kImages.size(); ++i) {
    if (std::string_view(kImages[i].first) == key) return static_cast<int>(i);
  }
  return I_IMAGENONE;
}

HICON SmallIcon(int id, int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

class SettingsWindow final : public SettingsView {
 public:
  explicit SettingsWindow(SettingsEvents& events) : events_(&events) { Create(); }
  ~SettingsWindow() override {
    Close();
    *alive_ = false;
  }

  void SetCaption(const std::string& caption) override {
    if (hwnd_) SetText(hwnd_, caption);
  }
  void Show(bool modal) override {
    if (!hwnd_) {
      // No window (the system refused it): the dialog closes rather than wait for a user who cannot reach it.
      Fire([](SettingsEvents& e) { e.QueryUnload(kUnloadByWindows); });
      return;
    }
    if (modal) {
      RunModal(hwnd_, GetWindow(hwnd_, GW_OWNER));
      return;
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    SetFocus(list_);
  }
  bool IsVisible() const override { return hwnd_ && IsWindowVisible(hwnd_); }
  void Close() override {
    if (!hwnd_) return;
    HWND hwnd = hwnd_;
    closed_ = true;
    DestroyWindow(hwnd);
    hwnd_ = nullptr;
  }

  void SetBackends(const std::vector<std::string>& paths) override {
    if (!list_) return;
    SendMessageW(list_, CB_RESETCONTENT, 0, 0);
    for (const std::string& path : paths)
      SendMessageW(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(path).c_str()));
  }
  void SelectBackend(int32_t index) override {
    if (list_) SendMessageW(list_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  int32_t SelectedBackend() const override {
    return list_ ? static_cast<int32_t>(SendMessageW(list_, CB_GETCURSEL, 0, 0)) : -1;
  }
  void SetBackendTip(const std::string& tip) override {
    if (!tips_) return;
    std::wstring wide = Wide(tip);
    TOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(list_);
    ti.lpszText = wide.data();
    SendMessageW(tips_->Handle(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  void SetBackendEnabled(bool enabled) override { Enable(list_, enabled); }
  bool BackendEnabled() const override { return list_ && IsWindowEnabled(list_); }
  void SetBrowseEnabled(bool enabled) override { Enable(browse_, enabled); }
  void SetCompressEnabled(bool enabled) override { Enable(compress_, enabled); }
  void SetBlockReason(const std::string& reason) override {
    if (!reason_) return;
    SetText(reason_, reason);
    ShowWindow(reason_, reason.empty() ? SW_HIDE : SW_SHOWNA);
  }
  void SetDays(const std::string& text) override {
    if (!days_) return;
    setting_days_ = true;
    SetText(days_, text);
    setting_days_ = false;
  }
  std::string Days() const override { return days_ ? TextOf(days_) : std::string(); }
  void SetOkEnabled(bool enabled) override {
    if (toolbar_) SendMessageW(toolbar_, TB_ENABLEBUTTON, kSettingsFirstCommand + kSettingsOkButton, enabled);
  }

  std::optional<std::string> ChooseBackendFile(const std::string& current) override {
    wchar_t file[4096] = {};
    const std::wstring folder = Wide(current.substr(0, current.find_last_of('\\') + 1));
    static const wchar_t kFilter[] =
        L"Daten-Backends (*.mdb;*.accdb;*.db;*.sqlite)\0*.mdb;*.accdb;*.db;*.sqlite\0"
        L"Access-Datenbanken (*.mdb;*.accdb)\0*.mdb;*.accdb\0"
        L"SQLite-Datenbanken (*.db;*.sqlite;*.sqlite3)\0*.db;*.sqlite;*.sqlite3\0"
        L"Alle Dateien (*.*)\0*.*\0";
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = L"Daten-Backend wählen";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn)) return std::nullopt;
    return Narrow(file);
  }

 private:
  void Create() {
    RegisterWindowClass({.name = kClass,
                         .proc = WindowProcOf<SettingsWindow, &SettingsWindow::OnMessage>,
                         .icon_id = 1,
                         .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    hwnd_ = CreateWindowFrom({.cls = kClass,
                              .text = L"Einstellungen",
                              .style = style,
                              .ex_style = ex_style,
                              .pixels = CenteredFrame(kClientWidth, kClientHeight, style, ex_style),
                              .parent = GetActiveWindow(),
                              .object = this});
    if (!hwnd_) return;
    font_ = MakeFont(L"Tahoma", kFontPoints);
    HFONT f = font_.get();
    HWND frames[2] = {AddButton(hwnd_, {0, kSettingsBackendFrame, WS_VISIBLE | BS_GROUPBOX, 0, kBackendFrame, f}),
                      nullptr};
    HWND label = AddStatic(hwnd_, {0, kSettingsBackendLabel, WS_VISIBLE, 0, kBackendLabel, f});
    list_ = AddControl(
        hwnd_, WC_COMBOBOXW,
        {kSettingsBackendId, "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, kBackendList, f});
    browse_ = AddButton(hwnd_, {kSettingsBrowseId, "", WS_VISIBLE | WS_TABSTOP | BS_ICON, 0, kBrowse, f});
    browse_icon_.Reset(SmallIcon(kPictureTresorId, 16));
    SendMessageW(browse_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(browse_icon_.get()));
    compress_ =
        AddButton(hwnd_, {kSettingsCompressId, kSettingsCompressCaption, WS_VISIBLE | WS_TABSTOP, 0, kCompress, f});
    reason_ = AddStatic(hwnd_, {kSettingsReasonId, "", 0, 0, kReason, f});
    frames[1] = AddButton(hwnd_, {0, kSettingsUpdateFrame, WS_VISIBLE | BS_GROUPBOX, 0, kUpdateFrame, f});
    days_ = AddEdit(hwnd_, {kSettingsDaysId, "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, kDays, f});
    AddStatic(hwnd_, {0, kSettingsDaysLabel, WS_VISIBLE, 0, kDaysLabel, f});
    AddStatic(hwnd_, {0, kSettingsDaysHint, WS_VISIBLE, 0, kDaysHint, f});
    CreateToolbar();
    // The frames lie under the controls they hold, or they would clip them.
    for (HWND frame : frames) SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    tips_ = std::make_unique<Tooltips>(hwnd_);
    tips_->Add(label, kSettingsBackendLabelTip);
    tips_->Add(list_, "");
    tips_->Add(browse_, kSettingsBrowseTip);
    tips_->Add(compress_, kSettingsCompressTip);
    tips_->Add(days_, kSettingsDaysTip);
    for (HWND child : {list_, browse_, compress_, days_, toolbar_})
      SetWindowSubclass(child, ChildProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }

  void CreateToolbar() {
    toolbar_ = CreateWindowFrom({.cls = TOOLBARCLASSNAMEW,
                                 .style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_LIST |
                                          TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN,
                                 .parent = hwnd_,
                                 .id = kSettingsToolbarId});
    if (!toolbar_) return;
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    images_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, static_cast<int>(kImages.size()), 0);
    for (const auto& [key, id] : kImages) {
      UniqueIcon icon(SmallIcon(id, 16));
      ImageList_AddIcon(images_, icon.get());
    }
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    std::array<std::wstring, 3> captions;
    std::array<TBBUTTON, 3> buttons = {};
    for (int i = 0; i < 3; ++i) {
      captions[i] = Wide(kSettingsButtons[i].caption);
      buttons[i].iBitmap = ImageIndex(kSettingsButtons[i].picture);
      buttons[i].idCommand = kSettingsFirstCommand + i;
      buttons[i].fsState = TBSTATE_ENABLED;
      buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
      buttons[i].iString = reinterpret_cast<INT_PTR>(captions[i].c_str());
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    PlaceToolbar();
  }

  // As wide as its buttons, at the right edge, just above the bottom.
  void PlaceToolbar() {
    if (!toolbar_) return;
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    RECT last = {}, client = {};
    SendMessageW(toolbar_, TB_GETITEMRECT, std::size(kSettingsButtons) - 1, reinterpret_cast<LPARAM>(&last));
    GetClientRect(hwnd_, &client);
    const int width = last.right, height = last.bottom + 2;
    SetWindowPos(toolbar_, nullptr, client.right - width - TwipsAtDpi(120, dpi_),
                 client.bottom - height - TwipsAtDpi(kToolbarGapTwips, dpi_), width, height, SWP_NOZORDER);
  }

  static void Enable(HWND hwnd, bool enabled) {
    if (hwnd) EnableWindow(hwnd, enabled);
  }

  template <typename F>
  bool Fire(F&& f) {
    return FireViewEvent(alive_, closed_, *events_, f);
  }

  static LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR ref) {
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, ChildProc, 1);
      return DefSubclassProc(hwnd, message, wparam, lparam);
    }
    auto* self = reinterpret_cast<SettingsWindow*>(ref);
    try {
      if (!self->closed_ && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) &&
          self->PreviewKey(hwnd, message, wparam, lparam)) {
        return 0;
      }
      if (message == WM_SYSCHAR && wparam != L' ') return 0;  // Alt+letter: the form's, no beep
    } catch (...) {
      return 0;
    }
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }

  // The form sees every key first; true when the key ends here.
  bool PreviewKey(HWND child, UINT message, WPARAM key, LPARAM lparam) {
    const int32_t shift = ShiftState(message, lparam);
    if (!Fire([&](SettingsEvents& e) { e.KeyDown(static_cast<int32_t>(key), shift); })) return true;
    if (key == VK_TAB) {
      // Without a dialog loop (stand-alone) the window moves the focus itself.
      SetFocus(GetNextDlgTabItem(hwnd_, child, (shift & kShiftBit) != 0));
      return true;
    }
    return key == VK_ESCAPE;
  }

  void BackendCommand(UINT code) {
    const bool dropped = SendMessageW(list_, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (code != CBN_SELENDOK && !(code == CBN_SELCHANGE && !dropped)) return;
    // One choice may arrive as both notifications.
    const std::pair<int32_t, LONG> click = {SelectedBackend(), GetMessageTime()};
    if (click == last_click_) return;
    last_click_ = click;
    Fire([](SettingsEvents& e) { e.BackendClick(); });
  }

  LRESULT OnCommand(WPARAM wparam) {
    const int id = LOWORD(wparam);
    const UINT code = HIWORD(wparam);
    if (id == kSettingsBackendId) {
      BackendCommand(code);
    } else if (id == kSettingsBrowseId && code == BN_CLICKED) {
      Fire([](SettingsEvents& e) { e.BrowseClick(); });
    } else if (id == kSettingsCompressId && code == BN_CLICKED) {
      Fire([](SettingsEvents& e) { e.CompressClick(); });
    } else if (id == kSettingsDaysId && code == EN_CHANGE && !setting_days_) {
      Fire([](SettingsEvents& e) { e.DaysChange(); });
    } else if (id >= kSettingsFirstCommand && id < kSettingsFirstCommand + 3) {
      const std::string key = kSettingsButtons[id - kSettingsFirstCommand].key;
      Fire([&key](SettingsEvents& e) { e.ButtonClick(key); });
    }
    return 0;
  }

  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_NCDESTROY:
        hwnd_ = nullptr;
        closed_ = true;
        if (images_) ImageList_Destroy(images_);
        images_ = nullptr;
        break;
      case WM_COMMAND:
        return OnCommand(wparam);
      case WM_DPICHANGED: {
        UniqueFont font = MakeFont(L"Tahoma", kFontPoints, false, HIWORD(wparam));
        dpi_ = ApplyDpiChange(hwnd, dpi_, wparam, lparam, {{font_.get(), font.get()}});
        font_ = std::move(font);
        PlaceToolbar();
        return 0;
      }
      case WM_CLOSE:
        Fire([](SettingsEvents& e) { e.QueryUnload(kUnloadByUser); });
        return 0;
      case WM_QUERYENDSESSION:
        Fire([](SettingsEvents& e) { e.QueryUnload(kUnloadByWindows); });
        return TRUE;
      case WM_NOTIFY: {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lparam);
        const auto id = static_cast<int>(info->hdr.idFrom);
        if (info->hdr.code == TTN_GETDISPINFOW && id >= kSettingsFirstCommand && id < kSettingsFirstCommand + 3) {
          tip_text_ = Wide(kSettingsButtons[id - kSettingsFirstCommand].tooltip);
          info->lpszText = tip_text_.data();
          return 0;
        }
        break;
      }
      case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lparam) == reason_) {
          HDC dc = reinterpret_cast<HDC>(wparam);
          SetTextColor(dc, kReasonColor);
          SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
          return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
      default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }

  SettingsEvents* events_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  HWND hwnd_ = nullptr;
  HWND list_ = nullptr, browse_ = nullptr, compress_ = nullptr, reason_ = nullptr, days_ = nullptr;
  HWND toolbar_ = nullptr;
  HIMAGELIST images_ = nullptr;
  UniqueFont font_;
  int dpi_ = SystemDpi();
  UniqueIcon browse_icon_;
  std::unique_ptr<Tooltips> tips_;
  std::wstring tip_text_;
  std::pair<int32_t, LONG> last_click_ = {-1, 0};
  bool setting_days_ = false;
  bool closed_ = false;
};

}  // namespace

std::unique_ptr<SettingsView> NewSettingsWindow(SettingsEvents& events) {
  return std::make_unique<SettingsWindow>(events);
}

}  // namespace krv::win32
