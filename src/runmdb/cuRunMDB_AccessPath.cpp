// Finding msaccess.exe: from the Office keys, an explicit folder or file, or a
// registry list; and completing folders against the program folder.
#include "base/Text.h"
#include "runmdb/RunMdbErrors.h"
#include "runmdb/cuRunMDB.h"
#include "suite/SuiteNames.h"

namespace krv {
namespace {

using H = cuRunMDB_Helpers;

constexpr int32_t kHKLM = static_cast<int32_t>(0x80000002u);

// The Office keys tried in order for an AccVersion, and their value name.
std::vector<std::string> OfficeKeys(int32_t version, std::string* value_name) {
  if (version == -1 || version == 0) {
    *value_name = "OfficeBin";
    return {"SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot"};
  }
  *value_name = "Path";
  if (version < 1 || version > 3) return {};
  const std::string office = "SOFTWARE\\Microsoft\\Office\\" + std::to_string(version + 8) + ".0\\";
  return {office + "Access\\InstallRoot", office + "Common\\InstallRoot"};
}

}  // namespace

std::string cuRunMDB::GetAccessPath() {
  Log("[Access-Pfad]", true);
  std::string path;
  if (acc_reg_list_.empty() && acc_path_.empty()) {
    path = AccessPathFromOfficeKeys();
  } else if (acc_reg_list_.empty()) {
    // A working copy: the property keeps what the caller set.
    std::string folder = acc_path_;
    H::UnQuoteString(folder);
    if (IEndsWith(folder, kAccessExe)) folder.resize(folder.size() - std::string(kAccessExe).size());
    path = H::TerminateString(AbsolutePath(folder), "\\") + kAccessExe;
    Log("Absoluter Pfad wird verwendet: " + path);
  } else {
    path = AccessPathFromList();
  }

  if (helpers_.FileExists(path)) {
    Log("Access-EXE: OK");
  } else {
    Log("Datei existiert nicht: " + path);
    Fail(kRunMdbFileNotFound, "GetAccessPath", path);
  }
  return H::QuoteString(path, false, true);
}

std::string cuRunMDB::AccessPathFromOfficeKeys() {
  Log("Office-Schlüssel wird verwendet");
  std::string value_name;
  std::string folder;
  for (const std::string& key : OfficeKeys(acc_version_, &value_name)) {
    Log("Schlüssel: " + key);
    if (!folder.empty()) break;
    folder = helpers_.RegGetSettingString(kHKLM, key, value_name, "");
    Log("Schlüsselinhalt: " + folder);
  }
  if (folder.empty()) {
    Log("Pfad konnte nicht ermittelt werden");
    Raise(kRunMdbNoAccessPathInRegistry, "GetAccessPath");
  }
  const std::string path = H::TerminateString(folder, "\\") + kAccessExe;
  Log("Verwendeter Pfad: " + path);
  return path;
}

std::string cuRunMDB::AccessPathFromList() {
  Log("Schlüsselliste wird aufgelöst");
  std::vector<std::string> entries;
  if (H::String2Array(acc_reg_list_, &entries, list_sep_) == 0) {
    Log("Schlüsselliste konnte nicht aufgelöst werden");
    Raise(kRunMdbAccessListEmpty, "GetAccessPath");
  }
  for (const std::string& entry : entries) {
    Log("Gespeicherter Wert: " + entry);
    if (entry.empty()) continue;  // two separators in a row: nothing to resolve
    const ListEntry e = ParseAndLogEntry(entry);
    std::string path = helpers_.RegGetSettingString(e.hkey, e.key, e.value_name, "");
    if (AccRegPath(path, e.sub_dir)) return path;
  }
  Log("Pfad konnte nicht ermittelt werden");
  Raise(kRunMdbAccessListUnresolved, "GetAccessPath");
}

bool cuRunMDB::AccRegPath(std::string& path, const std::string& sub_dir) {
  if (path.empty()) {
    Log("Schlüsselinhalt: <nicht vorhanden oder kein Inhalt>");
    return false;
  }
  Log("Schlüsselinhalt: " + path);
  if (!IEndsWith(path, kAccessExe)) {
    path = H::TerminateString(path, "\\");
    if (!sub_dir.empty()) {
      path += H::TerminateString(sub_dir, "\\");
      Log("Schlüssel um Unterpfad ergänzt: " + path);
    }
    path += kAccessExe;
  }
  Log("Access-EXE: " + path);
  if (helpers_.FileExists(path)) return true;
  Log("Access-EXE: Nicht vorhanden an dieser Position");
  path.clear();
  return false;
}

std::string cuRunMDB::AbsolutePath(std::string& path) {
  if (path.empty()) return "";
  H::UnQuoteString(path);
  const bool unc = path.starts_with("\\\\");
  const bool drive = path.size() >= 3 && path.substr(1, 2) == ":\\";
  if (unc || drive) return H::TerminateString(path, "\\");

  std::string result = H::TerminateString(ctx_.program_dir, "\\");
  if (!path.starts_with("..\\")) {
    result += H::TerminateString(path, "\\");
    Log("Absoluter Pfad: " + result);
    return result;
  }
  path = H::TerminateString(path, "\\");
  Log("Relativer Pfad: " + path);
  std::vector<std::string> parts;
  H::String2Array(path, &parts, "\\");
  for (const std::string& part : parts) {
    if (H::Trim(part) == "..") {
      result = H::DirUp(result, 1, false);
    } else {
      result += part + "\\";
    }
  }
  Log("Absoluter Pfad: " + result);
  return result;
}

}  // namespace krv
