// Win32 code only: the portable PE reader against GetFileVersionInfoW on a
// fixed sample of the system folder's DLLs, read as the component check reads them.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/Win32Util_win32.h"
#include "suite/FileVersion.h"
#include "suite/PeVersion.h"

namespace krv {
namespace {

std::string SystemVersion(const std::wstring& path) {  // "" without a version resource
  DWORD handle = 0;
  std::vector<char> data(GetFileVersionInfoSizeW(path.c_str(), &handle));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (data.empty() || !GetFileVersionInfoW(path.c_str(), 0, DWORD(data.size()), data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
    return {};
  return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
}

// Ours, from headers and resource section only, and from the whole file; both must agree.
std::string ReaderVersion(const std::wstring& path) {
  static const Platform platform = CreateNativePlatform();
  std::ifstream in(path.c_str(), std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string whole;
  if (!PeFileVersion(bytes, &whole)) whole.clear();
  const std::string read = FileVersion(*platform.fs, win32::Narrow(path));
  return read == whole ? read : "differs: " + read + " / " + whole;
}

TEST(PeVersionAgainstSystem, SameVersionsAsGetFileVersionInfo) {
  wchar_t system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  int compared = 0, with_version = 0;
  for (const wchar_t* name :
       {L"kernel32.dll", L"user32.dll",   L"gdi32.dll",   L"advapi32.dll", L"comctl32.dll", L"comdlg32.dll",
        L"ole32.dll",    L"oleaut32.dll", L"shell32.dll", L"shlwapi.dll",  L"version.dll",  L"msvcrt.dll",
        L"riched20.dll", L"msxml3.dll",   L"mshtml.dll",  L"urlmon.dll",   L"wininet.dll",  L"scrrun.dll",
        L"vbscript.dll", L"jscript.dll",  L"msi.dll",     L"odbc32.dll",   L"stdole2.tlb",  L"hhctrl.ocx"}) {
    const std::wstring path = std::wstring(system) + L"\\" + name;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    const std::string expected = SystemVersion(path);
    EXPECT_EQ(ReaderVersion(path), expected) << win32::Narrow(path);
    ++compared, with_version += !expected.empty();
  }
  EXPECT_GE(compared, 20);  // enough of the sample is there, most of it with a version
  EXPECT_GE(with_version, 15);
}

}  // namespace
}  // namespace krv
