// The fuzz targets' assertion: a broken property ends the run as a crash,
// which libFuzzer and the seed replay of the tests both report with the input.
#pragma once

#include <cstdlib>

namespace krv {

inline void FuzzCheck(bool condition) {
  if (!condition) std::abort();
}

}  // namespace krv
