// Win32 code only: shared helpers of the Win32 platform layer.
#include "platform/win32/Win32Util_win32.h"

#include "base/Text.h"

namespace krv::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

std::wstring Wide(std::string_view utf8) {
  const std::u16string u = Utf8ToUtf16(utf8);
  return std::wstring(u.begin(), u.end());
}

std::string Narrow(std::wstring_view utf16) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

std::wstring WidePath(const std::string& path) {
  std::wstring w = Wide(path);
  // CreateDirectoryW already fails beyond 248 characters; below that no prefix is needed.
  if (w.size() < 248 || w.starts_with(L"\\\\?\\")) return w;
  const DWORD need = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  if (need == 0) return w;
  std::wstring full(need, L'\0');
  const DWORD got = GetFullPathNameW(w.c_str(), need, full.data(), nullptr);
  if (got == 0 || got >= need) return w;
  full.resize(got);
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::string ApiError(const char* api, const std::string& argument, DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD len =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string reason;
  if (len > 0 && buffer) reason = Narrow(std::wstring_view(buffer, len));
  if (buffer) LocalFree(buffer);
  while (!reason.empty() &&
         (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  if (reason.empty()) reason = "Win32 error";
  return std::string(api) + "(" + argument + "): " + reason + " (" + std::to_string(code) + ")";
}

bool Fail(std::string* err, const char* api, const std::string& argument, DWORD code) {
  if (err) *err = ApiError(api, argument, code);
  return false;
}

void PumpPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace krv::win32
