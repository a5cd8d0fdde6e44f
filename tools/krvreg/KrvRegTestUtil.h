// Shared by krvreg's tests: runs the command on a registry with scripted input.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "krvreg/KrvReg.h"

namespace krv {

struct KrvRegRun {
  int code = -1;
  std::string out;
  std::string err;
};

inline KrvRegRun RunReg(Registry& reg, const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  KrvRegRun run;
  run.code = RunKrvReg(args, reg, in, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace krv
