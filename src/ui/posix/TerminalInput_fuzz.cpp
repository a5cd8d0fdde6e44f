// Decoding must not crash on any bytes, must give the same inputs however
// the bytes are split, and must keep only a bounded unfinished rest.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ui/posix/TerminalInput_posix.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t step = 1 + data[0] % 7;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<krv::TermInput> whole, pieces;
  krv::TerminalInputDecoder a, b;
  a.Feed(bytes, whole);
  a.Flush(whole);
  for (size_t i = 0; i < bytes.size(); i += step) b.Feed(bytes.substr(i, step), pieces);
  b.Flush(pieces);
  if (whole != pieces) std::abort();
  for (const auto& in : whole) {
    if (in.col < 0 || in.row < 0 || in.key < 0 || in.key > 255) std::abort();
  }
  return 0;
}
