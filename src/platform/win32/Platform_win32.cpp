// Win32 code only: assembles the real platform services.
#include "platform/Platform.h"
#include "platform/win32/Services_win32.h"

namespace krv {

Platform CreateNativePlatform() {
  Platform p;
  p.registry = win32::NewRegistry();
  p.fs = win32::NewFileSystem();
  p.shell = win32::NewShell();
  p.dialogs = win32::NewDialogs();
  p.system = win32::NewSystem();
  p.mutex = win32::NewInstanceMutex();
  p.database = CreateOdbcDatabase();
  return p;
}

}  // namespace krv
