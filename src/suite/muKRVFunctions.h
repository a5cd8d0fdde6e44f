// The settings store: registry paths with an optional hive prefix, the
// starter's settings below the product root, and the suite library's settings
// collection. The registry work is done by the suite library.
//
// A registry path is an optional "HKCU\" or "HKLM\" ("HKCR\" for writing),
// then the key, then the value name after the last backslash; a path ending
// with a backslash addresses the key's default value. Without a known prefix
// the path is taken whole below HKEY_LOCAL_MACHINE.
#pragma once

#include <concepts>
#include <optional>
#include <string>
#include <utility>

namespace krv {

class krvLibrary;
class cuAppError;

// A setting's value or default: a text, a whole number, a flag ("1"/"0"), or
// absent (null), which reads as the empty text.
class SettingValue {
 public:
  SettingValue() = default;
  SettingValue(std::nullopt_t) {}
  SettingValue(const char* text) : text_(text ? text : "") {}
  SettingValue(std::string text) : text_(std::move(text)) {}
  SettingValue(bool flag) : text_(flag ? "1" : "0") {}
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char>) SettingValue(T number) : text_(std::to_string(number)) {}

  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Reads a string value; blanks around it are removed and an empty result
// gives `def`. With `*relative` the key lies below the product root; a path
// starting with "HKCU\" clears `*relative`. Missing keys and values read as
// empty; nothing is created.
std::string RegRead(krvLibrary& lib, const std::string& path, bool* relative, const std::string& def = {});
std::string RegRead(krvLibrary& lib, const std::string& path, bool relative = false, const std::string& def = {});

// Writes `value` as a string value. True when written; false when the path
// names no key or the registry refuses the write.
bool RegWrite(krvLibrary& lib, const std::string& path, const std::string& value, bool relative = false);

// The setting `name` ("Loader\RunPatch") below the product root of the
// current user, or `def` when it is missing or empty.
std::string GetSetting(krvLibrary& lib, const std::string& name, const SettingValue& def = {});
bool SaveSetting(krvLibrary& lib, const std::string& name, const SettingValue& value);

// Item `name` of the library's settings collection, or `def` when it is
// missing or empty. An unexpected failure is passed on through `err`.
std::string GetLibSetting(krvLibrary& lib, cuAppError& err, const std::string& name, const std::string& def);

}  // namespace krv
