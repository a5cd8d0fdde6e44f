// Maps the core's Windows paths to host paths and back. Drive Z: is the root
// of the file system, as under Wine; other drives and UNC names do not exist
// here. A path without a drive letter is taken as on drive Z:.
#pragma once

#include <string>
#include <string_view>

namespace krv {

// "Z:\opt\x" and "Z:/opt/x" give "/opt/x", "\opt\x" gives "/opt/x", "a\b"
// gives "a/b" (relative to the current folder). "." and ".." are resolved by
// name, as Windows does, before the file system sees the path. False with
// `err` for an empty path, another drive or a UNC name.
bool MapWinPath(std::string_view win, std::string* native, std::string* err);

// MapWinPath, then each component that does not exist by its exact name is
// replaced by an existing entry whose name differs only in letter case
// (German umlauts included). From the first component that cannot be found
// on, the rest stays as given, so the result also names files to be created.
bool FindNativePath(std::string_view win, std::string* native, std::string* err);

// "/opt/k/krv25" gives "Z:\opt\k\krv25"; a relative path is made absolute
// against the current folder first.
std::string NativeToWinPath(std::string_view native);

}  // namespace krv
