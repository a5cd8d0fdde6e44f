// The small progress window of the loader: a caption and a block of text
// lines. Win32 shows a real window; POSIX writes each new line to the
// terminal as it arrives.
#pragma once

#include <memory>
#include <string>

#include "ui/WindowSystem.h"

namespace krv {

class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  virtual void Show(const std::string& caption) = 0;
  // Replaces the whole text; `newest` is the line just added ("" when cleared).
  virtual void SetText(const std::string& text, const std::string& newest) = 0;
  virtual void Close() = 0;
  // The window's handle, the owner of windows shown over it; 0 when it has none.
  virtual WindowHandle Handle() const { return 0; }
};

// The platform's window (the UI host hands it out).
std::unique_ptr<ProgressWindow> NewProgressWindow();

}  // namespace krv
