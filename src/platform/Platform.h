// The platform services the core is handed. CreateNativePlatform is defined
// once per platform (win32/ or posix/).
#pragma once

#include <memory>

#include "base/Dialogs.h"
#include "platform/Database.h"
#include "platform/FileSystem.h"
#include "platform/InstanceMutex.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace krv {

struct Platform {
  std::unique_ptr<Registry> registry;
  std::unique_ptr<FileSystem> fs;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<Dialogs> dialogs;
  std::unique_ptr<System> system;
  std::unique_ptr<InstanceMutex> mutex;
  std::unique_ptr<Database> database;
};

Platform CreateNativePlatform();

}  // namespace krv
