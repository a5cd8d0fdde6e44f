// Where the suite stand-in finds things: the product's registry root, the
// names of the suite's files and the registry places an installer writes.
// src/suite/README.md describes the installation these names imply.
#pragma once

namespace krv {

// Below HKEY_CURRENT_USER (user settings) and HKEY_LOCAL_MACHINE (machine settings).
inline constexpr char kProductRoot[] = "Software\\Vantorel\\Korvella\\10.25";
// Sub-key of the product root that holds the library's settings collection.
inline constexpr char kLibSettingsKey[] = "Settings";
// User setting (machine value as fallback) with the full path of the data backend.
inline constexpr char kBackendPathSetting[] = "Options\\BackendPath";

inline constexpr char kFrontEndFile[] = "krv25.mde";
inline constexpr char kWorkgroupFile[] = "krvwrk25.mdw";
inline constexpr char kLibraryFile[] = "krvlib25.mde";

// Side file beside an Access file that carries its version ("krv25.mde.version").
inline constexpr char kVersionFileSuffix[] = ".version";

}  // namespace krv
