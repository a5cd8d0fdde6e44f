#include "runmdb/cuRunMDB_Helpers.h"

#include <algorithm>

#include "base/Text.h"
#include "base/WinPath.h"

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
std::string KeyPath(const std::string& key) { return std::string(Trim(key, "\\", TrimEnds::kRight)); }

}  // namespace

std::string cuRunMDB_Helpers::Trim(const std::string& text) { return std::string(krv::Trim(text, " ")); }

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
  return WinPathUp(path, levels, use_slash ? '/' : '\\');
}

std::string cuRunMDB_Helpers::FileExtractName(const std::string& path, bool use_slash) {
  return WinPathName(path, use_slash ? "/" : "\\");
}

std::string cuRunMDB_Helpers::FileExtractPath(const std::string& path, bool use_slash, bool keep_separator) {
  return path.find(use_slash ? '/' : '\\') == std::string::npos
             ? path
             : WinPathFolder(path, keep_separator, use_slash ? "/" : "\\");
}

std::string cuRunMDB_Helpers::FileExtractRootName(const std::string& path) {
  return WinPathStem(path, path.find('\\') != std::string::npos ? "\\" : "/");
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

bool cuRunMDB_Helpers::PathIsUNCName(const std::string& path) { return WinPathIsUnc(path); }

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
