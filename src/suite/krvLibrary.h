// The suite library (KrvLib25.krvLibrary): registry access as text, path and
// string helpers, and the application object with the product root, the
// settings collection, the administrator check and the program folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"

namespace krv {

// Key (folder) part of a backslash path: "A\B\C" -> "A\B"; "" when there is no backslash.
std::string PathKeyPart(std::string_view path);
// Last part of a backslash path: "A\B\C" -> "C"; the whole text when there is no backslash.
std::string PathLastPart(std::string_view path);
// Appends `sep` unless the text already ends with it; an empty text stays empty.
std::string AddTrailingSeparator(std::string_view text, std::string_view sep = "\\");
// Removes one trailing `sep` if present.
std::string RemoveTrailingSeparator(std::string_view text, std::string_view sep = "\\");
// The value, or `def` when the value is absent or empty.
std::string ValueOrDefault(const std::optional<std::string>& value, std::string_view def);
// One command-line argument: quoted (Windows rules) when it is empty or holds blanks, tabs or quotes.
std::string PrepareArgument(std::string_view arg);

// The library's settings collection: the values of the key "Settings" below
// the product root; a value of the current user wins over the machine's.
class krvSettings {
 public:
  explicit krvSettings(Registry& reg) : reg_(reg) {}
  // True and the value's text when the item exists; false when it does not
  // (or cannot be read). An empty user value falls back to the machine's.
  bool Item(const std::string& name, std::string* value) const;
  // The item's text, or `def` when it is missing or empty.
  std::string Value(const std::string& name, const std::string& def) const;
  // Names of all items, user items first, without duplicates.
  std::vector<std::string> Names() const;

 private:
  Registry& reg_;
};

// The application object of the suite library.
class krvApplication {
 public:
  krvApplication(Registry& reg, System& sys) : sys_(sys), settings_(reg) {}
  // "Software\Vantorel\Korvella\10.25" (no trailing backslash).
  std::string ProductRoot() const;
  krvSettings& Settings() { return settings_; }
  // True when the suite's administrator is confirmed: the current user has
  // administrator rights.
  bool AdminCheck();
  // Folder of the suite's programs with a trailing backslash: the folder of
  // the running executable.
  std::string ProgramFolder();

 private:
  System& sys_;
  krvSettings settings_;
};

class krvLibrary {
 public:
  krvLibrary(Registry& reg, FileSystem& fs, System& sys);

  // Text of the value (REG_SZ and REG_EXPAND_SZ as stored, REG_DWORD as its
  // decimal number); `def` when the key or value is missing, cannot be read
  // or has another type. The key may end with a backslash. Never creates a key.
  std::string RegRead(Hive hive, const std::string& key, const std::string& name, const std::string& def);
  // Writes a REG_SZ value, creating the key. True when written.
  bool RegWrite(Hive hive, const std::string& key, const std::string& name, const std::string& text);
  bool RegValueExists(Hive hive, const std::string& key, const std::string& name);

  krvApplication& Application() { return app_; }
  Registry& registry() { return reg_; }
  FileSystem& fs() { return fs_; }
  System& system() { return sys_; }

 private:
  Registry& reg_;
  FileSystem& fs_;
  System& sys_;
  krvApplication app_;
};

}  // namespace krv
