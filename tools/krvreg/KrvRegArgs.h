// The command line of krvreg, read the way reg.exe reads its own: an
// operation, its fixed positional arguments (key, file), then switches in any
// order, written with "/" or "-" and in any letter case.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace krv {

enum class KrvRegOp { kNone, kQuery, kAdd, kDelete, kImport, kExport };

// A key as reg.exe takes it: "HKCU\Software\X" or "HKEY_CURRENT_USER\Software\X".
struct KrvRegKey {
  Hive hive = Hive::CurrentUser;
  std::string path;  // below the hive, normalised ("" = the hive itself)

  // "HKEY_CURRENT_USER\Software\X", as reg.exe prints a key.
  std::string FullName() const;
  std::string Child(const std::string& name) const { return path.empty() ? name : path + "\\" + name; }
};

// False for an unknown root, a remote name ("\\machine\...") or an empty text.
bool ParseKrvRegKey(const std::string& text, KrvRegKey* key);

struct KrvRegCommand {
  KrvRegOp op = KrvRegOp::kNone;
  bool help = false;  // "/?": show the usage of `op` (of all when kNone)
  KrvRegKey key;
  std::string file;                       // IMPORT, EXPORT
  std::optional<std::string> value_name;  // /v
  bool default_value = false;             // /ve
  bool all_values = false;                // /va
  bool recurse = false;                   // /s
  std::optional<std::string> type;        // /t
  std::optional<std::string> data;        // /d
  bool force = false;                     // /f, and /y of EXPORT

  // The value that /v or /ve names ("" = the default value).
  std::string ValueName() const { return value_name.value_or(""); }
  bool NamesValue() const { return value_name.has_value() || default_value; }
};

enum class KrvRegArgError { kNone, kSyntax, kKeyName };

// Fills `cmd` as far as it gets: `cmd->op` is set whenever the operation was
// recognised, so a message can point to that operation's usage.
KrvRegArgError ParseKrvRegArgs(const std::vector<std::string>& args, KrvRegCommand* cmd);

// "QUERY", "ADD", ... ("" for kNone), as the usage hints name them.
const char* KrvRegOpName(KrvRegOp op);

}  // namespace krv
