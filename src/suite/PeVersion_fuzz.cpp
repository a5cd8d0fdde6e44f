// Feeds arbitrary bytes to the PE version reader; a version it reports must
// have the form "a.b.c.d", and reading only the headers and the resource
// section must give the same as reading the whole image.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "suite/PeVersion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string version;
  const bool whole = krv::PeFileVersion(std::span<const uint8_t>(data, size), &version);
  uint64_t at = 0, length = 0;
  const std::span<const uint8_t> head(data, size < 512 ? size : 512);
  if (krv::PeResourceSection(head, &at, &length) && at <= size && length <= size - at) {
    std::string parts;
    const bool two = krv::PeFileVersion(head, at, std::span<const uint8_t>(data + at, length), &parts);
    if (two && (!whole || parts != version)) std::abort();  // the parts never know more than the whole
  }
  if (whole) {
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
