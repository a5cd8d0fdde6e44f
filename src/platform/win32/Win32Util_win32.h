// Win32 code only: windows.h without the A/W name macros that clash with our
// interface names, UTF-8/UTF-16 conversion at the API edge, error texts and
// RAII owners for HANDLE, HKEY and find handles.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// These macros would rename the members of our interfaces.
#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef MessageBox
#undef CreateMutex

namespace krv::win32 {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// Wide form of a path for the file APIs; long paths get the "\\?\" prefix.
std::wstring WidePath(const std::string& path);

// "Api(argument): reason (code)" for a Win32 error code.
std::string ApiError(const char* api, const std::string& argument, DWORD code);
// Fills *err (when given) with ApiError and returns false.
bool Fail(std::string* err, const char* api, const std::string& argument, DWORD code);

// Dispatches the pending window messages of this thread. A WM_QUIT found
// on the way is posted again so the main loop still sees it.
void PumpPendingMessages();

// Owns a kernel handle (NULL and INVALID_HANDLE_VALUE both mean none).
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return h_; }
  bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  HANDLE Release() {
    HANDLE h = h_;
    h_ = nullptr;
    return h;
  }
  void Reset(HANDLE h = nullptr) {
    if (valid()) CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_ = nullptr;
};

// Owns an open registry key.
class UniqueKey {
 public:
  UniqueKey() = default;
  ~UniqueKey() { Reset(); }
  UniqueKey(const UniqueKey&) = delete;
  UniqueKey& operator=(const UniqueKey&) = delete;

  HKEY get() const { return k_; }
  // For the out parameter of RegOpenKeyExW and RegCreateKeyExW.
  HKEY* out() {
    Reset();
    return &k_;
  }
  void Reset() {
    if (k_) RegCloseKey(k_);
    k_ = nullptr;
  }

 private:
  HKEY k_ = nullptr;
};

// Owns a FindFirstFileExW search.
class UniqueFind {
 public:
  explicit UniqueFind(HANDLE h) : h_(h) {}
  ~UniqueFind() {
    if (valid()) FindClose(h_);
  }
  UniqueFind(const UniqueFind&) = delete;
  UniqueFind& operator=(const UniqueFind&) = delete;

  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

}  // namespace krv::win32
