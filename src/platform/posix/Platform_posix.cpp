// POSIX only: assembles the embedded-default platform services.
#include "platform/Platform.h"
#include "platform/posix/Dialogs_posix.h"
#include "platform/posix/FileRegistry_posix.h"
#include "platform/posix/FileSystem_posix.h"
#include "platform/posix/InstanceMutex_posix.h"
#include "platform/posix/Shell_posix.h"
#include "platform/posix/System_posix.h"

namespace krv {

Platform CreateNativePlatform() {
  Platform p;
  p.registry = CreatePosixRegistry();
  p.fs = std::make_unique<PosixFileSystem>();
  p.shell = std::make_unique<PosixShell>();
  p.dialogs = std::make_unique<TerminalDialogs>();
  p.system = std::make_unique<PosixSystem>();
  p.mutex = std::make_unique<PosixInstanceMutex>();
  return p;
}

}  // namespace krv
