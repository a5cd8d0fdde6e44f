#include "app/mGlobals.h"

#include "app/InfoSwitch.h"
#include "app/cApp.h"
#include "base/WinPath.h"
#include "base/cmnShowFatalError.h"
#include "base/cuAppError.h"
#include "platform/StandardOutput.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "suite/mLibFunctions_AppRunEx.h"
#include "ui/UiHost.h"
#include "ui/mSubclass.h"

namespace krv {

mGlobals::mGlobals(AppEnv& environment) : env(environment), screen(*environment.ui) {}

mGlobals::~mGlobals() {
  forms.UnloadAll();
  forms.Collect();
}

mSubclass* mGlobals::Subclass() {
  if (!subclass_ && env.ui->Windows()) {
    subclass_ = std::make_unique<mSubclass>(*env.ui->Windows(), WinPathStem(env.system.ExecutablePath()));
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

std::string mGlobals::CheckEnvironment(int32_t program) {
  return app ? app->CheckEnvironment(program, false) : std::string();
}

bool mGlobals::InitInterfaceDLL(bool first, bool second) { return app && app->InitInterfaceDLL(first, second); }

bool mGlobals::LoadKRV() { return app && app->LoadKRV(); }

bool mGlobals::LoadSettingsForm(bool stand_alone) { return app && app->LoadSettingsForm(stand_alone); }

cuAppError* mGlobals::oErr() { return app ? &app->oErr() : nullptr; }

namespace {

// A damaged store of settings must not read as an empty one: the start
// would go on with defaults and later writes could bury what is left.
bool SettingsReadable(mGlobals& g) {
  std::string why;
  if (g.env.registry.CheckStores(&why)) return true;
  g.screen.SetMousePointer(kMousePointerDefault);
  g.env.dialogs.MessageBox(std::string("Die Einstellungen können nicht gelesen werden, weil eine "
                                       "Einstellungsdatei beschädigt ist:") +
                               kCrLf + kCrLf + why + kCrLf + kCrLf +
                               "KORVELLA wird nicht gestartet, und die Datei bleibt unverändert. Prüfen Sie "
                               "sie mit krvreg, oder stellen Sie eine Sicherung wieder her.",
                           kAppTitle, kMbIconStop);
  return false;
}

}  // namespace

void Finish(mGlobals& g) {
  if (const std::optional<HandOver> next = g.PendingHandOver()) {
    RunAndReport(g, *next);
  } else {
    Shutdown(g);
  }
}

int Main(AppEnv& env) {
  mGlobals g(env);
  return Main(g);
}

int Main(mGlobals& g) {
  // Help and version come before anything else and start nothing.
  if (const InfoSwitch info = InfoSwitchOf(g.env.system.CommandLineTail()); info != InfoSwitch::kNone) {
    const std::string text = InfoText(info);
    if (!WriteStandardOutput(text)) g.env.dialogs.MessageBox(text, kAppTitle, kMbIconInformation);
    return 0;
  }
  try {
    g.screen.SetMousePointer(kMousePointerHourglass);
    if (g.env.mutex.HeldByOther(kStarterMutex)) {
      cuAppError err(g.env.dialogs, AppInfo{}, &g.screen);
      err.MsgShow(kMsgSecondInstance, kMbIconInformation);
      g.screen.SetMousePointer(kMousePointerDefault);
      return 0;
    }
    if (!SettingsReadable(g)) return 1;
    g.app = std::make_unique<cApp>(g);
    if (g.app->Init() && !g.EndRequested()) {
      bool already_held = false;
      std::string why;
      g.mutex_held = g.env.mutex.Create(kStarterMutex, &already_held, &why);
      g.screen.SetMousePointer(kMousePointerDefault);
      // The process lives while a form is loaded (the start menu), until a
      // form asks to end the starter or to hand over.
      g.env.ui->RunLoop([&g] {
        g.forms.Collect();
        return g.EndRequested() || !g.forms.AnyLoaded();
      });
      if (g.EndRequested()) Finish(g);
      g.forms.Collect();
    } else {
      Finish(g);
    }
    g.screen.SetMousePointer(kMousePointerDefault);
    return 0;
  } catch (...) {
    cmnShowFatalError(g.env.dialogs, kAppTitle, "Main", {}, &g.screen);
    Shutdown(g);
    return 1;
  }
}

void Shutdown(mGlobals& g) {
  try {
    g.ReleaseLibrary();
    g.forms.UnloadAll();
    g.app.reset();
    g.screen.SetMousePointer(kMousePointerDefault);
    if (g.mutex_held) g.env.mutex.Release();
    g.mutex_held = false;
  } catch (...) {
    // The end routine ignores errors.
  }
}

void RunAndReport(mGlobals& g, const HandOver& next) {
  std::string text;
  bool elevate = next.Elevate;
  if (g.app) {
    if (next.MessageId != 0) text = g.app->oErr().MsgLoad(next.MessageId, "#ERR_NUMBER#", "#ERR_DESC#");
    if (elevate && g.app->oInfo().IsAdmin()) elevate = false;
  }
  Shutdown(g);
  g.env.ui->DoEvents();  // let the closed windows go from the screen

  KrvError pending;
  bool started = false;
  std::string why;
  try {
    cuAppError err(g.env.dialogs, AppInfo{});  // the application object is gone by now
    started = AppRunEx(g.env.shell, err, next.File, next.Args, "", 0, 1, false, elevate, &why);
  } catch (const KrvError& e) {
    pending = e;
  }
  if (started) return;
  if (!why.empty()) g.start_failure = why;
  if (text.empty()) return;

  const bool has_error = pending.number != 0;
  auto replace = [&text](const std::string& marker, const std::string& with) {
    for (size_t pos = text.find(marker); pos != std::string::npos; pos = text.find(marker, pos + with.size())) {
      text.replace(pos, marker.size(), with);
    }
  };
  replace("#ERR_NUMBER#", has_error ? std::to_string(pending.number) : "-1");
  replace("#ERR_DESC#", has_error ? pending.description : "Unbekannter Fehler");
  text += std::string(kCrLf) + kCrLf + "Datei: " + next.File;
  if (!next.Args.empty()) text += std::string(kCrLf) + "Befehlszeitenargumente: " + next.Args;
  g.env.dialogs.MessageBox(text, kAppTitle, kMbIconStop);
}

}  // namespace krv
