// The screen's mouse pointer over the UI host: the hourglass while the
// starter works, the default one otherwise. The message service sets it to
// the default around every message box.
#pragma once

#include "base/cuAppError.h"
#include "ui/UiHost.h"

namespace krv {

class ScreenPointer final : public MousePointerOwner {
 public:
  explicit ScreenPointer(UiHost& ui) : ui_(ui) {}
  int MousePointer() const override { return pointer_; }
  void SetMousePointer(int pointer) override {
    pointer_ = pointer;
    ui_.SetBusyCursor(pointer == kMousePointerHourglass);
  }

 private:
  UiHost& ui_;
  int pointer_ = kMousePointerDefault;
};

}  // namespace krv
