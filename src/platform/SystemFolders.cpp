#include "platform/SystemFolders.h"

namespace krv {

namespace {

// "/home/u/.wine" as a Windows path: drive Z: is the root, as under Wine.
std::string HostToWinPath(const std::string& host) {
  std::string win = "Z:" + host;
  for (char& c : win) {
    if (c == '/') c = '\\';
  }
  while (win.size() > 3 && win.back() == '\\') win.pop_back();
  return win;
}

}  // namespace

std::string WinePrefixFolders::Folder(SystemFolder which) {
  std::string prefix = sys_.GetEnv("WINEPREFIX");
  if (prefix.empty()) {
    const std::string home = sys_.GetEnv("HOME");
    if (home.empty()) return {};
    prefix = home + "/.wine";
  }
  if (!prefix.starts_with('/')) return {};  // a relative prefix names nothing we can rely on
  const std::string drive_c = HostToWinPath(prefix) + "\\drive_c\\";
  if (!fs_.FolderExists(drive_c)) return {};
  switch (which) {
    case SystemFolder::kWindows:
      return drive_c + "windows\\";
    case SystemFolder::kSystem:
      return drive_c + "windows\\system32\\";
    case SystemFolder::kCommonFiles: {
      const std::string x86 = drive_c + "Program Files (x86)\\";
      return (fs_.FolderExists(x86) ? x86 : drive_c + "Program Files\\") + "Common Files\\";
    }
  }
  return {};
}

}  // namespace krv
