#include "ui/PathCompletion.h"

#include "base/Text.h"

namespace krv {
namespace {

// Length in bytes of the common beginning of `a` and `b`, ignoring case,
// whole UTF-8 characters only.
size_t CommonPrefix(const std::string& a, const std::string& b) {
  size_t i = 0, last_whole = 0;
  while (i < a.size() && i < b.size()) {
    size_t n = 1;
    while (i + n < a.size() && (static_cast<unsigned char>(a[i + n]) & 0xC0) == 0x80) ++n;
    if (!IEquals(std::string_view(a).substr(i, n), std::string_view(b).substr(i, n))) break;
    i += n;
    last_whole = i;
  }
  return last_whole;
}

}  // namespace

PathCompletion CompletePath(FileSystem& fs, const std::string& typed) {
  PathCompletion out{typed, {}};
  const size_t cut = typed.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? std::string() : typed.substr(0, cut + 1);
  const std::string part = typed.substr(folder.size());
  // Wildcards typed by the user are no names to complete.
  if (part.find_first_of("*?") != std::string::npos) return out;
  for (const DirEntry& e : fs.List(folder + "*")) {
    if (IStartsWith(e.name, part)) out.candidates.push_back(e.is_folder ? e.name + "\\" : e.name);
  }
  if (out.candidates.empty()) return out;
  std::string common = out.candidates.front();
  for (const std::string& c : out.candidates) common.resize(CommonPrefix(common, c));
  if (common.size() >= part.size()) out.text = folder + common;
  return out;
}

}  // namespace krv
