// Starting programs through the platform shell.
#pragma once

#include <string>

namespace krv {

struct ShellStart {
  std::string file;       // Windows path of the program (or a name found on the search path)
  std::string args;       // argument text, Windows command-line rules
  std::string directory;  // working folder; empty: the current one
  int show = 1;           // SW_* number
  bool wait = false;      // return only when the program has ended
  bool elevate = false;   // ask for administrator rights
};

class Shell {
 public:
  virtual ~Shell() = default;
  // True when the program was started (and, with `wait`, has ended).
  virtual bool Start(const ShellStart& start, std::string* err) = 0;
};

}  // namespace krv
