// The process entry and what lives for the whole process: the application
// object, the single-instance mutex and the suite library's global object.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/AppEnv.h"
#include "ui/Forms.h"
#include "suite/IObjects.h"

namespace krv {

class cApp;
class krvLibrary;
class IObjects;
class mSubclass;

// Looked for by the suite's other programs while a starter runs.
inline constexpr char kStarterMutex[] = "KORVELLA_II_5_STARTER";

class mGlobals {
 public:
  explicit mGlobals(AppEnv& env);
  ~mGlobals();

  AppEnv& env;
  std::unique_ptr<cApp> app;
  std::unique_ptr<cApp> retired_app;  // released by Shutdown, destroyed with the globals
  bool mutex_held = false;

  // The suite library's global object and its interface root, created on first use.
  krvLibrary& Library();
  bool HasLibrary() const { return lib_ != nullptr; }
  // The interface library object; krvInitInterfaceDLL creates and prepares it.
  std::unique_ptr<IObjects> objects;
  void ReleaseLibrary();
  // Window subclassing of this process; nullptr where there are no windows.
  mSubclass* Subclass();

 private:
  std::unique_ptr<krvLibrary> lib_;
  std::unique_ptr<mSubclass> subclass_;

 public:
  // Declared last: forms are unloaded before anything they use goes.
  Forms forms;
};

// The starter's entry; returns the process exit code.
int Main(AppEnv& env);
// Same, with the globals given (tests inspect them afterwards).
int Main(mGlobals& g);

// The end routine: releases the library, the application object and the mutex.
void Shutdown(mGlobals& g);

// Ends the starter and starts another program of the suite; a failed start
// is reported with message `msg_id` (its first two "##" are the error number
// and description), the file and the arguments.
void RunAndReport(mGlobals& g, int32_t msg_id, const std::string& file, const std::string& args, bool elevate);

}  // namespace krv
