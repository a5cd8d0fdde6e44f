// Records every start; `fail_files` lists programs (folded) that fail to start.
#pragma once

#include <set>
#include <vector>

#include "base/Text.h"
#include "platform/Shell.h"

namespace krv {

class FakeShell : public Shell {
 public:
  std::vector<ShellStart> started;
  std::set<std::string> fail_files;

  bool Start(const ShellStart& start, std::string* err) override {
    if (!fail_files.contains(LowerCase(start.file))) {
      started.push_back(start);
      return true;
    }
    if (err) *err = "ShellExecuteEx(" + start.file + "): file not found";
    return false;
  }
};

}  // namespace krv
