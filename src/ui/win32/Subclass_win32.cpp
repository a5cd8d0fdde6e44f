// Win32 code only: window subclassing over SetWindowLongPtrW, CallWindowProcW
// and the window property functions.
#include "ui/win32/Subclass_win32.h"

#include <atomic>

#include "platform/win32/Win32Util_win32.h"

namespace krv::win32 {

namespace {

std::atomic<SubclassDispatcher*> g_dispatcher{nullptr};

HWND Hwnd(WindowHandle hwnd) { return reinterpret_cast<HWND>(hwnd); }

LRESULT CALLBACK SubclassTrampoline(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  SubclassDispatcher* dispatcher = g_dispatcher.load();
  if (!dispatcher) return DefWindowProcW(hwnd, message, wparam, lparam);
  // An exception must not unwind through the system's frames around us.
  try {
    return dispatcher->Dispatch(reinterpret_cast<WindowHandle>(hwnd), message, wparam, lparam);
  } catch (...) {
    return 0;
  }
}

class Win32SubclassWindows : public WindowSystem {
 public:
  bool IsWindow(WindowHandle hwnd) override { return hwnd != 0 && ::IsWindow(Hwnd(hwnd)); }
  uint32_t WindowProcessId(WindowHandle hwnd) override {
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(Hwnd(hwnd), &pid)) return 0;
    return pid;
  }
  uint32_t CurrentProcessId() override { return GetCurrentProcessId(); }
  WindowProcAddress SubclassProc() override { return reinterpret_cast<WindowProcAddress>(&SubclassTrampoline); }
  void SetDispatcher(SubclassDispatcher* dispatcher) override { g_dispatcher.store(dispatcher); }
  WindowProcAddress SetWindowProc(WindowHandle hwnd, WindowProcAddress proc) override {
    return static_cast<WindowProcAddress>(SetWindowLongPtrW(Hwnd(hwnd), GWLP_WNDPROC, static_cast<LONG_PTR>(proc)));
  }
  WindowProcAddress GetWindowProc(WindowHandle hwnd) override {
    return static_cast<WindowProcAddress>(GetWindowLongPtrW(Hwnd(hwnd), GWLP_WNDPROC));
  }
  std::intptr_t CallProc(WindowProcAddress proc, WindowHandle hwnd, uint32_t message, std::uintptr_t wparam,
                         std::intptr_t lparam) override {
    if (proc == 0) return DefWindowProcW(Hwnd(hwnd), message, wparam, lparam);
    return CallWindowProcW(reinterpret_cast<WNDPROC>(proc), Hwnd(hwnd), message, wparam, lparam);
  }
  bool SetProperty(WindowHandle hwnd, const std::string& name, std::intptr_t value) override {
    return SetPropW(Hwnd(hwnd), Wide(name).c_str(), reinterpret_cast<HANDLE>(value)) != FALSE;
  }
  std::intptr_t GetProperty(WindowHandle hwnd, const std::string& name) override {
    return reinterpret_cast<std::intptr_t>(GetPropW(Hwnd(hwnd), Wide(name).c_str()));
  }
  void RemoveProperty(WindowHandle hwnd, const std::string& name) override {
    RemovePropW(Hwnd(hwnd), Wide(name).c_str());
  }
};

}  // namespace

WindowSystem& SubclassWindows() {
  static Win32SubclassWindows windows;
  return windows;
}

}  // namespace krv::win32
