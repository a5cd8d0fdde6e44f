// Win32 code only: paths and file heads for the ODBC service (odbc32). Under
// Wine, odbc32 hands the connection string to the host's driver unchanged,
// so the path must be the host's.
#include <windows.h>

#include "base/Text.h"
#include "platform/OdbcFile.h"

namespace krv {
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string w = Utf8ToUtf16(utf8);
  return std::wstring(w.begin(), w.end());
}

using WineUnixName = char*(CDECL*)(const wchar_t*);

// kernel32's wine_get_unix_file_name where ntdll says we run under Wine.
WineUnixName WineConverter() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return nullptr;
  return reinterpret_cast<WineUnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

}  // namespace

bool OdbcDriverPath(const std::string& win_path, std::string* driver_path, std::string* err) {
  if (WineUnixName to_unix = WineConverter()) {
    char* unix_name = to_unix(Wide(win_path).c_str());
    if (!unix_name) {
      *err = "wine_get_unix_file_name(" + win_path + ") fehlgeschlagen";
      return false;
    }
    *driver_path = unix_name;  // UTF-8, as the host driver expects
    HeapFree(GetProcessHeap(), 0, unix_name);
    return true;
  }
  // The narrow ODBC calls take the ANSI code page.
  const std::wstring w = Wide(win_path);
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.c_str(), -1, nullptr, 0, nullptr, &lossy);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.c_str(), -1, out.data(), n, nullptr, &lossy);
  if (n <= 0 || lossy) {
    *err = "Der Pfad '" + win_path + "' lässt sich im ANSI-Zeichensatz nicht darstellen";
    return false;
  }
  *driver_path = out;
  return true;
}

DbStatus ReadFileHead(const std::string& win_path, size_t max, std::string* head, std::string* err) {
  HANDLE h = CreateFileW(Wide(win_path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD e = GetLastError();
    *err = "CreateFileW(" + win_path + "): Fehler " + std::to_string(e);
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return DbStatus::kFileMissing;
    return (e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION) ? DbStatus::kLocked : DbStatus::kFailed;
  }
  head->assign(max, '\0');
  DWORD got = 0;
  const BOOL ok = ReadFile(h, head->data(), static_cast<DWORD>(max), &got, nullptr);
  CloseHandle(h);
  if (!ok) {
    *err = "ReadFile(" + win_path + "): Fehler " + std::to_string(GetLastError());
    return DbStatus::kFailed;
  }
  head->resize(got);
  return DbStatus::kOk;
}

std::vector<std::string> OdbcDriverNames(DbEngine engine) {
  if (engine == DbEngine::kSqlite) return {"SQLite3 ODBC Driver", "SQLite3"};
  if (engine == DbEngine::kJet) {
    return {"Microsoft Access Driver (*.mdb, *.accdb)", "Microsoft Access Driver (*.mdb)", "MDBTools"};
  }
  return {};
}

}  // namespace krv
