#include "settings/frmControl.h"

#include "base/MessageIds.h"
#include "base/Text.h"
#include "base/cmnShowFatalError.h"
#include "base/cuAppError.h"
#include "platform/FileSystem.h"
#include "suite/BackendSwitch.h"
#include "suite/SuiteNames.h"
#include "suite/krvLibrary.h"
#include "suite/mCommon_CmdLine.h"
#include "suite/muKRVFunctions.h"
#include "ui/UiHost.h"

namespace krv {
namespace {

constexpr int32_t kMsgNetworkBackend = 180;
constexpr int32_t kMsgBackendMissing = 195;
constexpr int32_t kMsgCompressStartFailed = 227;
constexpr int32_t kMsgKorvellaOpen = 501;
constexpr int32_t kMsgAdminOnly = 502;
constexpr int32_t kMsgDiscardChanges = 503;
constexpr int32_t kMsgAdminToolsSave = 504;
constexpr int32_t kKeyO = 'O';
constexpr int32_t kKeyS = 'S';

}  // namespace

frmControl::frmControl(SettingsHost& host) : host_(host) {}

frmControl::~frmControl() { UnloadForm(); }

void frmControl::Load() {
  try {
    view_ = host_.Ui().CreateSettingsView(*this);
    loaded_ = true;
    LoadPageBackend();
    LoadPageUpdate();
    EnableOK(false);
    view_->SetCaption(std::string(kAppTitle) + kSettingsCaptionSuffix);
  } catch (...) {
    ReportError("Form_Load");
  }
}

void frmControl::Show(bool modal) {
  if (loaded_) view_->Show(modal);
}

void frmControl::LoadPageBackend() {
  try {
    view_->SetBrowseEnabled(true);
    view_->SetBackendEnabled(true);
    view_->SetBlockReason("");
    cuAppError* err = host_.oErr();
    std::string reason;
    if (IEquals(RegRead(host_.Library(), kDenyUserBackendSetting, true), "1")) {
      reason = err ? err->MsgLoad(kMsgAdminOnly) : std::string();
    } else if (host_.KorvellaOpen()) {
      reason = err ? err->MsgLoad(kMsgKorvellaOpen) : std::string();
    }
    if (reason.empty()) {
      view_->SetCompressEnabled(!host_.BackendPath().empty());
    } else {
      view_->SetBrowseEnabled(false);
      view_->SetBackendEnabled(false);
      view_->SetCompressEnabled(false);
      view_->SetBlockReason(reason);
    }
    recent_ = std::make_unique<pRecentBackends>(host_.Library().registry(), host_.Library().Application().ProductRoot(),
                                                [this] { return host_.BackendPath(); });
    recent_->Init(*view_);
  } catch (...) {
    ReportError("LoadPageBackend");
  }
}

std::string frmControl::UserSettingPath(const char* name) {
  return "HKCU\\" + AddTrailingSeparator(host_.Library().Application().ProductRoot()) + name;
}

void frmControl::LoadPageUpdate() {
  try {
    krvLibrary& lib = host_.Library();
    const std::string key =
        AddTrailingSeparator(lib.Application().ProductRoot()) + PathKeyPart(kCheckLastSyncDateSetting);
    if (!lib.RegValueExists(Hive::CurrentUser, key, PathLastPart(kCheckLastSyncDateSetting)))
      RegWrite(lib, UserSettingPath(kCheckLastSyncDateSetting), "120");
    view_->SetDays(RegRead(lib, UserSettingPath(kCheckLastSyncDateSetting), false, "0"));
    dirty_ = false;
  } catch (...) {
    ReportError("LoadPageUpdate");
  }
}

void frmControl::DaysChange() {
  dirty_ = true;
  EnableOK(true);
}

void frmControl::EnableOK(bool enabled) {
  ok_enabled_ = enabled;
  if (view_) view_->SetOkEnabled(enabled);
}

void frmControl::SaveUpdatePage() {
  std::string text = view_->Days();
  if (text.empty() || !NumericValue(text)) {
    text = "0";
    view_->SetDays(text);
  }
  RegWrite(host_.Library(), UserSettingPath(kCheckLastSyncDateSetting), text);
}

void frmControl::Save() {
  try {
    if (dirty_) SaveUpdatePage();
    dirty_ = false;
    EnableOK(false);
  } catch (...) {
    ReportError("Save");
  }
}

void frmControl::BackendClick() {
  try {
    if (!loaded_ || !view_->IsVisible() || !view_->BackendEnabled()) return;
    const int32_t index = view_->SelectedBackend();
    if (index < 0 || static_cast<size_t>(index) >= recent_->Items().size()) return;
    const std::string path = recent_->Items()[static_cast<size_t>(index)];
    if (!host_.Files().FileExists(path)) {
      if (cuAppError* err = host_.oErr()) err->MsgShow(kMsgBackendMissing, kMbIconStop, path);
      recent_->ColRemove(path);
      return;
    }
    if (SetBackendPath(path) == kBackendRefused) recent_->ColRemove(path);
  } catch (...) {
    ReportError("cmbBackend");
  }
}

void frmControl::BrowseClick() {
  try {
    if (SetBackendPath("") == kBackendSwitched) recent_->ColAdd(host_.BackendPath());
  } catch (...) {
    ReportError("cmdBackendPath");
  }
}

int32_t frmControl::SetBackendPath(const std::string& path) {
  try {
    const std::string current = host_.BackendPath();
    if (!path.empty() && IEquals(path, current)) return kBackendUnchanged;
    std::string chosen = path;
    if (chosen.empty()) {
      const std::optional<std::string> file = view_->ChooseBackendFile(current);
      if (!file || file->empty()) return kBackendRefused;
      chosen = *file;
    }
    std::string why;
    const bool switched = SwitchBackend(host_.Library(), host_.Probe(), chosen, &why);
    if (!switched && host_.oErr()) {
      MsgBoxParams box;
      box.buttons = kMbIconStop;
      box.text = why;
      host_.oErr()->MsgShow(0, box);
    }
    view_->SetCompressEnabled(!host_.BackendPath().empty());
    return switched ? kBackendSwitched : kBackendRefused;
  } catch (...) {
    ReportError("SetBackendPath");
    return kBackendRefused;
  }
}

void frmControl::CompressClick() {
  try {
    const std::string path = host_.BackendPath();
    if (path.empty()) return;
    if (host_.IsNetworkPath(path)) {
      if (cuAppError* err = host_.oErr())
        err->MsgShow(kMsgNetworkBackend, kMbIconInformation, path, host_.ServerName(path));
      return;
    }
    std::string file, args;
    cmnCmdLineCompressor(host_.Library(), &file, &args);
    host_.HandOverTo(HandOver{kMsgCompressStartFailed, file, args, false});
    standalone_ = false;  // the hand-over ends the starter already
    UnloadForm();
  } catch (...) {
    ReportError("cmdCompressBackend_Click");
  }
}

void frmControl::ButtonClick(const std::string& key) {
  if (IEquals(key, "OK")) {
    CmdOK();
  } else if (IEquals(key, "Cancel")) {
    cmdCancel();
  } else if (IEquals(key, "Admin")) {
    CmdAdminTools();
  }
}

void frmControl::CmdOK() {
  try {
    Save();
    UnloadForm();
  } catch (...) {
    ReportError("CmdOK");
  }
}

void frmControl::cmdCancel() {
  try {
    if (ok_enabled_ && host_.oErr() && host_.oErr()->MsgShow(kMsgDiscardChanges, kMbYesNo | kMbIconQuestion) == kIdNo) {
      return;
    }
    UnloadForm();
  } catch (...) {
    ReportError("cmdCancel");
  }
}

void frmControl::CmdAdminTools() {
  try {
    cuAppError* err = host_.oErr();
    if (!err) return;
    const std::string file = cmnCmdLineAdminTools(host_.Library(), host_.Files(), *err);
    if (file.empty()) return;
    const bool elevate = !host_.IsAdmin();
    if (ok_enabled_) {
      const int answer = err->MsgShow(kMsgAdminToolsSave, kMbYesNoCancel | kMbIconQuestion);
      if (answer == kIdCancel) return;
      if (answer == kIdYes) Save();
    }
    if (host_.StartProgram(file, "", elevate)) UnloadForm();
  } catch (...) {
    ReportError("CmdAdminTools");
  }
}

void frmControl::KeyDown(int32_t key_code, int32_t shift) {
  if (shift & kAltBit) {
    if (key_code == kKeyO && ok_enabled_) CmdOK();
    if (key_code == kKeyS) cmdCancel();
    return;
  }
  if (key_code == kKeyEscape) cmdCancel();
}

void frmControl::QueryUnload(UnloadMode mode) {
  // The close box asks like "Schließen"; the system ends it without asking.
  if (mode == kUnloadByUser) {
    cmdCancel();
  } else {
    UnloadForm();
  }
}

void frmControl::UnloadForm() {
  if (!loaded_) return;
  loaded_ = false;
  recent_.reset();
  if (view_) view_->Close();
  if (standalone_) host_.EndStarter();
}

void frmControl::ReportError(const char* proc) { ReportFormError(host_.oErr(), host_.Boxes(), kControlFormName, proc); }

}  // namespace krv
