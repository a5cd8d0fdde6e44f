// The loader: the small progress window between the start of the starter and
// the start of Access. pubInit runs the start checks in their fixed order,
// shows one progress line per step, and returns what is to be started next.
// The loader itself never starts a process and never ends the starter: a
// step that wants another program started says so in the result.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "loader/LoaderResult.h"
#include "ui/ProgressWindow.h"

namespace krv {

class cAutoBackup;
class cuAppError;
class MousePointerOwner;
class krvLibrary;
class IObjects;
class System;
class SystemFolders;
class UiHost;

// What the loader works with; all owned by the caller.
struct LoaderContext {
  cuAppError& err;
  krvLibrary& lib;
  IObjects& objects;
  System& system;
  ProgressWindow& window;
  bool test_mode = false;
  std::string program_name;              // the starter's file name without ".exe"
  MousePointerOwner* pointer = nullptr;  // the screen's pointer, set back before the runner's errors
  UiHost* ui = nullptr;                  // windows of the steps beyond the progress window
  // Prepares the interface library again after its backend was closed; false
  // when the starter is to end. Unset: the objects' own Init.
  std::function<bool()> reinit_interface = {};
  bool no_menu = false;              // the start menu is switched off: a stop goes nowhere
  SystemFolders* folders = nullptr;  // where components are looked for; nullptr: the platform's
};

class frmLoader {
 public:
  using Step = std::function<bool(frmLoader&)>;
  struct NamedStep {
    std::string name;
    Step run;
  };

  explicit frmLoader(LoaderContext context);
  // For tests: a loader with its own step list.
  frmLoader(LoaderContext context, std::vector<NamedStep> steps);

  LoaderResult pubInit();

  // The steps and their helpers use these.
  void ShowProgress(const std::string& text);
  LoaderResult& result() { return result_; }
  LoaderContext& context() { return ctx_; }
  const std::string& lblAnzeige() const { return label_; }

  // The pipeline in its fixed order (the checks not yet part of this build
  // take their places as they arrive).
  static std::vector<NamedStep> StandardSteps();

  // The automatic backup of this run; its Status goes to ShowProgress. Held
  // until the form goes away.
  std::shared_ptr<cAutoBackup> m_AutoBackup;

 private:
  LoaderContext ctx_;
  std::vector<NamedStep> steps_;
  LoaderResult result_;
  std::string label_;
  int lines_ = 0;
};

// Pipeline steps (each: true = go on).
bool CheckLastSyncDate(frmLoader& loader);
bool CheckEnvironment(frmLoader& loader);
bool CheckComponents(frmLoader& loader);
bool CmdLine(frmLoader& loader);
bool CheckAutoBackup(frmLoader& loader);
// The Access executable to use, or "" when Access cannot be started.
std::string CmdLine_AccPath(frmLoader& loader);

// The backend steps.
bool CheckBackend(frmLoader& loader);
bool CheckUpgrade(frmLoader& loader);
bool CheckRetention(frmLoader& loader);
bool CompressBackend(frmLoader& loader);
// Records the backend's size, the time and its path below `key` (ending in "\").
void CompressBackend_SaveCurrent(frmLoader& loader, const std::string& key);

}  // namespace krv
