// The few window-system calls that window subclassing needs, so its
// bookkeeping runs the same over the real Win32 functions and over a fake.
// Handles and procedure addresses are opaque pointer-sized numbers.
#pragma once

#include <cstdint>
#include <string>

namespace krv {

using WindowHandle = std::intptr_t;
using WindowProcAddress = std::intptr_t;

// Receives every message of a subclassed window (see SubclassProc below).
class SubclassDispatcher {
 public:
  virtual ~SubclassDispatcher() = default;
  virtual std::intptr_t Dispatch(WindowHandle hwnd, uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  virtual bool IsWindow(WindowHandle hwnd) = 0;
  // Process that owns the window; 0 when it cannot be told.
  virtual uint32_t WindowProcessId(WindowHandle hwnd) = 0;
  virtual uint32_t CurrentProcessId() = 0;

  // Address of the window procedure that hands every message to the dispatcher.
  virtual WindowProcAddress SubclassProc() = 0;
  // Routes the messages reaching SubclassProc; nullptr stops it.
  virtual void SetDispatcher(SubclassDispatcher* dispatcher) = 0;
  // Replaces the window's procedure; returns the previous one, 0 on failure.
  virtual WindowProcAddress SetWindowProc(WindowHandle hwnd, WindowProcAddress proc) = 0;
  virtual WindowProcAddress GetWindowProc(WindowHandle hwnd) = 0;
  virtual std::intptr_t CallProc(WindowProcAddress proc, WindowHandle hwnd, uint32_t message, std::uintptr_t wparam,
                                 std::intptr_t lparam) = 0;

  // Window properties; a missing property reads as 0.
  virtual bool SetProperty(WindowHandle hwnd, const std::string& name, std::intptr_t value) = 0;
  virtual std::intptr_t GetProperty(WindowHandle hwnd, const std::string& name) = 0;
  virtual void RemoveProperty(WindowHandle hwnd, const std::string& name) = 0;
};

}  // namespace krv
