// Win32 code only: a remote drive, and its server from the drive's connection.
#include "platform/win32/Win32Util_win32.h"
// After windows.h.
#include <winnetwk.h>

#include <iterator>

#include "platform/NetworkPath.h"

namespace krv {
namespace {

// "X:" of a drive path, else "".
std::wstring DriveOf(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return {};
  return std::wstring{static_cast<wchar_t>(path[0]), L':'};
}

}  // namespace

bool IsNetworkPath(const std::string& path) {
  if (!UncServerName(path).empty()) return true;
  const std::wstring drive = DriveOf(path);
  return !drive.empty() && GetDriveTypeW((drive + L"\\").c_str()) == DRIVE_REMOTE;
}

std::string NetworkServerName(const std::string& path) {
  if (std::string server = UncServerName(path); !server.empty()) return server;
  const std::wstring drive = DriveOf(path);
  if (drive.empty()) return {};
  wchar_t remote[1024] = {};
  DWORD size = static_cast<DWORD>(std::size(remote));
  if (WNetGetConnectionW(drive.c_str(), remote, &size) != NO_ERROR) return {};
  return UncServerName(win32::Narrow(remote));
}

}  // namespace krv
