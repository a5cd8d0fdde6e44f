// The system folders in which shared components are installed: on Windows
// the real ones; on POSIX those of the Wine prefix in which Access runs, since
// those are the components Access loads. Folders are Windows paths with a
// trailing backslash, or "" when the system has no such folder.
#pragma once

#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/System.h"

namespace krv {

enum class SystemFolder {
  kWindows,      // "C:\windows\"
  kSystem,       // "C:\windows\system32\"
  kCommonFiles,  // the Common Files folder of 32-bit programs
};

class SystemFolders {
 public:
  virtual ~SystemFolders() = default;
  virtual std::string Folder(SystemFolder which) = 0;
};

// The folders of a Wine prefix: WINEPREFIX, else "~/.wine" (HOME). Every
// folder is "" when the prefix has no "drive_c". Common Files lies in
// "Program Files (x86)" on a 64-bit prefix and in "Program Files" on a 32-bit one.
class WinePrefixFolders final : public SystemFolders {
 public:
  WinePrefixFolders(FileSystem& fs, System& sys) : fs_(fs), sys_(sys) {}
  std::string Folder(SystemFolder which) override;

 private:
  FileSystem& fs_;
  System& sys_;
};

// The platform's folders (Windows: the system's; POSIX: the Wine prefix's).
std::unique_ptr<SystemFolders> CreateSystemFolders(FileSystem& fs, System& sys);

}  // namespace krv
