// POSIX only: the input loop of a terminal dialog that serves itself while
// it is shown (the settings dialog, the permission notice), and the text
// helpers they share.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/posix/Terminal_posix.h"

namespace krv {

// Reads and decodes the input of `terminal` and hands each to `handle`,
// calling `draw` before every wait, until `done` is true or `alive` goes
// false. Signals: a resize redraws, SIGINT/SIGHUP/SIGTERM arrive as
// kInterrupt. False when the input ended before `done`.
bool ServeTerminal(Terminal& terminal, const std::function<void(const TermInput&)>& handle,
                   const std::function<void()>& draw, const std::function<bool()>& done,
                   const std::shared_ptr<bool>& alive);

// `text` broken at blanks into lines of at most `width` characters.
std::vector<std::string> WrapText(const std::string& text, int width);

// `text` in `width` characters: a longer one keeps its end behind "…".
std::string FitEnd(const std::string& text, int width);

// Redraws the start menus still shown behind a closed dialog.
void RedrawTerminalMenus();

}  // namespace krv
