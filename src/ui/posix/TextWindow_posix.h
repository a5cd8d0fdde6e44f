// POSIX only: the modal text window on the terminal. A box drawn by the
// shared terminal layer shows the text, wrapped to the box; the arrow, page,
// Home and End keys scroll it; Tab and the left and right arrows move between
// OK and "Abbrechen", Enter or Space presses the focused one, Escape, Ctrl+C
// and the end of input decline. Without a terminal on both sides the text is
// printed to `plain_fd` and the answer read as a message box's (OK on an
// empty line).
#pragma once

#include "ui/TextWindow.h"

namespace krv {

bool RunTerminalTextWindow(const TextWindowArgs& args, int in_fd, int out_fd, int plain_fd);

}  // namespace krv
