// The component version check: the shared system components the front end
// relies on, listed in "krvrun25.dat" in the program folder (section
// "qmKrvStarter", collection "Components"), located through their type
// library or a system folder, with their installed file versions compared
// against the required ones. Outdated ones are listed in a report window in
// which the user decides whether to start anyway. Nothing on the machine is
// changed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/SystemFolders.h"
#include "ui/WindowSystem.h"

namespace krv {

class cuAppError;
class UiHost;

inline constexpr char kComponentListFile[] = "krvrun25.dat";
inline constexpr char kComponentListSection[] = "qmKrvStarter";
inline constexpr char kComponentListCollection[] = "Components";
inline constexpr char kConflictCaption[] = "ACHTUNG - KONFLIKT";
inline constexpr char kConflictFont[] = "Courier New";
inline constexpr int kConflictFontSize = 8;

struct ComponentRecord {
  std::string file_name;
  std::string description;
  std::string folder;  // where the file was found, ending with "\"
  std::string current_version;
  std::string required_version;
  bool operator==(const ComponentRecord&) const = default;
};

// One element of the list as written: the file name and the fields of its
// text, split at "|" (field 1 is fields[0]).
struct ComponentEntry {
  std::string file_name;
  std::vector<std::string> fields;
  // Field `n` (1-based), "" when the text has fewer.
  std::string Field(size_t n) const { return n >= 1 && n <= fields.size() ? fields[n - 1] : std::string(); }
};

// The elements of the component list in file order; empty when the section
// or the collection is missing.
std::vector<ComponentEntry> ComponentListParse(std::string_view text);

struct CompCheckContext {
  FileSystem& fs;
  Registry& reg;
  SystemFolders& folders;
  cuAppError& err;
  UiHost* ui;                  // shows the report; without it nothing is shown and the start goes on
  std::string program_folder;  // with a trailing backslash
};

class cCompCheck {
 public:
  // Loads the list: components whose file or version cannot be found are dropped.
  explicit cCompCheck(CompCheckContext ctx);

  // True when no component is outdated or the user confirms the report with
  // OK; false when the user declines.
  bool Check(WindowHandle owner);

  const std::vector<ComponentRecord>& Components() const { return list_; }
  // The report blocks of the outdated components and their number.
  std::string Report(int* conflicts) const;

 private:
  // The folder of a placeholder ("WinSys", "MSDAO\sub"), with a trailing "\";
  // "" for an unknown placeholder.
  std::string PlaceholderFolder(std::string_view placeholder);
  // The registered type-library file of `id` in `version`, locales 0 to 9; "" when none.
  std::string TypeLibFile(const std::string& id, const std::string& version);
  void Load();
  bool Locate(const ComponentEntry& entry, ComponentRecord* record);

  CompCheckContext ctx_;
  std::vector<ComponentRecord> list_;
};

}  // namespace krv
