// Win32 code only: a GUI program has a standard output only when its starter
// handed one over (a redirection or a pipe); a console gets wide characters.
#include "platform/StandardOutput.h"
#include "platform/win32/Win32Util_win32.h"

namespace krv {

bool WriteStandardOutput(const std::string& text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return false;
  const DWORD type = GetFileType(out);
  if (type == FILE_TYPE_UNKNOWN) return false;
  std::string crlf;
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  DWORD mode = 0;
  DWORD written = 0;
  if (type == FILE_TYPE_CHAR && GetConsoleMode(out, &mode)) {
    const std::wstring wide = win32::Wide(crlf);
    return WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) &&
           written == wide.size();
  }
  return WriteFile(out, crlf.data(), static_cast<DWORD>(crlf.size()), &written, nullptr) && written == crlf.size();
}

}  // namespace krv
