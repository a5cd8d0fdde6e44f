#include "base/WinPath.h"

#include "base/Text.h"

namespace krv {

std::string WinPathFolder(std::string_view path) {
  const size_t pos = path.find_last_of("\\/");
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string WinPathName(std::string_view path) {
  const size_t pos = path.find_last_of("\\/");
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string WinPathStem(std::string_view path) {
  std::string name = WinPathName(path);
  if (IEndsWith(name, ".exe")) name.resize(name.size() - 4);
  return name;
}

std::string WinPathJoin(std::string_view folder, std::string_view name) {
  std::string out(folder);
  while (!out.empty() && out.back() == '\\') out.pop_back();
  size_t skip = 0;
  while (skip < name.size() && name[skip] == '\\') ++skip;
  if (!out.empty() || !folder.empty()) out += '\\';
  out.append(name.substr(skip));
  return out;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  const std::string p = LowerCase(pattern);
  const std::string n = LowerCase(name);
  // Iterative matcher with one backtrack point for the last '*'.
  size_t pi = 0, ni = 0, star = std::string::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      mark = ni;
    } else if (star != std::string::npos) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace krv
