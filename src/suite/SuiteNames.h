// The suite's names in one place: the product's registry root, the settings
// keys the starter reads and the files of the suite's program folder.
// src/suite/README.md describes the installation these names imply.
#pragma once

namespace krv {

// Below HKEY_CURRENT_USER (user settings) and HKEY_LOCAL_MACHINE (machine settings).
inline constexpr char kProductRoot[] = "Software\\Vantorel\\Korvella\\10.25";
// Sub-key of the product root that holds the library's settings collection.
inline constexpr char kLibSettingsKey[] = "Settings";

// Settings below the product root (user value first, machine value as fallback).
inline constexpr char kBackendPathSetting[] = "Options\\BackendPath";  // full path of the data backend
inline constexpr char kAccessPathSetting[] = "Options\\AccessPath";
inline constexpr char kMenuAutoUnloadSetting[] = "Loader\\Menu\\AutoUnload";
inline constexpr char kMenuSkinSetting[] = "Loader\\Menu\\Skin";

// Programs; lower case, as running programs are recognised by them.
inline constexpr char kStarterExe[] = "krv25.exe";
inline constexpr char kAdminToolsExe[] = "krvadm25.exe";
inline constexpr char kCompressorExe[] = "krvcmp25.exe";
inline constexpr char kBrowserExe[] = "krvbrw25.exe";
inline constexpr char kVersionInfoExe[] = "krvver25.exe";
inline constexpr char kUpgradeExe[] = "krvup25.exe";
inline constexpr char kPatchExe[] = "krvpch25.exe";
inline constexpr char kSetupExe[] = "krvset25.exe";
inline constexpr char kReplicationExe[] = "krvrep25.exe";
inline constexpr char kAccessExe[] = "msaccess.exe";

// Files beside the programs.
inline constexpr char kUpgradeCnf[] = "krvup25.cnf";
inline constexpr char kComponentListFile[] = "krvrun25.dat";
inline constexpr char kFrontEndFile[] = "krv25.mde";
inline constexpr char kLibraryFile[] = "krvlib25.mde";
inline constexpr char kWorkgroupFile[] = "krvwrk25.mdw";
inline constexpr char kStartLogFile[] = "krv25.log";

// Side file beside an Access file that carries its version (front end + ".version").
inline constexpr char kVersionFileSuffix[] = ".version";

}  // namespace krv
