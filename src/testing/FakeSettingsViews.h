// Views of the settings dialog and the registry permission notice for
// tests: they record what the form showed, and act as the user when asked.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/RegPermissionView.h"
#include "ui/SettingsView.h"

namespace krv {

class FakeSettingsView final : public SettingsView {
 public:
  explicit FakeSettingsView(SettingsEvents& e) : events(&e) {}
  FakeSettingsView() : events(nullptr) {}  // a list without a dialog

  void SetCaption(const std::string&) override {}
  void Show(bool is_modal) override {
    shown = !closed, modal = is_modal;
    if (is_modal && on_modal && shown) on_modal(*this);
  }
  bool IsVisible() const override { return shown && !closed; }
  void Close() override { closed = true, events = nullptr; }
  void SetBackends(const std::vector<std::string>& paths) override { backends = paths, selected = -1; }
  void SelectBackend(int32_t index) override { selected = index; }
  int32_t SelectedBackend() const override { return selected; }
  void SetBackendTip(const std::string& text) override { tip = text; }
  void SetBackendEnabled(bool enabled) override { backend_enabled = enabled; }
  bool BackendEnabled() const override { return backend_enabled; }
  void SetBrowseEnabled(bool enabled) override { browse_enabled = enabled; }
  void SetCompressEnabled(bool enabled) override { compress_enabled = enabled; }
  void SetBlockReason(const std::string& text) override { reason = text; }
  void SetDays(const std::string& text) override { days = text; }
  std::string Days() const override { return days; }
  void SetOkEnabled(bool enabled) override { ok_enabled = enabled; }
  std::optional<std::string> ChooseBackendFile(const std::string&) override { return file_choice; }

  // The user's acts.
  void Pick(int32_t index) { selected = index, events ? events->BackendClick() : void(); }
  void Type(const std::string& text) { days = text, events ? events->DaysChange() : void(); }

  SettingsEvents* events;
  std::function<void(FakeSettingsView&)> on_modal;
  std::optional<std::string> file_choice;
  std::string tip, reason, days;
  std::vector<std::string> backends;
  int32_t selected = -1;
  bool shown = false, modal = false, closed = false;
  bool backend_enabled = true, browse_enabled = true, compress_enabled = true, ok_enabled = true;
};

class FakeRegPermissionView final : public RegPermissionView {
 public:
  explicit FakeRegPermissionView(RegPermissionEvents& e) : events(&e) {}
  void SetKeys(const std::string& text) override { keys = text; }
  void SetOption(int32_t) override {}
  void ShowModal() override {
    shown = true;
    if (on_modal) on_modal(*this);
  }
  void Hide() override { shown = false; }
  void Close() override { shown = false; }

  RegPermissionEvents* events;
  std::function<void(FakeRegPermissionView&)> on_modal;
  std::string keys;
  bool shown = false;
};

}  // namespace krv
