#include "app/SettingsFormHost.h"

#include "app/cApp.h"
#include "app/mGlobals.h"
#include "base/WinPath.h"
#include "platform/NetworkPath.h"
#include "suite/krvLibrary.h"
#include "suite/mLibFunctions_AppRunEx.h"

namespace krv {

SettingsFormHost::SettingsFormHost(mGlobals& g) : g_(g), probe_(g.env.fs, g.env.database) {}

cuAppError* SettingsFormHost::oErr() { return g_.oErr(); }
krvLibrary& SettingsFormHost::Library() { return g_.Library(); }
FileSystem& SettingsFormHost::Files() { return g_.env.fs; }
UiHost& SettingsFormHost::Ui() { return *g_.env.ui; }
Dialogs& SettingsFormHost::Boxes() { return g_.env.dialogs; }

std::string SettingsFormHost::BackendPath() {
  IObjects objects(g_.env.registry, g_.env.fs, g_.env.system);
  return objects.BackendPath();
}

bool SettingsFormHost::KorvellaOpen() {
  FileSystem& fs = g_.env.fs;
  std::string holder;
  const std::string backend = BackendPath();
  if (!backend.empty()) {
    if (fs.FileHeld(backend, &holder)) return true;
    // Jet's and ACE's lock files beside the backend.
    const std::string stem = WinPathFolder(backend) + WinPathStem(backend);
    if (fs.FileHeld(stem + ".ldb", &holder) || fs.FileHeld(stem + ".laccdb", &holder)) return true;
  }
  IObjects objects(g_.env.registry, fs, g_.env.system);
  return fs.FileHeld(objects.FrontEndPath(), &holder);
}

bool SettingsFormHost::IsNetworkPath(const std::string& path) { return krv::IsNetworkPath(path); }

std::string SettingsFormHost::ServerName(const std::string& path) { return NetworkServerName(path); }

bool SettingsFormHost::IsAdmin() { return g_.app && g_.app->oInfo().IsAdmin(); }

bool SettingsFormHost::StartProgram(const std::string& file, const std::string& args, bool elevate) {
  if (!g_.app) return false;
  return AppRunEx(g_.env.shell, g_.app->oErr(), file, args, "", 0, 1, false, elevate);
}

void SettingsFormHost::HandOverTo(const HandOver& next) { g_.RequestHandOver(next); }

void SettingsFormHost::EndStarter() { g_.RequestEnd(); }

}  // namespace krv
