// The application object: command line, components, info object and the
// start sequence that shows the menu or the settings dialog, or runs the
// loader and starts Access or a sibling program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/cuAppError.h"
#include "loader/LoaderResult.h"
#include "suite/krvInfo.h"

namespace krv {

class mGlobals;
class MenuView;
class SettingsFormHost;

// What RunPatch tells Init.
enum PatchAnswer : int32_t { kPatchGoOn = -1, kPatchRun = 0, kPatchStop = 1 };

class cApp {
 public:
  // Class_Initialize: message service, command line, component check, info
  // object. A failing component check throws (Main shows it).
  explicit cApp(mGlobals& g);
  ~cApp();

  int32_t Delay() const { return delay_; }
  bool NoMenu() const { return no_menu_; }
  cuAppError& oErr() { return *err_; }
  krvInfo& oInfo() { return *info_; }
  const std::string& ProgramDir() const { return program_dir_; }
  int32_t RunMode() const { return run_mode_; }
  bool TestMode() const { return test_mode_; }

  // Refusal text when a conflicting program runs (mode 0 loader, 4 settings); "" to go on.
  std::string CheckEnvironment(int32_t mode, bool skip_browser);
  bool CheckCurrentUserIsAdmin();
  bool CheckKRVAdmin();

  bool Init();
  bool LoadKRV();
  bool LoadMenu(int32_t active_item, bool use_delay);
  bool LoadSettingsForm(bool stand_alone);

  int32_t RunPatch(std::string* file, std::string* args);
  // krvInitInterfaceDLL on the process's library; false when the upgrade program took over.
  bool InitInterfaceDLL(bool first, bool second);

 private:
  bool CheckAccess();
  bool RunLoader();
  // The starter's own file name without ".exe".
  std::string ProgramName() const;
  LoaderResult ShowForm();
  bool Run(const std::string& command_line, const std::string& hidden, const std::string& file,
           const std::string& args);
  void PlaceMenu(MenuView& view);
  // Shows a refusal text of CheckEnvironment in a stop box; true when there was one.
  bool Refused(const std::string& refusal);
  void ShowText(const std::string& text, int32_t style);

  mGlobals& g_;
  std::unique_ptr<krvInfo> info_;
  std::unique_ptr<cuAppError> err_;
  bool test_mode_ = false;
  int32_t run_mode_ = -1;
  int32_t delay_ = 5;
  bool skip_browser_check_ = false;
  bool no_menu_ = false;
  bool admin_confirmed_ = false;
  std::string program_dir_;
  bool refused_ = false;  // another instance appeared while this one was created
  // What the settings dialog asks of the application; outlives the dialog.
  std::unique_ptr<SettingsFormHost> settings_host_;
};

}  // namespace krv
