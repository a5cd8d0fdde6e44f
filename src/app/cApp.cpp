#include "app/cApp.h"

#include <algorithm>

#include "app/CheckActiveX.h"
#include "app/CommandLine.h"
#include "app/SettingsFormHost.h"
#include "app/StartLog.h"
#include "app/mGlobals.h"
#include "base/WinPath.h"
#include "loader/frmLoader.h"
#include "menu/frmMenu.h"
#include "settings/frmControl.h"
#include "suite/IObjects.h"
#include "suite/cApp_Environment.h"
#include "suite/krvLibrary.h"
#include "suite/mCommon.h"
#include "suite/mCommon_CmdLine.h"
#include "suite/mLibFunctions_AppRunEx.h"
#include "suite/muKRVFunctions.h"
#include "suite/muKRVFunctions_Init.h"

namespace krv {

cApp::cApp(mGlobals& g) : g_(g) {
  AppEnv& env = g_.env;
  AppInfo app_info;
  app_info.program_dir = WinPathFolder(env.system.ExecutablePath());
  err_ = std::make_unique<cuAppError>(env.dialogs, app_info, &g_.screen);
  try {
    if (env.mutex.HeldByOther(kStarterMutex)) {
      err_->MsgShow(kMsgSecondInstance, kMbIconInformation);
      refused_ = true;
      return;
    }
    const StarterOptions options = ParseCommandLine(env.system.CommandLineTail(), *err_);
    test_mode_ = options.test_mode;
    run_mode_ = options.run_mode;
    delay_ = options.delay;
    no_menu_ = options.no_menu;
    skip_browser_check_ = options.skip_browser_check;
    if (!skip_browser_check_) CheckActiveX(env.registry, *err_);
    info_ = std::make_unique<krvInfo>(env.registry, env.fs, env.system);
    program_dir_ = info_->ProgramFolder();
  } catch (...) {
    err_->ErrRaise(0, "cApp", "Class_Initialize");
    throw;
  }
}

cApp::~cApp() = default;

bool cApp::Init() {
  if (refused_) return false;
  try {
    std::string file, args;
    switch (RunPatch(&file, &args)) {
      case kPatchRun:
        g_.RequestHandOver(HandOver{kMsgPatchStartFailed, file, args, false});
        return false;
      case kPatchStop:
        return false;
      default:
        break;
    }
    if (run_mode_ == 0 && Refused(CheckEnvironment(0, skip_browser_check_))) return false;
    switch (run_mode_) {
      case 0:
        if (!InitInterfaceDLL(true, true)) return false;
        return LoadKRV();
      case 4:
        return LoadSettingsForm(true);
      default:
        return LoadMenu(0, true);
    }
  } catch (...) {
    err_->ErrRaise(0, "cApp", "Init");
    throw;
  }
}

bool cApp::LoadKRV() {
  try {
    g_.screen.SetMousePointer(kMousePointerHourglass);
    const bool started = RunLoader();
    g_.screen.SetMousePointer(kMousePointerDefault);
    return started;
  } catch (...) {
    g_.screen.SetMousePointer(kMousePointerDefault);
    err_->ErrRaise(0, "cApp", "LoadKRV");
    throw;
  }
}

bool cApp::RunLoader() {
  if ((!g_.HasLibrary() || !g_.objects) && !InitInterfaceDLL(false, false)) return false;
  if (!CheckAccess()) return false;
  const LoaderResult result = ShowForm();
  switch (result.Action) {
    case kActionAccess:
      if (result.CommandLine.empty() || result.CommandLineHidden.empty() || result.AccPath.empty() ||
          result.Args.empty()) {
        return false;
      }
      return Run(result.CommandLine, result.CommandLineHidden, result.AccPath, result.Args);
    case kActionUpgrade:
    case kActionCompressor:
    case kActionVersionInfo:
    case kActionAdminTools: {
      static constexpr int32_t kHandOverMessage[] = {kMsgUpgradeStartFailed, kMsgCompressorStartFailed,
                                                     kMsgVersionInfoStartFailed, kMsgAdminToolsStartFailed};
      const int32_t message =
          result.MessageId != 0 ? result.MessageId : kHandOverMessage[result.Action - kActionUpgrade];
      if (!result.File.empty()) g_.RequestHandOver(HandOver{message, result.File, result.Args, result.Elevate});
      return false;
    }
    case kActionMenu:
      LoadMenu(0, false);
      return false;
    default:
      return false;
  }
}

bool cApp::InitInterfaceDLL(bool first, bool second) {
  InterfaceDLLContext context{g_.env.registry, g_.env.fs,    g_.env.system, g_.env.shell,
                              *err_,           g_.Library(), g_.objects,    g_.env.database};
  if (krvInitInterfaceDLL(context, first, second)) return true;
  g_.RequestEnd();  // the upgrade program has started and takes over
  return false;
}

std::string cApp::CheckEnvironment(int32_t mode, bool skip_browser) {
  return krv::CheckEnvironment(*info_, *err_, mode, skip_browser);
}

bool cApp::CheckCurrentUserIsAdmin() { return krv::CheckCurrentUserIsAdmin(*info_, *err_, false); }

bool cApp::CheckKRVAdmin() { return krv::CheckKRVAdmin(g_.Library(), &admin_confirmed_); }

bool cApp::CheckAccess() {
  if (!info_->AccessRunning()) return true;
  if (GetLibSetting(g_.Library(), *err_, "NoAccessCheck", "0") == "1") return true;
  return err_->MsgShow(kMsgAccessAlreadyRunning, kMbYesNo | kMbIconQuestion) != kIdNo;
}

LoaderResult cApp::ShowForm() {
  std::unique_ptr<ProgressWindow> window = g_.env.ui->CreateProgressWindow();
  LoaderContext context{*err_,      g_.Library(),  *g_.objects, g_.env.system, *window,
                        test_mode_, ProgramName(), &g_.screen,  g_.env.ui};
  context.reinit_interface = [this] { return InitInterfaceDLL(true, true); };
  context.no_menu = no_menu_;
  frmLoader loader(context, g_.env.loader_steps ? g_.env.loader_steps() : frmLoader::StandardSteps());
  LoaderResult result = loader.pubInit();
  window->Close();
  return result;
}

std::string cApp::ProgramName() const { return WinPathStem(g_.env.system.ExecutablePath()); }

bool cApp::Run(const std::string& command_line, const std::string& hidden, const std::string& file,
               const std::string& args) {
  (void)command_line;  // the full line carries the password; only the masked one is shown or logged
  if (test_mode_) {
    MsgBoxParams box;
    box.buttons = kMbIconInformation;
    box.title = err_->MsgLoad(kMsgTestModeCaption);
    err_->MsgShow(kMsgCommandLine, box, hidden);
    return false;
  }
  std::string why;
  if (AppRunEx(g_.env.shell, *err_, file, args, "", 0, 1, false, false, &why)) {
    StartLog(g_.Library(), *err_, g_.env.fs, g_.env.system, hidden);
    return true;
  }
  g_.start_failure = why;
  StartLog(g_.Library(), *err_, g_.env.fs, g_.env.system, hidden, why.empty() ? "?" : why);
  err_->MsgShow(kMsgCommandLineFailed, kMbIconStop, hidden);
  return false;
}

bool cApp::LoadMenu(int32_t active_item, bool use_delay) {
  try {
    g_.screen.SetMousePointer(kMousePointerHourglass);
    const int32_t seconds = use_delay ? delay_ : -1;
    frmMenu& menu = g_.forms.Add(std::make_unique<frmMenu>(g_));
    menu.Load();
    if (!menu.Loaded()) {
      g_.screen.SetMousePointer(kMousePointerDefault);
      return false;
    }
    PlaceMenu(menu.View());
    menu.View().Show();
    g_.env.ui->Wait(200);
    if (menu.Loaded()) {
      menu.pubActiveItem(active_item);
      menu.pubStartTimer(seconds);
    }
    g_.screen.SetMousePointer(kMousePointerDefault);
    return true;
  } catch (...) {
    g_.screen.SetMousePointer(kMousePointerDefault);
    err_->ErrRaise(0, "cApp", "LoadMenu");
    throw;
  }
}

// Under the mouse, the first item near the pointer, kept on the screen.
void cApp::PlaceMenu(MenuView& view) {
  UiHost& ui = *g_.env.ui;
  const TwipsPoint mouse = ui.CursorPosition();
  const TwipsPoint screen = ui.ScreenSize();
  int32_t left = mouse.x - 300;
  int32_t top = mouse.y - 500;
  if (top + view.HeightTwips() > screen.y) top = screen.y - view.HeightTwips();
  if (left + view.WidthTwips() > screen.x) left = screen.x - view.WidthTwips();
  // Near the top left corner the caption would leave the screen.
  view.Move(std::max(left, 0), std::max(top, 0));
}

bool cApp::LoadSettingsForm(bool stand_alone) {
  (void)stand_alone;  // whether the start menu is open decides
  try {
    if (Refused(CheckEnvironment(4, false))) return false;
    // A second request while the dialog is open (the menu's countdown) opens no second one.
    if (g_.forms.IsLoaded(kControlFormName)) return true;
    const bool menu_loaded = g_.forms.IsLoaded(kMenuFormName);
    // Without the backend: the dialog is where a missing path is set.
    if (!InitInterfaceDLL(false, false)) return false;
    if (!settings_host_) settings_host_ = std::make_unique<SettingsFormHost>(g_);
    g_.screen.SetMousePointer(kMousePointerHourglass);
    frmControl& form = g_.forms.Add(std::make_unique<frmControl>(*settings_host_));
    form.Load();
    g_.screen.SetMousePointer(kMousePointerDefault);
    if (!form.Loaded()) return false;
    form.SetStandalone(!menu_loaded);
    form.Show(menu_loaded);
    return true;
  } catch (...) {
    g_.screen.SetMousePointer(kMousePointerDefault);
    err_->ErrRaise(0, "cApp", "LoadSettingsForm");
    throw;
  }
}

bool cApp::Refused(const std::string& refusal) {
  if (refusal.empty()) return false;
  ShowText(refusal, kMbIconStop);
  return true;
}

void cApp::ShowText(const std::string& text, int32_t style) {
  MsgBoxParams box;
  box.buttons = style;
  box.text = text;
  err_->MsgShow(0, box);
}

}  // namespace krv
