// The process entry and what lives for the whole process: the application
// object, the single-instance mutex and the suite library's global object.
// Only Main ends the starter and hands over to another program; the
// application object and the forms ask for it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/AppEnv.h"
#include "app/ScreenPointer.h"
#include "base/HandOver.h"
#include "menu/MenuHost.h"
#include "suite/IObjects.h"
#include "ui/Forms.h"

namespace krv {

class cApp;
class krvLibrary;
class IObjects;
class mSubclass;

// Looked for by the suite's other programs while a starter runs.
inline constexpr char kStarterMutex[] = "KORVELLA_II_5_STARTER";

class mGlobals final : public MenuHost {
 public:
  explicit mGlobals(AppEnv& env);
  ~mGlobals() override;

  AppEnv& env;
  std::unique_ptr<cApp> app;
  bool mutex_held = false;
  ScreenPointer screen;
  // The shell's reason for the last failed start, for the log and for tests.
  std::string start_failure;

  // The suite library's global object and its interface root, created on first use.
  krvLibrary& Library() override;
  bool HasLibrary() const { return lib_ != nullptr; }
  // The interface library object; krvInitInterfaceDLL creates and prepares it.
  std::unique_ptr<IObjects> objects;
  void ReleaseLibrary();
  // Window subclassing of this process; nullptr where there are no windows.
  mSubclass* Subclass() override;

  // What the starter is to do once the current call or event is over.
  void RequestEnd() { end_requested_ = true; }
  void RequestHandOver(const HandOver& next) { hand_over_ = next; }
  bool EndRequested() const { return end_requested_ || hand_over_.has_value(); }
  const std::optional<HandOver>& PendingHandOver() const { return hand_over_; }

  // MenuHost
  std::string CheckEnvironment(int32_t program) override;
  bool InitInterfaceDLL(bool first, bool second) override;
  bool LoadKRV() override;
  bool LoadSettingsForm(bool stand_alone) override;
  void EndStarter() override { RequestEnd(); }
  void HandOverTo(const HandOver& next) override { RequestHandOver(next); }
  cuAppError* oErr() override;
  IObjects* Objects() override { return objects.get(); }
  Forms& LoadedForms() override { return forms; }
  UiHost& Ui() override { return *env.ui; }
  FileSystem& Files() override { return env.fs; }
  Dialogs& Boxes() override { return env.dialogs; }

 private:
  std::unique_ptr<krvLibrary> lib_;
  std::unique_ptr<mSubclass> subclass_;
  bool end_requested_ = false;
  std::optional<HandOver> hand_over_;

 public:
  // Declared last: forms are unloaded before anything they use goes.
  Forms forms;
};

// The starter's entry; returns the process exit code.
int Main(AppEnv& env);
// Same, with the globals given (tests inspect them afterwards).
int Main(mGlobals& g);

// Carries out what the application object or a form asked for: the
// hand-over, or else the plain end of the starter (Shutdown).
void Finish(mGlobals& g);

// The end routine: releases the library, the forms, the application object
// and the mutex.
void Shutdown(mGlobals& g);

// Ends the starter and starts `next`; a failed start is reported with
// message `next.MessageId` (its first two "##" are the error number and
// description), the file and the arguments.
void RunAndReport(mGlobals& g, const HandOver& next);

}  // namespace krv
