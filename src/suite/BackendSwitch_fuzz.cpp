// Feeds arbitrary bytes to the backend header test; a recognised kind must
// carry its signature.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "suite/BackendSwitch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view head(reinterpret_cast<const char*>(data), size);
  const krv::BackendKind kind = krv::BackendKindOfHeader(head);
  if (kind == krv::BackendKind::kSqlite && head.substr(0, 6) != "SQLite") std::abort();
  if ((kind == krv::BackendKind::kJet || kind == krv::BackendKind::kAce) && head.substr(4, 9) != "Standard ")
    std::abort();
  return 0;
}
