// POSIX only: Windows path mapping with drive Z: as the file system root.
#include "platform/posix/NativePath_posix.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/Text.h"

namespace krv {
namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> SplitComponents(std::string_view rest) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < rest.size()) {
    while (i < rest.size() && IsSep(rest[i])) ++i;
    const size_t start = i;
    while (i < rest.size() && !IsSep(rest[i])) ++i;
    if (i > start) parts.emplace_back(rest.substr(start, i - start));
  }
  return parts;
}

// Drops "." and folds ".." into its parent; ".." above the root stays at the
// root, ".." at the start of a relative path is kept.
std::vector<std::string> Normalize(const std::vector<std::string>& parts, bool absolute) {
  std::vector<std::string> out;
  for (const auto& part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (!out.empty() && out.back() != "..") {
        out.pop_back();
      } else if (!absolute) {
        out.push_back(part);
      }
      continue;
    }
    out.push_back(part);
  }
  return out;
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name equals `name` ignoring letter case; the
// smallest such name when there are several, so the choice is repeatable.
bool FindIgnoringCase(const std::string& folder, const std::string& name, std::string* found) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return false;
  const std::string wanted = LowerCase(name);
  bool any = false;
  while (const dirent* entry = readdir(dir)) {
    const std::string candidate = entry->d_name;
    if (LowerCase(candidate) != wanted) continue;
    if (!any || candidate < *found) *found = candidate;
    any = true;
  }
  closedir(dir);
  return any;
}

std::string JoinNative(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// Splits `win` into "absolute?" and its components; false for what has no
// place on this system.
bool ParseWinPath(std::string_view win, bool* absolute, std::vector<std::string>* parts, std::string* err) {
  auto fail = [&](const char* reason) {
    if (err) *err = "NativePath(" + std::string(win) + "): " + reason;
    return false;
  };
  if (win.empty()) return fail("empty path");
  if (win.size() >= 2 && IsSep(win[0]) && IsSep(win[1])) return fail("network names are not available on this system");
  std::string_view rest = win;
  *absolute = IsSep(win[0]);
  if (win.size() >= 2 && win[1] == ':') {
    const char drive = win[0];
    if (drive != 'Z' && drive != 'z') return fail("only drive Z: exists on this system");
    rest = win.substr(2);
    *absolute = !rest.empty() && IsSep(rest[0]);  // "Z:x" is relative to the current folder
  }
  *parts = Normalize(SplitComponents(rest), *absolute);
  return true;
}

std::string Assemble(bool absolute, const std::vector<std::string>& parts, bool trailing_sep) {
  std::string out = absolute ? "/" : "";
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) out += '/';
    out += parts[k];
  }
  if (out.empty()) return ".";
  if (trailing_sep && out.back() != '/') out += '/';
  return out;
}

}  // namespace

bool MapWinPath(std::string_view win, std::string* native, std::string* err) {
  bool absolute = false;
  std::vector<std::string> parts;
  if (!ParseWinPath(win, &absolute, &parts, err)) return false;
  *native = Assemble(absolute, parts, IsSep(win.back()) && !parts.empty());
  return true;
}

bool FindNativePath(std::string_view win, std::string* native, std::string* err) {
  bool absolute = false;
  std::vector<std::string> parts;
  if (!ParseWinPath(win, &absolute, &parts, err)) return false;
  std::string path = absolute ? "/" : "";
  bool searching = true;
  for (const auto& part : parts) {
    std::string next = JoinNative(path, part);
    if (searching && part != ".." && !Exists(next)) {
      std::string found;
      if (FindIgnoringCase(path, part, &found)) {
        next = JoinNative(path, found);
      } else {
        searching = false;  // nothing below a missing folder can be found
      }
    }
    path = std::move(next);
  }
  if (path.empty()) path = ".";
  if (IsSep(win.back()) && path.back() != '/' && !parts.empty()) path += '/';
  *native = path;
  return true;
}

std::string NativeToWinPath(std::string_view native) {
  std::string absolute(native);
  if (absolute.empty() || absolute[0] != '/') {
    if (char* cwd = getcwd(nullptr, 0)) {
      absolute = JoinNative(cwd, absolute);
      free(cwd);
    }
  }
  const std::vector<std::string> parts = Normalize(SplitComponents(absolute), true);
  std::string out = "Z:";
  for (const auto& part : parts) out += "\\" + part;
  if (parts.empty() || (!native.empty() && native.back() == '/')) out += '\\';
  return out;
}

}  // namespace krv
