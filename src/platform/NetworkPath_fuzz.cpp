// Feeds arbitrary text to the server-name readers of UNC names and mount
// sources (/proc/self/mounts); a server name never holds a separator.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/NetworkPath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const std::string& server : {krv::UncServerName(text), krv::MountSourceHost(text)}) {
    if (server.find_first_of("\\/") != std::string::npos) std::abort();
    if (!server.empty() && text.find(server) == std::string::npos) std::abort();
  }
  return 0;
}
