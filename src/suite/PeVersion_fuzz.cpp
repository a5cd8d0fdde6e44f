// Feeds arbitrary bytes to the PE version reader; a version it reports must
// have the form "a.b.c.d".
#include <cstdint>
#include <cstdlib>
#include <string>

#include "suite/PeVersion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string version;
  if (krv::PeFileVersion(std::span<const uint8_t>(data, size), &version)) {
    int dots = 0;
    for (char c : version) {
      if (c == '.') {
        ++dots;
      } else if (c < '0' || c > '9') {
        std::abort();
      }
    }
    if (dots != 3) std::abort();
  }
  return 0;
}
