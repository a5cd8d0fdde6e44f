// Win32 code only: message boxes through MessageBoxW.
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"

namespace krv::win32 {
namespace {

class Win32Dialogs : public Dialogs {
 public:
  // Owned by the active window of this thread, so the box stays in front of our forms.
  int MessageBox(const std::string& text, const std::string& caption, int style) override {
    return MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(caption).c_str(), static_cast<UINT>(style));
  }
};

}  // namespace

std::unique_ptr<Dialogs> NewDialogs() { return std::make_unique<Win32Dialogs>(); }

}  // namespace krv::win32
