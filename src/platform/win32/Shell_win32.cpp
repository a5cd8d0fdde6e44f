// Win32 code only: starting programs through ShellExecuteExW.
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"

// After windows.h, which they need.
#include <objbase.h>
#include <shellapi.h>

namespace krv::win32 {
namespace {

// The shell may hand the start to COM objects; it wants the thread initialised.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

class Win32Shell : public Shell {
 public:
  bool Start(const ShellStart& start, std::string* err) override {
    ComScope com;
    const std::wstring file = Wide(start.file);
    const std::wstring args = Wide(start.args);
    const std::wstring dir = Wide(start.directory);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | (start.wait ? SEE_MASK_NOCLOSEPROCESS : 0);
    info.lpVerb = start.elevate ? L"runas" : nullptr;
    info.lpFile = file.c_str();
    info.lpParameters = args.empty() ? nullptr : args.c_str();
    info.lpDirectory = dir.empty() ? nullptr : dir.c_str();
    info.nShow = start.show;
    const BOOL ok = ShellExecuteExW(&info);
    const DWORD error = ok ? 0 : GetLastError();
    UniqueHandle process(info.hProcess);
    const auto inst = reinterpret_cast<INT_PTR>(info.hInstApp);
    if (!ok || inst <= 32) {
      // hInstApp holds the old-style error number when GetLastError has none.
      return Fail(err, "ShellExecuteExW", start.file, error ? error : static_cast<DWORD>(inst));
    }
    if (!start.wait || !process.valid()) return true;  // no handle: the shell reused a running program
    // Short slices keep our windows painted while the program runs.
    for (;;) {
      PumpPendingMessages();
      const DWORD wait = WaitForSingleObject(process.get(), 125);
      if (wait == WAIT_OBJECT_0) return true;
      if (wait != WAIT_TIMEOUT) return Fail(err, "WaitForSingleObject", start.file, GetLastError());
    }
  }
};

}  // namespace

std::unique_ptr<Shell> NewShell() { return std::make_unique<Win32Shell>(); }

}  // namespace krv::win32
