#include "suite/mLibFunctions_AppRunEx.h"

namespace krv {

bool AppRunEx(Shell& shell, cuAppError& err, const std::string& file, const std::string& args,
              const std::string& directory, int32_t /*owner_window*/, int32_t show, bool wait, bool elevate,
              std::string* why) {
  try {
    ShellStart start;
    start.file = file;
    start.args = args;
    start.directory = directory;
    start.show = show;
    start.wait = wait;
    start.elevate = elevate;
    return shell.Start(start, why);
  } catch (...) {
    err.ErrRaise(0, "mLibFunctions", "AppRunEx");
  }
  return false;
}

}  // namespace krv
