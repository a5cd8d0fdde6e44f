// Win32 code only: the instance lock as a named kernel mutex.
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"

namespace krv::win32 {
namespace {

class Win32InstanceMutex : public InstanceMutex {
 public:
  // The mutex exists as long as any process keeps a handle; we keep ours
  // until Release or the end of the process, even when another held it first.
  bool Create(const std::string& name, bool* already_held, std::string* err) override {
    Release();
    HANDLE h = CreateMutexW(nullptr, FALSE, Wide(name).c_str());
    const DWORD error = GetLastError();
    if (!h) return Fail(err, "CreateMutexW", name, error);
    handle_.Reset(h);
    name_ = name;
    if (already_held) *already_held = error == ERROR_ALREADY_EXISTS;
    return true;
  }

  void Release() override {
    handle_.Reset();
    name_.clear();
  }

  // Our own handle keeps the name alive, so a name we hold is not asked about.
  bool HeldByOther(const std::string& name) override {
    if (handle_.valid() && name == name_) return false;
    UniqueHandle h(OpenMutexW(SYNCHRONIZE, FALSE, Wide(name).c_str()));
    // Denied: it exists, created by someone with other rights.
    return h.valid() || GetLastError() == ERROR_ACCESS_DENIED;
  }

 private:
  UniqueHandle handle_;
  std::string name_;
};

}  // namespace

std::unique_ptr<InstanceMutex> NewInstanceMutex() { return std::make_unique<Win32InstanceMutex>(); }

}  // namespace krv::win32
