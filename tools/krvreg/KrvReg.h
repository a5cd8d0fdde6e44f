// krvreg: the reg.exe operations QUERY, ADD, DELETE, IMPORT and EXPORT, with
// reg.exe's syntax, output and exit codes, over any Registry.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace krv {

// `args` are the arguments after the program name. Questions ("... (Yes/No)?")
// are read from `in`; the end of `in` answers No. Returns the exit code: 0 on
// success, 1 on failure or when the user declined.
int RunKrvReg(const std::vector<std::string>& args, Registry& reg, std::istream& in, std::ostream& out,
              std::ostream& err);

}  // namespace krv
