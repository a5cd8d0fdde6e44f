#include "runmdb/cuRunMDB_Helpers.h"

#include <algorithm>

#include "base/Text.h"

namespace krv {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

size_t CharCount(const std::string& text, size_t bytes) {
  return static_cast<size_t>(std::count_if(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(bytes),
                                           [](char c) { return !IsContinuationByte(c); }));
}

bool ToHive(int32_t hkey, Hive* hive) {
  const auto h = static_cast<uint32_t>(hkey);
  if (h < 0x80000000u || h > 0x80000003u) return false;
  *hive = static_cast<Hive>(h);
  return true;
}

// The registry layer takes key paths without a trailing backslash; callers
// here may pass one ("...\Profiles\").
std::string KeyPath(const std::string& key) {
  std::string k = key;
  while (!k.empty() && k.back() == '\\') k.pop_back();
  return k;
}

}  // namespace

std::string cuRunMDB_Helpers::Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void cuRunMDB_Helpers::AddToString(std::string& text, const std::string& add, const std::string& separator,
                                   bool skip_empty) {
  if (text.empty()) {
    text = add;
  } else if (!(skip_empty && add.empty())) {
    text += separator + add;
  }
}

std::string cuRunMDB_Helpers::CleanString(const std::string& text) {
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) return text.substr(0, nul);
  return Trim(text);
}

int32_t cuRunMDB_Helpers::CountCharacter(const std::string& text, const std::string& ch, bool case_sensitive) {
  // A text of several characters never equals a single character.
  if (ch.empty() || CharCount(ch, ch.size()) != 1) return 0;
  const std::string hay = case_sensitive ? text : LowerCase(text);
  const std::string needle = case_sensitive ? ch : LowerCase(ch);
  int32_t count = 0;
  for (size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + needle.size())) ++count;
  return count;
}

std::string cuRunMDB_Helpers::DirUp(const std::string& path, int levels, bool use_slash) {
  const char sep = use_slash ? '/' : '\\';
  std::string root;
  std::string rest = path;
  if (!use_slash) {
    if (PathIsUNCName(path)) {
      // Root: the two leading separators, the server and the separator after
      // it; "/" counts as well, as Windows reads "//server/share" as UNC.
      size_t third = std::string::npos;
      for (size_t i = 0, found = 0; i < path.size(); ++i) {
        if ((path[i] == '\\' || path[i] == '/') && ++found == 3) {
          third = i;
          break;
        }
      }
      root = third == std::string::npos ? path : path.substr(0, third + 1);
      rest = third == std::string::npos ? "" : path.substr(third + 1);
    } else if (path.size() == 3) {
      return path;  // a drive root
    }
  }
  if (rest.empty() || rest.back() != sep) rest += sep;
  const int n = static_cast<int>(std::count(rest.begin(), rest.end(), sep));
  if (use_slash && levels >= n) {
    // Above the start of a slash path: "../" once more than the levels missing.
    std::string out;
    for (int i = 0; i <= levels - n; ++i) out += "../";
    return out + rest;
  }
  const int keep = std::max(n - levels, 1);
  size_t cut = 0;
  for (int found = 0; cut < rest.size(); ++cut) {
    if (rest[cut] == sep && ++found == keep) break;
  }
  return root + rest.substr(0, cut + 1);
}

std::string cuRunMDB_Helpers::FileExtractName(const std::string& path, bool use_slash) {
  const size_t at = path.rfind(use_slash ? '/' : '\\');
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::string cuRunMDB_Helpers::FileExtractPath(const std::string& path, bool use_slash, bool keep_separator) {
  const size_t at = path.rfind(use_slash ? '/' : '\\');
  if (at == std::string::npos) return path;
  return path.substr(0, keep_separator ? at + 1 : at);
}

std::string cuRunMDB_Helpers::FileExtractRootName(const std::string& path) {
  std::string name = path;
  if (path.find('\\') != std::string::npos) {
    name = path.substr(path.rfind('\\') + 1);
  } else if (path.find('/') != std::string::npos) {
    name = path.substr(path.rfind('/') + 1);
  }
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

int32_t cuRunMDB_Helpers::InStrEx(const std::string& text, const std::string& find, int32_t n) {
  if (n < 1 || find.empty()) return 0;
  size_t at = std::string::npos;
  size_t from = 0;
  for (int32_t i = 0; i < n; ++i) {
    at = IFind(text, find, from);
    if (at == std::string::npos) return 0;
    from = at + 1;
  }
  return static_cast<int32_t>(CharCount(text, at) + 1);
}

bool cuRunMDB_Helpers::PathIsUNCName(const std::string& path) {
  auto is_sep = [](char c) { return c == '\\' || c == '/'; };
  return path.size() >= 2 && is_sep(path[0]) && is_sep(path[1]);
}

std::string cuRunMDB_Helpers::QuoteString(std::string& text, bool force, bool trim_first) {
  if (trim_first) text = Trim(text);
  if (!force && !text.empty() && text.front() == '"' && text.back() == '"') return text;
  return "\"" + text + "\"";
}

int32_t cuRunMDB_Helpers::String2Array(const std::string& source, std::vector<std::string>* items,
                                       const std::string& separator) {
  if (source.empty()) return 0;
  std::string rest = source;
  if (separator.size() == 1 && rest.front() == separator.front()) rest.erase(0, 1);
  std::vector<std::string> out;
  size_t at = separator.empty() ? std::string::npos : IFind(rest, separator);
  if (at == std::string::npos) {
    out.push_back(Trim(rest));
  } else {
    size_t from = 0;
    for (; at != std::string::npos; at = IFind(rest, separator, from)) {
      out.push_back(Trim(rest.substr(from, at - from)));
      from = at + separator.size();
    }
    const std::string last = Trim(rest.substr(from));
    if (!last.empty()) out.push_back(last);
  }
  *items = std::move(out);
  return static_cast<int32_t>(items->size());
}

std::string cuRunMDB_Helpers::TerminateString(const std::string& text, const std::string& terminator) {
  if (text.empty() || IEndsWith(text, terminator)) return text;
  return text + terminator;
}

std::string cuRunMDB_Helpers::UnQuoteString(std::string& text) {
  text = Trim(text);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

bool cuRunMDB_Helpers::FileExists(const std::string& path) const {
  std::string p = path;
  UnQuoteString(p);
  return !p.empty() && fs_.FileExists(p);
}

std::string cuRunMDB_Helpers::RegGetSettingString(int32_t hkey, const std::string& key, const std::string& value_name,
                                                  const std::string& def) const {
  Hive hive;
  if (!ToHive(hkey, &hive)) return def;
  RegValue value;
  if (registry_.ReadValue(hive, KeyPath(key), value_name, &value, nullptr) != RegStatus::kOk) return def;
  if (value.type != kRegSz) return def;
  // As stored, with its terminating NUL: the text ends at the first NUL.
  return CleanString(value.text + '\0');
}

bool cuRunMDB_Helpers::RegValueExists(int32_t hkey, const std::string& key, const std::string& value_name) const {
  Hive hive;
  if (!ToHive(hkey, &hive)) return false;
  const std::vector<std::string> names = registry_.ValueNames(hive, KeyPath(key));
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return IEquals(n, value_name); });
}

}  // namespace krv
