// The platform services the starter works with, handed to Main.
#pragma once

#include <functional>
#include <memory>

#include "loader/frmLoader.h"
#include "base/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InstanceMutex.h"
#include "ui/ProgressWindow.h"
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
  std::function<std::unique_ptr<ProgressWindow>()> make_progress_window = NewProgressWindow;
  // The loader's step list; empty: the standard pipeline. Tests put their own.
  std::function<std::vector<frmLoader::NamedStep>()> loader_steps = {};
  // Windows and event loop of the start menu; without one the menu cannot be shown.
  UiHost* ui = nullptr;
};

}  // namespace krv
