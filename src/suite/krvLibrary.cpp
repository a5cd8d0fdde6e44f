#include "suite/krvLibrary.h"

#include "base/Text.h"
#include "base/WinPath.h"
#include "suite/SuiteNames.h"

namespace krv {
namespace {

// The registry wants keys without surrounding backslashes.
std::string NormaliseKey(std::string_view key) { return std::string(Trim(key, "\\")); }

// Text of a value the library reads: strings as stored, DWORDs as numbers.
bool ValueText(const RegValue& value, std::string* text) {
  switch (value.type) {
    case kRegSz:
    case kRegExpandSz:
      *text = value.text;
      return true;
    case kRegDword:
      *text = std::to_string(value.dword);
      return true;
    default:
      return false;
  }
}

std::string SettingsKey() { return std::string(kProductRoot) + "\\" + kLibSettingsKey; }

bool ReadText(Registry& reg, Hive hive, const std::string& key, const std::string& name, std::string* text) {
  RegValue value;
  if (reg.ReadValue(hive, NormaliseKey(key), name, &value, nullptr) != RegStatus::kOk) return false;
  return ValueText(value, text);
}

}  // namespace

std::string PathKeyPart(std::string_view path) { return WinPathFolder(path, false, "\\"); }

std::string PathLastPart(std::string_view path) { return WinPathName(path, "\\"); }

std::string AddTrailingSeparator(std::string_view text, std::string_view sep) { return WinPathAddSeparator(text, sep); }

std::string RemoveTrailingSeparator(std::string_view text, std::string_view sep) {
  return WinPathRemoveSeparator(text, sep);
}

std::string ValueOrDefault(const std::optional<std::string>& value, std::string_view def) {
  return value && !value->empty() ? *value : std::string(def);
}

std::string PrepareArgument(std::string_view arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string_view::npos) return std::string(arg);
  // Windows rules: backslashes double only before a quote (or the closing one).
  std::string out = "\"";
  size_t slashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    out.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, '\\');
  out += '"';
  return out;
}

bool krvSettings::Item(const std::string& name, std::string* value) const {
  // An empty user value does not hide the machine's.
  bool found = false;
  std::string text;
  for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
    if (!ReadText(reg_, hive, SettingsKey(), name, &text)) continue;
    *value = text;
    found = true;
    if (!text.empty()) break;
  }
  return found;
}

std::string krvSettings::Value(const std::string& name, const std::string& def) const {
  std::string text;
  return Item(name, &text) && !text.empty() ? text : def;
}

std::vector<std::string> krvSettings::Names() const {
  std::vector<std::string> names;
  for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
    for (const std::string& name : reg_.ValueNames(hive, SettingsKey())) {
      bool known = false;
      for (const std::string& have : names) known = known || IEquals(have, name);
      if (!known) names.push_back(name);
    }
  }
  return names;
}

std::string krvApplication::ProductRoot() const { return kProductRoot; }

bool krvApplication::AdminCheck() { return sys_.IsAdmin(); }

std::string krvApplication::ProgramFolder() { return WinPathFolder(sys_.ExecutablePath()); }

krvLibrary::krvLibrary(Registry& reg, FileSystem& fs, System& sys) : reg_(reg), fs_(fs), sys_(sys), app_(reg, sys) {}

std::string krvLibrary::RegRead(Hive hive, const std::string& key, const std::string& name, const std::string& def) {
  std::string text;
  return ReadText(reg_, hive, key, name, &text) ? text : def;
}

bool krvLibrary::RegWrite(Hive hive, const std::string& key, const std::string& name, const std::string& text) {
  const std::string k = NormaliseKey(key);
  if (k.empty()) return false;
  return reg_.WriteValue(hive, k, name, RegValue::Sz(text), nullptr) == RegStatus::kOk;
}

bool krvLibrary::RegValueExists(Hive hive, const std::string& key, const std::string& name) {
  return reg_.ValueExists(hive, NormaliseKey(key), name);
}

}  // namespace krv
