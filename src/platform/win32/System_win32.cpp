// Win32 code only: process, user, screen and clock facts from the system.
#include "base/Text.h"
#include "base/WinPath.h"
#include "platform/WinCommandLine.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"

// After windows.h, which it needs.
#include <tlhelp32.h>

namespace krv::win32 {
namespace {

BOOL CALLBACK CollectCaption(HWND hwnd, LPARAM data) {
  if (!IsWindowVisible(hwnd)) return TRUE;
  const int len = GetWindowTextLengthW(hwnd);
  if (len <= 0) return TRUE;
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, text.data(), len + 1);
  if (got > 0) {
    text.resize(static_cast<size_t>(got));
    reinterpret_cast<std::vector<std::string>*>(data)->push_back(Narrow(text));
  }
  return TRUE;
}

class Win32System : public System {
 public:
  std::string ExecutablePath() override {
    // Grows the buffer until the whole path fits (long paths exceed MAX_PATH).
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
      const DWORD got = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
      if (got == 0) return "";
      if (got < buffer.size()) {
        buffer.resize(got);
        return Narrow(buffer);
      }
      if (buffer.size() >= 32768) return "";
      buffer.resize(buffer.size() * 2);
    }
  }

  std::string CommandLineTail() override { return CommandLineAfterProgram(Narrow(GetCommandLineW())); }

  std::string GetEnv(const std::string& name) override {
    const std::wstring wname = Wide(name);
    std::wstring value(256, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
      const DWORD got = GetEnvironmentVariableW(wname.c_str(), value.data(), static_cast<DWORD>(value.size()));
      if (got == 0) return "";
      if (got < value.size()) {
        value.resize(got);
        return Narrow(value);
      }
      value.resize(got);  // `got` counts the terminating NUL when the buffer was too small
    }
    return "";
  }

  LocalTime Now() override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wDayOfWeek};
  }

  int64_t TickMs() override { return static_cast<int64_t>(GetTickCount64()); }

  void SleepMs(int ms) override {
    if (ms > 0) Sleep(static_cast<DWORD>(ms));
  }

  void PumpMessages() override { PumpPendingMessages(); }

  bool PrimaryScreenSize(int* width, int* height) override {
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    if (w <= 0 || h <= 0) return false;
    *width = w;
    *height = h;
    return true;
  }

  bool IsAdmin() override {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &admins)) {
      return false;
    }
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, admins, &member)) member = FALSE;
    FreeSid(admins);
    return member != FALSE;
  }

  std::vector<std::string> ProcessNames() override {
    std::vector<std::string> names;
    UniqueHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap.valid()) return names;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snap.get(), &entry); more; more = Process32NextW(snap.get(), &entry)) {
      names.push_back(LowerCase(WinPathName(Narrow(entry.szExeFile))));
    }
    return names;
  }

  std::vector<std::string> WindowCaptions() override {
    std::vector<std::string> captions;
    EnumWindows(CollectCaption, reinterpret_cast<LPARAM>(&captions));
    return captions;
  }
};

}  // namespace

std::unique_ptr<System> NewSystem() { return std::make_unique<Win32System>(); }

}  // namespace krv::win32
