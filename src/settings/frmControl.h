// The settings dialog: the data backend (recent list, file choice,
// compression) and the days before an update reminder, with OK, Close and
// the administrator tools. The logic lives here; the platform's
// SettingsView draws it and reports the user's acts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "settings/SettingsHost.h"
#include "settings/pRecentBackends.h"
#include "ui/Forms.h"
#include "ui/SettingsView.h"

namespace krv {

inline constexpr char kControlFormName[] = "frmControl";
inline constexpr char kDenyUserBackendSetting[] = "Options\\DenyUserBackendSettings";
inline constexpr char kCheckLastSyncDateSetting[] = "Loader\\CheckLastSyncDate";

// What SetBackendPath did.
enum BackendSwitchResult : int32_t { kBackendUnchanged = 0, kBackendRefused = 1, kBackendSwitched = 2 };

class frmControl final : public Form, public SettingsEvents {
 public:
  explicit frmControl(SettingsHost& host);
  ~frmControl() override;

  // Form_Load: creates the hidden window and fills both pages.
  void Load();
  // Marks the dialog as opened without the start menu: closing it ends the starter.
  void SetStandalone(bool standalone) { standalone_ = standalone; }
  // Modal returns once the dialog is closed.
  void Show(bool modal);
  SettingsView& View() { return *view_; }

  int32_t SetBackendPath(const std::string& path);
  bool Dirty() const { return dirty_; }
  bool OkEnabled() const { return ok_enabled_; }

  // Form
  std::string_view Name() const override { return kControlFormName; }
  bool Loaded() const override { return loaded_; }
  void Unload() override { UnloadForm(); }

  // SettingsEvents
  void KeyDown(int32_t key_code, int32_t shift) override;
  void ButtonClick(const std::string& key) override;
  void BackendClick() override;
  void BrowseClick() override;
  void CompressClick() override;
  void DaysChange() override;
  void QueryUnload(UnloadMode mode) override;

 private:
  void LoadPageBackend();
  void LoadPageUpdate();
  void Save();
  void SaveUpdatePage();
  void CmdOK();
  void cmdCancel();
  void CmdAdminTools();
  void EnableOK(bool enabled);
  // Form_Unload: the recent list is written; a stand-alone dialog ends the starter.
  void UnloadForm();
  void ReportError(const char* proc);
  std::string UserSettingPath(const char* name);

  SettingsHost& host_;
  std::unique_ptr<SettingsView> view_;
  std::unique_ptr<pRecentBackends> recent_;
  bool dirty_ = false;
  bool ok_enabled_ = false;
  bool standalone_ = false;
  bool loaded_ = false;
};

}  // namespace krv
