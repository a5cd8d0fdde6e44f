// Win32 code only: the real platform services, one factory per interface.
#pragma once

#include <memory>

#include "base/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InstanceMutex.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace krv::win32 {

// Always the 32-bit registry view, where 32-bit Office keeps its keys.
std::unique_ptr<Registry> NewRegistry();
std::unique_ptr<FileSystem> NewFileSystem();
std::unique_ptr<Shell> NewShell();
std::unique_ptr<Dialogs> NewDialogs();
std::unique_ptr<System> NewSystem();
std::unique_ptr<InstanceMutex> NewInstanceMutex();

}  // namespace krv::win32
