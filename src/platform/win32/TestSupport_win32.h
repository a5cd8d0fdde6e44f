// Win32 code only: helpers of the Windows tests that start this test program
// again as a second process running one child test.
#pragma once

#include <string>

#include "platform/win32/Win32Util_win32.h"

namespace krv::win32 {

// Wine answers some requests differently from Windows (sorted registry
// values, no rights prompt), which a few tests must know.
inline bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Full path of this test program.
inline std::wstring SelfPath() {
  std::wstring buffer(32768, L'\0');
  buffer.resize(GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size())));
  return buffer;
}

// Starts this program with `tail` after its quoted name; the environment
// variable `name`=`value` is set for the child only. Returns the process handle.
inline UniqueHandle StartSelf(const std::string& tail, const std::string& name, const std::string& value) {
  std::wstring command = L"\"" + SelfPath() + L"\" " + Wide(tail);
  SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str());
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  const BOOL ok = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableW(Wide(name).c_str(), nullptr);
  if (!ok) return UniqueHandle();
  CloseHandle(pi.hThread);
  return UniqueHandle(pi.hProcess);
}

// Waits up to `ms` for `check` to become true.
template <typename F>
bool WaitFor(F check, int ms = 20000) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (check()) return true;
    Sleep(20);
  }
  return check();
}

}  // namespace krv::win32
