// The settings dialog's view of the application: the process's objects, the
// interface library's backend path, indicators and network test, and the
// hand-over requests of mGlobals.
#pragma once

#include "settings/SettingsHost.h"
#include "suite/BackendSwitch.h"

namespace krv {

class mGlobals;

class SettingsFormHost final : public SettingsHost {
 public:
  explicit SettingsFormHost(mGlobals& g);

  cuAppError* oErr() override;
  krvLibrary& Library() override;
  FileSystem& Files() override;
  UiHost& Ui() override;
  Dialogs& Boxes() override;
  std::string BackendPath() override;
  // The backend, its lock file or the front end is held by another process.
  bool KorvellaOpen() override;
  BackendProbe& Probe() override { return probe_; }
  bool IsNetworkPath(const std::string& path) override;
  std::string ServerName(const std::string& path) override;
  bool IsAdmin() override;
  bool StartProgram(const std::string& file, const std::string& args, bool elevate) override;
  void HandOverTo(const HandOver& next) override;
  void EndStarter() override;

 private:
  mGlobals& g_;
  OpenBackendProbe probe_;
};

}  // namespace krv
