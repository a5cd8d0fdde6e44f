// Win32 code only: the system's own folders.
#include "platform/SystemFolders.h"
#include "platform/win32/Win32Util_win32.h"

// After windows.h, which it needs.
#include <shlobj.h>

namespace krv {

namespace {

std::string WithSeparator(const std::wstring& folder) {
  if (folder.empty()) return {};
  std::string text = win32::Narrow(folder);
  if (text.back() != '\\') text += '\\';
  return text;
}

std::string KnownFolder(const KNOWNFOLDERID& id) {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path) folder = path;
  CoTaskMemFree(path);
  return WithSeparator(folder);
}

class Win32SystemFolders final : public SystemFolders {
 public:
  std::string Folder(SystemFolder which) override {
    switch (which) {
      case SystemFolder::kWindows:
        return KnownFolder(FOLDERID_Windows);
      case SystemFolder::kSystem: {
        wchar_t buf[MAX_PATH + 1] = {};
        const UINT n = GetSystemDirectoryW(buf, MAX_PATH);
        return n > 0 && n < MAX_PATH ? WithSeparator(std::wstring(buf, n)) : std::string();
      }
      case SystemFolder::kCommonFiles:
        // 32-bit components live in the 32-bit Common Files folder.
        return KnownFolder(FOLDERID_ProgramFilesCommonX86);
    }
    return {};
  }
};

}  // namespace

std::unique_ptr<SystemFolders> CreateSystemFolders(FileSystem&, System&) {
  return std::make_unique<Win32SystemFolders>();
}

}  // namespace krv
