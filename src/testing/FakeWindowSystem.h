// In-memory window system for the subclassing tests: windows with a
// procedure, an owning process and a property table. Send() delivers a
// message the way Windows does, through the window's current procedure.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "ui/WindowSystem.h"

namespace krv {

class FakeWindowSystem : public WindowSystem {
 public:
  using Proc = std::function<std::intptr_t(WindowHandle, uint32_t, std::uintptr_t, std::intptr_t)>;
  static constexpr WindowProcAddress kSubclassProc = 0x5000;

  struct Window {
    WindowProcAddress proc = 0;
    uint32_t process_id = 0;
    std::map<std::string, std::intptr_t> props;
  };

  std::map<WindowHandle, Window> windows;
  std::map<WindowProcAddress, Proc> procs;
  SubclassDispatcher* dispatcher = nullptr;
  bool fail_set_window_proc = false;

  // Registers `proc` and gives the new window `hwnd` that procedure.
  void AddWindow(WindowHandle hwnd, Proc proc, uint32_t process_id = 4711) {
    const WindowProcAddress address = 0x1000 + static_cast<WindowProcAddress>(procs.size());
    procs[address] = std::move(proc);
    windows[hwnd] = Window{address, process_id, {}};
  }
  std::intptr_t Send(WindowHandle hwnd, uint32_t message, std::uintptr_t wparam = 0, std::intptr_t lparam = 0) {
    return CallProc(windows.at(hwnd).proc, hwnd, message, wparam, lparam);
  }

  bool IsWindow(WindowHandle hwnd) override { return windows.count(hwnd) != 0; }
  uint32_t WindowProcessId(WindowHandle hwnd) override { return IsWindow(hwnd) ? windows[hwnd].process_id : 0; }
  uint32_t CurrentProcessId() override { return 4711; }
  WindowProcAddress SubclassProc() override { return kSubclassProc; }
  void SetDispatcher(SubclassDispatcher* d) override { dispatcher = d; }
  WindowProcAddress SetWindowProc(WindowHandle hwnd, WindowProcAddress proc) override {
    if (fail_set_window_proc || !IsWindow(hwnd)) return 0;
    WindowProcAddress previous = windows[hwnd].proc;
    windows[hwnd].proc = proc;
    return previous;
  }
  WindowProcAddress GetWindowProc(WindowHandle hwnd) override { return IsWindow(hwnd) ? windows[hwnd].proc : 0; }
  std::intptr_t CallProc(WindowProcAddress proc, WindowHandle hwnd, uint32_t message, std::uintptr_t wparam,
                         std::intptr_t lparam) override {
    if (proc == kSubclassProc) return dispatcher ? dispatcher->Dispatch(hwnd, message, wparam, lparam) : 0;
    auto it = procs.find(proc);
    return it == procs.end() ? 0 : it->second(hwnd, message, wparam, lparam);
  }
  bool SetProperty(WindowHandle hwnd, const std::string& name, std::intptr_t value) override {
    if (!IsWindow(hwnd)) return false;
    windows[hwnd].props[name] = value;
    return true;
  }
  std::intptr_t GetProperty(WindowHandle hwnd, const std::string& name) override {
    if (!IsWindow(hwnd)) return 0;
    auto it = windows[hwnd].props.find(name);
    return it == windows[hwnd].props.end() ? 0 : it->second;
  }
  void RemoveProperty(WindowHandle hwnd, const std::string& name) override {
    if (IsWindow(hwnd)) windows[hwnd].props.erase(name);
  }
};

}  // namespace krv
