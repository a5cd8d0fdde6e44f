// Win32 code only: the loader's progress window, a small tool window with a label.
#include "ui/ProgressWindow.h"
#include "platform/win32/Win32Util_win32.h"

namespace krv {
namespace {

using win32::PumpPendingMessages;
using win32::Wide;

const wchar_t kClassName[] = L"KrvLoaderWindow";

LRESULT CALLBACK LoaderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) return 0;  // only the starter closes the loader
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class Win32Progress : public ProgressWindow {
 public:
  ~Win32Progress() override { Close(); }

  void Show(const std::string& caption) override {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = LoaderProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));  // IDC_WAIT: the loader works
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);  // fails harmlessly when already registered
    const int width = 360, height = 200;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    window_ =
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, Wide(caption).c_str(),
                        WS_POPUP | WS_CAPTION | WS_BORDER, x, y, width, height, nullptr, nullptr, instance, nullptr);
    if (!window_) return;
    RECT client;
    GetClientRect(window_, &client);
    label_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 8, 8, client.right - 16,
                             client.bottom - 16, window_, nullptr, instance, nullptr);
    SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    PumpPendingMessages();
  }

  void SetText(const std::string& text, const std::string&) override {
    if (!label_) return;
    SetWindowTextW(label_, Wide(text).c_str());
    UpdateWindow(window_);
    PumpPendingMessages();
  }

  void Close() override {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    label_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
  HWND label_ = nullptr;
};

}  // namespace

std::unique_ptr<ProgressWindow> NewProgressWindow() { return std::make_unique<Win32Progress>(); }

}  // namespace krv
