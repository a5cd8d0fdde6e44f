// The platform services the starter works with, handed to Main.
#pragma once

#include <functional>
#include <memory>

#include "base/Dialogs.h"
#include "loader/frmLoader.h"
#include "platform/Database.h"
#include "platform/FileSystem.h"
#include "platform/InstanceMutex.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "ui/UiHost.h"

namespace krv {

struct AppEnv {
  Registry& registry;
  FileSystem& fs;
  Shell& shell;
  Dialogs& dialogs;
  System& system;
  InstanceMutex& mutex;
  // Every window and the event loop; never null.
  UiHost* ui;
  // The loader's step list; empty: the standard pipeline. Tests put their own.
  std::function<std::vector<frmLoader::NamedStep>()> loader_steps = {};
  // The data backend's database service; null where no step asks the backend.
  Database* database = nullptr;
};

}  // namespace krv
