// Whether a data backend lies on another computer, and which one: a UNC
// name, a mapped network drive (Windows) or a network file system such as
// NFS or CIFS (POSIX).
#pragma once

#include <string>
#include <string_view>

namespace krv {

// True for a UNC name or a path on a network drive or file system; false
// for local paths and when the system cannot tell.
bool IsNetworkPath(const std::string& path);

// The server of a network path: the first part of a UNC name, else what the
// system knows of the drive or mount; "" when unknown.
std::string NetworkServerName(const std::string& path);

// "\\server\share\x" (or with forward slashes) gives "server"; "" for
// anything else.
std::string UncServerName(std::string_view path);

// The host of a mount source: "server:/export" and "//server/share" give
// "server"; "" for a local device such as "/dev/sda1".
std::string MountSourceHost(std::string_view source);

}  // namespace krv
