// What the settings dialog asks of the application and the interface
// library. Like the start menu, the dialog only decides: ending the starter
// and handing over are requests carried out after its event.
#pragma once

#include <cstdint>
#include <string>

#include "base/HandOver.h"

namespace krv {

class BackendProbe;
class cuAppError;
class Dialogs;
class krvLibrary;
class Registry;
class FileSystem;
class UiHost;

class SettingsHost {
 public:
  virtual ~SettingsHost() = default;

  // nullptr once the application object is gone.
  virtual cuAppError* oErr() = 0;
  virtual krvLibrary& Library() = 0;
  virtual FileSystem& Files() = 0;
  virtual UiHost& Ui() = 0;
  virtual Dialogs& Boxes() = 0;

  // The current data backend's full path; "" when none is set.
  virtual std::string BackendPath() = 0;
  // True while KORVELLA holds the backend or the front end open.
  virtual bool KorvellaOpen() = 0;
  // Decides whether a chosen file is a data backend.
  virtual BackendProbe& Probe() = 0;
  virtual bool IsNetworkPath(const std::string& path) = 0;
  virtual std::string ServerName(const std::string& path) = 0;
  // The administrator indicator of the info object.
  virtual bool IsAdmin() = 0;
  // Starts a program in a normal window without waiting; true when started.
  virtual bool StartProgram(const std::string& file, const std::string& args, bool elevate) = 0;
  // Ends the starter after the current event, then starts `next`.
  virtual void HandOverTo(const HandOver& next) = 0;
  // Ends the starter after the current event.
  virtual void EndStarter() = 0;
};

}  // namespace krv
