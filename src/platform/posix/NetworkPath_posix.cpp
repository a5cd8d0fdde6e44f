// POSIX only: network file systems recognised by statfs, their server from
// the mount table.
#include <sys/vfs.h>

#include <fstream>
#include <sstream>

#include "platform/NetworkPath.h"
#include "platform/posix/NativePath_posix.h"

namespace krv {
namespace {

// f_type of file systems that live on another computer.
constexpr unsigned long kNetworkFileSystems[] = {
    0x6969,      // NFS
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x517B,      // SMB
    0x5346414F,  // AFS
    0x00C36400,  // Ceph
    0x01021997,  // 9P
};

// The path itself when it exists, else its nearest existing folder.
bool StatNearest(std::string native, struct statfs* out) {
  for (;;) {
    if (statfs(native.c_str(), out) == 0) return true;
    const size_t slash = native.find_last_of('/');
    if (slash == std::string::npos || native == "/") return false;
    native = slash == 0 ? "/" : native.substr(0, slash);
  }
}

bool NativeOf(const std::string& path, std::string* native) {
  std::string err;
  return FindNativePath(path, native, &err);
}

// "\040" and friends in /proc/self/mounts.
std::string Unescape(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    const bool octal = field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3';
    if (octal) {
      out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

bool UnderMount(const std::string& native, const std::string& mount) {
  if (mount == "/") return true;
  return native.starts_with(mount) && (native.size() == mount.size() || native[mount.size()] == '/');
}

}  // namespace

bool IsNetworkPath(const std::string& path) {
  if (!UncServerName(path).empty()) return true;
  std::string native;
  struct statfs fs {};
  if (!NativeOf(path, &native) || !StatNearest(native, &fs)) return false;
  for (const unsigned long type : kNetworkFileSystems) {
    if (static_cast<unsigned long>(fs.f_type) == type) return true;
  }
  return false;
}

std::string NetworkServerName(const std::string& path) {
  if (std::string server = UncServerName(path); !server.empty()) return server;
  std::string native;
  if (!NativeOf(path, &native)) return {};
  std::ifstream mounts("/proc/self/mounts");
  std::string line, best_mount, best_source;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string source, mount;
    if (!(fields >> source >> mount)) continue;
    mount = Unescape(mount);
    if (UnderMount(native, mount) && mount.size() >= best_mount.size()) {
      best_mount = mount;
      best_source = Unescape(source);
    }
  }
  return MountSourceHost(best_source);
}

}  // namespace krv
