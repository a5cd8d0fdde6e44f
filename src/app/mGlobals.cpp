#include "app/mGlobals.h"

#include "app/cApp.h"
#include "base/cuAppError.h"
#include "suite/mCommon.h"
#include "suite/mLibFunctions_AppRunEx.h"
#include "base/WinPath.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "ui/UiHost.h"
#include "ui/mSubclass.h"

namespace krv {

mGlobals::mGlobals(AppEnv& environment) : env(environment) {}

mGlobals::~mGlobals() {
  forms.UnloadAll();
  forms.Collect();
}

mSubclass* mGlobals::Subclass() {
  if (!subclass_ && env.ui && env.ui->Windows()) {
    std::string program = WinPathName(env.system.ExecutablePath());
    if (const size_t dot = program.rfind('.'); dot != std::string::npos) program.erase(dot);
    subclass_ = std::make_unique<mSubclass>(*env.ui->Windows(), program);
  }
  return subclass_.get();
}

krvLibrary& mGlobals::Library() {
  if (!lib_) lib_ = std::make_unique<krvLibrary>(env.registry, env.fs, env.system);
  return *lib_;
}

void mGlobals::ReleaseLibrary() {
  objects.reset();
  lib_.reset();
}

int Main(AppEnv& env) {
  mGlobals g(env);
  return Main(g);
}

int Main(mGlobals& g) {
  try {
    if (g.env.mutex.HeldByOther(kStarterMutex)) {
      cuAppError err(g.env.dialogs, AppInfo{});
      err.MsgShow(145, kMbIconInformation);
      return 0;
    }
    g.app = std::make_unique<cApp>(g);
    if (g.app->Init()) {
      bool already_held = false;
      std::string why;
      g.mutex_held = g.env.mutex.Create(kStarterMutex, &already_held, &why);
      // The process lives while a form is loaded (the start menu).
      if (g.env.ui) {
        g.env.ui->RunLoop([&g] {
          g.forms.Collect();
          return !g.forms.AnyLoaded();
        });
      }
    } else {
      Shutdown(g);
    }
    return 0;
  } catch (...) {
    cmnShowFatalError(g.env.dialogs, kAppTitle, "Main");
    Shutdown(g);
    return 1;
  }
}

void Shutdown(mGlobals& g) {
  try {
    g.ReleaseLibrary();
    g.forms.UnloadAll();
    // The object may be in the middle of one of its own members (a hand-over
    // from the loader), so it is retired, not destroyed, until Main is done.
    if (g.app) g.retired_app = std::move(g.app);
    if (g.mutex_held) g.env.mutex.Release();
    g.mutex_held = false;
  } catch (...) {
    // The end routine ignores errors.
  }
}

void RunAndReport(mGlobals& g, int32_t msg_id, const std::string& file, const std::string& args, bool elevate) {
  std::string text;
  if (g.app) {
    text = g.app->oErr().MsgLoad(msg_id, "#ERR_NUMBER#", "#ERR_DESC#");
    if (elevate && g.app->oInfo().IsAdmin()) elevate = false;
  }
  Shutdown(g);

  KrvError pending;
  bool started = false;
  try {
    cuAppError err(g.env.dialogs, AppInfo{});  // the application object is gone by now
    started = AppRunEx(g.env.shell, err, file, args, "", 0, 1, false, elevate);
  } catch (const KrvError& e) {
    pending = e;
  }
  if (started || text.empty()) return;

  const bool has_error = pending.number != 0;
  auto replace = [&text](const std::string& marker, const std::string& with) {
    for (size_t pos = text.find(marker); pos != std::string::npos; pos = text.find(marker, pos + with.size())) {
      text.replace(pos, marker.size(), with);
    }
  };
  replace("#ERR_NUMBER#", has_error ? std::to_string(pending.number) : "-1");
  replace("#ERR_DESC#", has_error ? pending.description : "Unbekannter Fehler");
  text += std::string(kCrLf) + kCrLf + "Datei: " + file;
  if (!args.empty()) text += std::string(kCrLf) + "Befehlszeitenargumente: " + args;
  g.env.dialogs.MessageBox(text, kAppTitle, kMbIconStop);
}

}  // namespace krv
