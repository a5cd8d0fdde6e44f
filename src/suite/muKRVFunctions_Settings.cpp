#include "base/Text.h"
#include "base/cuAppError.h"
#include "suite/krvLibrary.h"
#include "suite/muKRVFunctions.h"

namespace krv {

namespace {

constexpr std::string_view kCurrentUserPrefix = "HKCU\\";
constexpr std::string_view kLocalMachinePrefix = "HKLM\\";
constexpr std::string_view kClassesRootPrefix = "HKCR\\";

struct RegLocation {
  Hive hive = Hive::LocalMachine;
  std::string key;
  std::string value_name;
};

// Splits `path` (prefix already cut) into key and value name and puts the key
// below the product root when asked.
void SplitPath(krvLibrary& lib, const std::string& path, bool relative, RegLocation* loc) {
  loc->key = RemoveTrailingSeparator(PathKeyPart(path));
  loc->value_name = PathLastPart(path);
  if (relative) loc->key = AddTrailingSeparator(lib.Application().ProductRoot()) + loc->key;
}

std::string UserSettingPath(krvLibrary& lib, const std::string& name) {
  return std::string(kCurrentUserPrefix) + AddTrailingSeparator(lib.Application().ProductRoot()) + name;
}

}  // namespace

std::string RegRead(krvLibrary& lib, const std::string& path, bool* relative, const std::string& def) {
  bool rel = relative && *relative;
  RegLocation loc;
  std::string rest = path;
  // Reading knows only these two prefixes; anything else is a key below HKEY_LOCAL_MACHINE.
  if (IStartsWith(path, kCurrentUserPrefix)) {
    loc.hive = Hive::CurrentUser;
    rest.erase(0, kCurrentUserPrefix.size());
    rel = false;
    if (relative) *relative = false;
  } else if (IStartsWith(path, kLocalMachinePrefix)) {
    rest.erase(0, kLocalMachinePrefix.size());
  }
  SplitPath(lib, rest, rel, &loc);
  const std::string text = std::string(Trim(lib.RegRead(loc.hive, loc.key, loc.value_name, ""), " "));
  return text.empty() ? def : text;
}

std::string RegRead(krvLibrary& lib, const std::string& path, bool relative, const std::string& def) {
  return RegRead(lib, path, &relative, def);
}

bool RegWrite(krvLibrary& lib, const std::string& path, const std::string& value, bool relative) {
  RegLocation loc;
  std::string rest = path;
  if (IStartsWith(path, kCurrentUserPrefix)) {
    loc.hive = Hive::CurrentUser;
    rest.erase(0, kCurrentUserPrefix.size());
  } else if (IStartsWith(path, kLocalMachinePrefix)) {
    rest.erase(0, kLocalMachinePrefix.size());
  } else if (IStartsWith(path, kClassesRootPrefix)) {
    loc.hive = Hive::ClassesRoot;
    rest.erase(0, kClassesRootPrefix.size());
  }
  SplitPath(lib, rest, relative, &loc);
  if (loc.key.empty()) return false;
  return lib.RegWrite(loc.hive, loc.key, loc.value_name, value);
}

std::string GetSetting(krvLibrary& lib, const std::string& name, const SettingValue& def) {
  const std::string text = RegRead(lib, UserSettingPath(lib, name), false, "");
  return text.empty() ? def.text() : text;
}

bool SaveSetting(krvLibrary& lib, const std::string& name, const SettingValue& value) {
  return RegWrite(lib, UserSettingPath(lib, name), value.text(), false);
}

std::string GetLibSetting(krvLibrary& lib, cuAppError& err, const std::string& name, const std::string& def) {
  try {
    const std::string text = lib.Application().Settings().Value(name, "");
    return text.empty() ? def : text;
  } catch (...) {
    err.ErrRaise(0, "muKRVFunctions", "GetLibSetting");
  }
  return def;
}

}  // namespace krv
