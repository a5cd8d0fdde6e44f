// The modal text window: a long text shown read-only and scrollable, with
// the buttons OK and "Abbrechen". The UI host shows it (UiHost::ShowTextWindow).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/WindowSystem.h"

namespace krv {

struct TextWindowArgs {
  std::string caption;
  std::string font_name;   // a fixed-pitch font keeps columns in line
  int32_t font_size = 8;   // points
  WindowHandle owner = 0;  // 0: no owner
  std::string text;        // lines end with CR LF (or LF)
};

inline constexpr char kTextWindowCancel[] = "Abbrechen";

// The text's lines, split at CR LF, LF or CR.
std::vector<std::string> TextWindowLines(const std::string& text);

}  // namespace krv
