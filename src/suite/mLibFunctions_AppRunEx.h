// Starting programs through the platform shell.
#pragma once

#include <cstdint>
#include <string>

#include "base/cuAppError.h"
#include "platform/Shell.h"

namespace krv {

// Starts `file` with `args` in `directory` ("" for none) with the show
// command `show` (1: normal window), elevated ("runas") when `elevate` is
// set. With `wait` it returns only when the program has ended; the platform
// shell keeps the windows painted meanwhile. True when the program was
// started (and, with `wait`, has ended). Shows nothing: a refused elevation
// or a missing program is a plain false for the caller to report.
// `owner_window` is kept for the callers' sake; the platform shell owns no
// window. An unexpected failure is passed on as "mLibFunctions: AppRunEx".
// `why`, when given, receives the shell's reason for a failed start.
bool AppRunEx(Shell& shell, cuAppError& err, const std::string& file, const std::string& args,
              const std::string& directory, int32_t owner_window, int32_t show, bool wait, bool elevate,
              std::string* why = nullptr);

}  // namespace krv
