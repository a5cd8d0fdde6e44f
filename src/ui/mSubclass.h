// Window subclassing: objects register for chosen messages of a window of
// this process. The window's procedure is replaced once, on the first
// registration, and put back when the last one goes; all bookkeeping lives
// in window properties (H = window, M = message, both signed decimal):
//   H        previous window procedure
//   H C      registrations on the window, all messages together
//   H#M C    handlers registered for message M
//   H#M#i    pointer of the i-th handler (1-based, registration order)
// Handlers are not owned: each must stay alive until it is detached.
#pragma once

#include <cstdint>
#include <string>

#include "ui/WindowSystem.h"

namespace krv {

// Values of IkrvLibSubclass::MsgResponse: when the window's previous procedure runs.
inline constexpr int32_t kMsgConsume = 0;      // not at all: the handler consumes the message
inline constexpr int32_t kMsgPostProcess = 1;  // after the handlers
inline constexpr int32_t kMsgPreProcess = 2;   // before the handlers

class IkrvLibSubclass {
 public:
  virtual ~IkrvLibSubclass() = default;
  virtual int32_t MsgResponse() const = 0;
  virtual void SetMsgResponse(int32_t response) = 0;
  virtual std::intptr_t WindowProc(WindowHandle hwnd, uint32_t message, std::uintptr_t wparam,
                                   std::intptr_t lparam) = 0;
};

inline constexpr int32_t kErrCantSubclass = 13081;
inline constexpr int32_t kErrMessageHandled = 13082;
inline constexpr int32_t kErrInvalidWindow = 13083;
inline constexpr int32_t kErrExternalWindow = 13084;
// Numbers above 1000 are raised as object errors: this base plus the number.
inline constexpr int32_t kSubclassObjectErrorBase = -2147221504;  // 0x80040000 as signed

class mSubclass : public SubclassDispatcher {
 public:
  // `program_name` is the executable's name without extension; it heads the
  // source of the errors raised here. Becomes the dispatcher of `windows`.
  mSubclass(WindowSystem& windows, std::string program_name);
  ~mSubclass() override;
  mSubclass(const mSubclass&) = delete;
  mSubclass& operator=(const mSubclass&) = delete;

  // Throws KrvError 13083 (invalid window), 13084 (window of another
  // process), 13081 (procedure not replaceable) or 13082 (handler already
  // registered for the message); each leaves the properties unchanged.
  void AttachMessage(IkrvLibSubclass* handler, WindowHandle hwnd, uint32_t message);
  // Removes a registration; a handler not registered for the message changes nothing.
  void DetachMessage(IkrvLibSubclass* handler, WindowHandle hwnd, uint32_t message);
  // The procedure of every subclassed window.
  std::intptr_t SubclassWindowProc(WindowHandle hwnd, uint32_t message, std::uintptr_t wparam, std::intptr_t lparam);
  std::intptr_t Dispatch(WindowHandle hwnd, uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) override {
    return SubclassWindowProc(hwnd, message, wparam, lparam);
  }

  bool IsLocalWindow(WindowHandle hwnd);
  // Throws the KrvError for `number` (see kErr* above).
  [[noreturn]] void RaiseSubclassError(int32_t number) const;

 private:
  WindowSystem& windows_;
  std::string program_name_;
};

// Description of the errors 13081 to 13084, "" for other numbers.
std::string SubclassErrorDescription(int32_t number);

}  // namespace krv
