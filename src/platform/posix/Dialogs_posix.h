// Message boxes in the terminal: caption, text and buttons go to standard
// error, the answer is read as a line from standard input, so a start can
// also be scripted. An answer is a button's name in any letter case or its
// answer number; an empty line takes the default button, as the Enter key
// does in a message box, and so does the end of input. Anything else asks
// again.
#pragma once

#include <iosfwd>
#include <string>

#include "base/Dialogs.h"

namespace krv {

class TerminalDialogs final : public Dialogs {
 public:
  TerminalDialogs();  // standard input and standard error
  TerminalDialogs(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

  int MessageBox(const std::string& text, const std::string& caption, int style) override;

 private:
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace krv
