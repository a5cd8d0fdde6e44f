#include "platform/NetworkPath.h"

namespace krv {
namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string UncServerName(std::string_view path) {
  if (path.size() < 3 || !IsSlash(path[0]) || !IsSlash(path[1]) || IsSlash(path[2])) return {};
  const std::string_view rest = path.substr(2);
  const size_t end = rest.find_first_of("\\/");
  // "\\?\C:\..." and "\\.\..." are local device paths, not servers.
  const std::string_view server = rest.substr(0, end);
  if (server == "?" || server == ".") return {};
  return std::string(server);
}

std::string MountSourceHost(std::string_view source) {
  if (source.starts_with("//") || source.starts_with("\\\\")) return UncServerName(source);
  // NFS and friends: "host:/export".
  const size_t colon = source.find(":/");
  if (colon == std::string_view::npos || colon == 0) return {};
  const std::string_view host = source.substr(0, colon);
  // "[fe80::1]:/export": an address in brackets.
  std::string_view name = host;
  if (host.front() == '[') {
    const size_t close = source.find("]:");
    if (close == std::string_view::npos) return {};
    name = source.substr(1, close - 1);
  }
  if (name.find_first_of("\\/") != std::string_view::npos) return {};
  return std::string(name);
}

}  // namespace krv
