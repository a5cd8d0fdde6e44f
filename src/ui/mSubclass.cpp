#include "ui/mSubclass.h"

#include <utility>
#include <vector>

#include "base/KrvError.h"

namespace krv {

namespace {

std::string WindowKey(WindowHandle hwnd) { return std::to_string(hwnd); }
std::string CountKey(WindowHandle hwnd) { return WindowKey(hwnd) + "C"; }
std::string MessageKey(WindowHandle hwnd, uint32_t message) {
  return WindowKey(hwnd) + "#" + std::to_string(static_cast<int32_t>(message));
}
std::string MessageCountKey(WindowHandle hwnd, uint32_t message) { return MessageKey(hwnd, message) + "C"; }
std::string EntryKey(WindowHandle hwnd, uint32_t message, std::intptr_t i) {
  return MessageKey(hwnd, message) + "#" + std::to_string(i);
}

std::intptr_t Address(const IkrvLibSubclass* handler) { return reinterpret_cast<std::intptr_t>(handler); }

// The handlers registered for the message, in registration order.
std::vector<std::intptr_t> Entries(WindowSystem& windows, WindowHandle hwnd, uint32_t message) {
  std::vector<std::intptr_t> entries;
  const std::intptr_t n = windows.GetProperty(hwnd, MessageCountKey(hwnd, message));
  for (std::intptr_t i = 1; i <= n; ++i) entries.push_back(windows.GetProperty(hwnd, EntryKey(hwnd, message, i)));
  return entries;
}

bool IsRegistered(WindowSystem& windows, WindowHandle hwnd, uint32_t message, std::intptr_t handler) {
  for (std::intptr_t entry : Entries(windows, hwnd, message)) {
    if (entry == handler) return true;
  }
  return false;
}

}  // namespace

std::string SubclassErrorDescription(int32_t number) {
  switch (number) {
    case kErrCantSubclass:
      return "Can't subclass window";
    case kErrMessageHandled:
      return "Message already handled by another class";
    case kErrInvalidWindow:
      return "Invalid window";
    case kErrExternalWindow:
      return "Can't modify external window";
    default:
      return "";
  }
}

mSubclass::mSubclass(WindowSystem& windows, std::string program_name)
    : windows_(windows), program_name_(std::move(program_name)) {
  windows_.SetDispatcher(this);
}

mSubclass::~mSubclass() { windows_.SetDispatcher(nullptr); }

bool mSubclass::IsLocalWindow(WindowHandle hwnd) {
  return windows_.WindowProcessId(hwnd) == windows_.CurrentProcessId();
}

void mSubclass::RaiseSubclassError(int32_t number) const {
  if (number <= 1000) {
    throw KrvError(number, program_name_,
                   number == 5 ? "Unzulässiger Prozeduraufruf oder ungültiges Argument"
                               : "Anwendungs- oder objektdefinierter Fehler");
  }
  throw KrvError(kSubclassObjectErrorBase + number, program_name_ + ".WindowProc", SubclassErrorDescription(number));
}

void mSubclass::AttachMessage(IkrvLibSubclass* handler, WindowHandle hwnd, uint32_t message) {
  if (!handler) RaiseSubclassError(5);
  if (!windows_.IsWindow(hwnd)) RaiseSubclassError(kErrInvalidWindow);
  if (!IsLocalWindow(hwnd)) RaiseSubclassError(kErrExternalWindow);
  // Checked before the window's count moves, so a refused registration
  // leaves nothing to undo.
  const std::vector<std::intptr_t> entries = Entries(windows_, hwnd, message);
  for (std::intptr_t entry : entries) {
    if (entry == Address(handler)) RaiseSubclassError(kErrMessageHandled);
  }

  const std::intptr_t count = windows_.GetProperty(hwnd, CountKey(hwnd));
  if (count != 0) {
    windows_.SetProperty(hwnd, CountKey(hwnd), count + 1);
  } else {
    const WindowProcAddress previous = windows_.SetWindowProc(hwnd, windows_.SubclassProc());
    if (previous == 0) RaiseSubclassError(kErrCantSubclass);
    if (!windows_.SetProperty(hwnd, WindowKey(hwnd), previous) || !windows_.SetProperty(hwnd, CountKey(hwnd), 1)) {
      // Without the stored procedure no message could be passed on.
      windows_.SetWindowProc(hwnd, previous);
      windows_.RemoveProperty(hwnd, WindowKey(hwnd));
      windows_.RemoveProperty(hwnd, CountKey(hwnd));
      RaiseSubclassError(kErrCantSubclass);
    }
  }
  const auto n = static_cast<std::intptr_t>(entries.size());
  windows_.SetProperty(hwnd, MessageCountKey(hwnd, message), n + 1);
  windows_.SetProperty(hwnd, EntryKey(hwnd, message, n + 1), Address(handler));
}

void mSubclass::DetachMessage(IkrvLibSubclass* handler, WindowHandle hwnd, uint32_t message) {
  const std::vector<std::intptr_t> entries = Entries(windows_, hwnd, message);
  const auto n = static_cast<std::intptr_t>(entries.size());
  std::intptr_t found = 0;
  for (std::intptr_t i = 1; i <= n && found == 0; ++i) {
    if (entries[i - 1] == Address(handler)) found = i;
  }
  // Counting down for a handler that holds no entry would put the window's
  // procedure back while other handlers still wait for their messages.
  if (found == 0) return;

  for (std::intptr_t j = found + 1; j <= n; ++j)
    windows_.SetProperty(hwnd, EntryKey(hwnd, message, j - 1), entries[j - 1]);
  windows_.RemoveProperty(hwnd, EntryKey(hwnd, message, n));
  if (n > 1) {
    windows_.SetProperty(hwnd, MessageCountKey(hwnd, message), n - 1);
  } else {
    windows_.RemoveProperty(hwnd, MessageCountKey(hwnd, message));
  }

  const std::intptr_t count = windows_.GetProperty(hwnd, CountKey(hwnd));
  if (count > 1) {
    windows_.SetProperty(hwnd, CountKey(hwnd), count - 1);
    return;
  }
  const WindowProcAddress previous = windows_.GetProperty(hwnd, WindowKey(hwnd));
  if (previous != 0) windows_.SetWindowProc(hwnd, previous);
  windows_.RemoveProperty(hwnd, WindowKey(hwnd));
  windows_.RemoveProperty(hwnd, CountKey(hwnd));
}

std::intptr_t mSubclass::SubclassWindowProc(WindowHandle hwnd, uint32_t message, std::uintptr_t wparam,
                                            std::intptr_t lparam) {
  const WindowProcAddress previous = windows_.GetProperty(hwnd, WindowKey(hwnd));
  const auto call_previous = [&] { return windows_.CallProc(previous, hwnd, message, wparam, lparam); };
  // A copy: a handler may detach itself or others while it runs.
  const std::vector<std::intptr_t> handlers = Entries(windows_, hwnd, message);
  if (handlers.empty()) return call_previous();

  bool handled = false;
  std::intptr_t result = 0;
  const size_t last = handlers.size() - 1;
  for (size_t i = 0; i < handlers.size(); ++i) {
    const std::intptr_t p = handlers[i];
    if (p == 0) {
      result = call_previous();
      continue;
    }
    // One detached by an earlier handler may already be destroyed.
    if (i > 0 && !IsRegistered(windows_, hwnd, message, p)) continue;
    auto* handler = reinterpret_cast<IkrvLibSubclass*>(p);
    // Read before the handler runs: it may detach and destroy itself inside
    // WindowProc (the start menu unloads on deactivation).
    const int32_t response = handler->MsgResponse();
    if (i == 0 && response == kMsgPreProcess && !handled) {
      result = call_previous();
      handled = true;
    }
    result = handler->WindowProc(hwnd, message, wparam, lparam);
    if (i == last && response == kMsgPostProcess && !handled) {
      result = call_previous();
      handled = true;
    }
  }
  return result;
}

}  // namespace krv
