// Finding the database and the workgroup (system) database: from a registry
// list, an explicit folder and name, or the program folder.
#include "runmdb/RunMdbErrors.h"
#include "runmdb/cuRunMDB.h"

namespace krv {
namespace {

using H = cuRunMDB_Helpers;

constexpr int kCompact = 0, kNoStartup = 2, kRepair = 3, kReadOnly = 4, kRuntime = 5, kDecompile = 6;

}  // namespace

std::string cuRunMDB::GetDBPath() {
  static const std::string kProc = "GetDBPath";
  Log("[Datenbank-Pfad]", true);
  std::string path;
  if (!db_reg_list_.empty()) {
    std::vector<std::string> entries;
    if (H::String2Array(db_reg_list_, &entries, list_sep_) == 0) {
      Log("Schlüsselliste konnte nicht aufgelöst werden");
      Fail(kRunMdbDatabaseListEmpty, kProc);
      return "";
    }
    path = ResolveFileList(entries, Target::kDatabase);
    if (path.empty()) {
      Log("Pfad konnte nicht ermittelt werden");
      Fail(kRunMdbDatabaseListUnresolved, kProc);
      return "";
    }
  } else if (!db_path_.empty()) {
    path = PathFromFolder(db_path_, db_filename_, Target::kDatabase);
  } else {
    Log("Kein Pfad angegeben, im aktuellen Verzeichnis suchen");
    if (db_filename_.empty()) return DatabaseFromProgramFolder();
    path = ProgramFile(db_filename_);
    Log("Datenbank: " + path);
  }

  if (!path.empty()) {
    if (helpers_.FileExists(path)) {
      Log("Datenbank: OK");
    } else {
      Log("Datenbank: " + path + " ist nicht vorhanden!");
      Fail(kRunMdbDatabaseMissing, kProc, path);
    }
  }
  return path;
}

std::string cuRunMDB::DatabaseFromProgramFolder() {
  Log("Kein Dateiname angegeben, im aktuellen Verzeichnis suchen");
  const std::string base = ProgramFile(ctx_.exe_name);
  for (const char* ext : {".mdb", ".mde", ".mda"}) {
    const std::string candidate = base + ext;
    Log("Suche nach: " + candidate);
    if (helpers_.FileExists(candidate)) {
      Log(" - OK: " + candidate);
      return candidate;
    }
    Log(" - nicht vorhanden");
  }
  Log("Keine Datenbank gefunden");
  if (!options_[kNoStartup].empty()) return "";
  const bool needs_database = !macro_.empty() || !cmd_.empty() || !options_[kRuntime].empty() ||
                              !options_[kReadOnly].empty() || !options_[kCompact].empty() ||
                              !options_[kRepair].empty() || !options_[kDecompile].empty();
  if (!needs_database) return "";
  Log("Datenbank nicht angegeben, aber eine der Optionen /Runtime, /ReadOnly, /Compact, /Repair, /Decompile, "
      "/Macro, /Cmd");
  Fail(kRunMdbNoDatabaseInfo, "GetDBPath");
  return "";
}

std::string cuRunMDB::GetSystemDB() {
  static const std::string kProc = "GetSystemDB";
  Log("[SysDB-Pfad]", true);
  std::string path;
  if (!sysdb_reg_list_.empty()) {
    std::vector<std::string> entries;
    if (H::String2Array(sysdb_reg_list_, &entries, list_sep_) == 0) {
      Log("Schlüsselliste konnte nicht aufgelöst werden");
      Fail(kRunMdbSystemDbListEmpty, kProc);
      return "";
    }
    path = ResolveFileList(entries, Target::kSystemDb);
    if (path.empty()) {
      Log("Pfad konnte nicht ermittelt werden");
      Fail(kRunMdbSystemDbListUnresolved, kProc);
      return "";
    }
  } else if (!sysdb_path_.empty()) {
    path = PathFromFolder(sysdb_path_, sysdb_filename_, Target::kSystemDb);
  } else if (sysdb_filename_.empty()) {
    Log("Keine SysDB");
    return "";
  } else {
    path = ProgramFile(sysdb_filename_);
    Log("SysDB: " + path);
  }

  if (!path.empty()) {
    if (helpers_.FileExists(path)) {
      Log("SysDB: OK");
    } else {
      Log("SysDB: " + path + " ist nicht vorhanden!");
      Fail(kRunMdbSystemDbMissing, kProc, path);
    }
  }
  return path;
}

std::string cuRunMDB::ResolveFileList(const std::vector<std::string>& entries, Target target) {
  std::string path;
  for (const std::string& entry : entries) {
    Log("Gespeicherter Wert: " + entry);
    if (entry.empty()) {  // two separators in a row: nothing to resolve
      path.clear();
      continue;
    }
    const ListEntry e = ParseAndLogEntry(entry);
    path = helpers_.RegGetSettingString(e.hkey, e.key, e.value_name, "");
    if (RegPath(path, e.sub_dir, e.filename, target)) break;
  }
  return path;
}

bool cuRunMDB::RegPath(std::string& path, const std::string& sub_dir, const std::string& filename, Target target) {
  const std::string label = target == Target::kDatabase ? "Datenbank" : "SysDB";
  if (path.empty()) {
    Log("Schlüsselinhalt: <nicht vorhanden oder kein Inhalt>");
    return false;
  }
  Log("Schlüsselinhalt: " + path);
  if (!sub_dir.empty() && filename.empty()) {
    // The value read stays the path: if this was the last entry, the final
    // check names it.
    Log("Unterpfad (" + sub_dir + ") angegeben, aber kein Dateiname. Pfad kann nicht aufgelöst werden.");
    return false;
  }
  if (!sub_dir.empty()) {
    path = H::TerminateString(path, "\\") + H::TerminateString(sub_dir, "\\");
    Log("Schlüsselinhalt um Unterpfad ergänzt: " + path);
    path += filename;
  } else if (filename.empty()) {
    if (path.ends_with('\\')) {
      Log("Schlüsselinhalt enthält einen Pfad und es ist kein Dateiname angegeben. Der Datenbankname kann nicht "
          "aufgelöst werden.");
      path.clear();
      return false;
    }
  } else {
    path = H::TerminateString(path, "\\") + filename;
  }
  Log(label + ": " + path);
  if (helpers_.FileExists(path)) return true;
  Log(label + ": Nicht vorhanden an dieser Position");
  path.clear();
  return false;
}

std::string cuRunMDB::PathFromFolder(const std::string& folder, const std::string& filename, Target target) {
  if (filename.empty()) {
    Log("Kein Dateiname angegeben, Pfad kann nicht ermittelt werden");
    return "";
  }
  std::string f = folder;
  const std::string complete = AbsolutePath(f);
  Log("Berechneter Pfad: " + complete);
  const std::string path = complete + filename;
  Log((target == Target::kDatabase ? "Datenbank: " : "SysDB: ") + path);
  return path;
}

}  // namespace krv
