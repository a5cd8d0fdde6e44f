#include "testing/FakeShell.h"

#include "base/Text.h"

namespace krv {

bool FakeShell::Start(const ShellStart& start, std::string* err) {
  if (fail_files.contains(LowerCase(start.file))) {
    if (err) *err = "ShellExecuteEx(" + start.file + "): file not found";
    return false;
  }
  started.push_back(start);
  return true;
}

}  // namespace krv
