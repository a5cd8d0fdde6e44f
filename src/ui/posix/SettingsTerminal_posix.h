// POSIX only: the settings dialog on the shared terminal. On a terminal it
// draws the dialog in an 80 x 24 box and serves its own input while shown:
// modal at once, modeless once the host's event loop takes it up (so the
// starter has its instance lock meanwhile); without a terminal it prints the
// settings and takes commands line by line.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "ui/SettingsView.h"
#include "ui/posix/Terminal_posix.h"

namespace krv {

class TerminalSettings final : public SettingsView {
 public:
  // The controls in Tab order.
  enum Control : int32_t { kList, kBrowse, kCompress, kDays, kAdmin, kOk, kCancel, kControlCount };

  // `fs` serves the completion of the file prompt; `plain_in` is read in
  // plain mode (the message boxes read the same stream).
  // A modeless dialog puts itself into `waiting`, where the host's event loop
  // picks it up and serves it.
  TerminalSettings(SettingsEvents& events, FileSystem& fs, std::istream& plain_in, int in_fd = 0, int out_fd = 1,
                   TerminalSettings** waiting = nullptr);
  ~TerminalSettings() override;
  TerminalSettings(const TerminalSettings&) = delete;
  TerminalSettings& operator=(const TerminalSettings&) = delete;

  void SetCaption(const std::string& caption) override;
  void Show(bool modal) override;
  bool IsVisible() const override { return shown_ && !closed_; }
  void Close() override;
  void SetBackends(const std::vector<std::string>& paths) override;
  void SelectBackend(int32_t index) override;
  int32_t SelectedBackend() const override { return selected_; }
  void SetBackendTip(const std::string& tip) override { Change(backend_tip_, tip); }
  void SetBackendEnabled(bool enabled) override { Change(enabled_[kList], enabled); }
  bool BackendEnabled() const override { return enabled_[kList]; }
  void SetBrowseEnabled(bool enabled) override { Change(enabled_[kBrowse], enabled); }
  void SetCompressEnabled(bool enabled) override { Change(enabled_[kCompress], enabled); }
  void SetBlockReason(const std::string& reason) override { Change(reason_, reason); }
  void SetDays(const std::string& text) override;
  std::string Days() const override { return days_; }
  void SetOkEnabled(bool enabled) override { Change(enabled_[kOk], enabled); }
  std::optional<std::string> ChooseBackendFile(const std::string& current) override;

  // Serves the dialog until it is closed.
  void Serve();

  // One input as the terminal decoded it (tests drive this directly too).
  void HandleInput(const TermInput& in);
  Control Focus() const { return focus_; }

 private:
  template <typename T>
  void Change(T& field, const T& value) {
    field = value;
    dirty_ = true;
  }
  // Serves input until `done`; false when the input ended first.
  bool Serve(const std::function<bool()>& done);
  void ServePlain();
  void PrintPlain();
  bool PlainCommand(const std::string& line);
  // Calls `f` with the events unless closed; false when the dialog closed
  // or went meanwhile.
  template <typename F>
  bool Emit(F&& f);
  void HandleKey(const TermInput& in);
  void HandleMouse(const TermInput& in);
  void ListKey(const TermInput& in);
  void PromptKey(const TermInput& in);
  void DaysKey(const TermInput& in);
  void Activate(Control c);
  void MoveFocus(int step);
  void Pick(int32_t index);
  void Render();
  void RenderList();
  void RenderPrompt();
  void RedrawMenusBehind();

  SettingsEvents* events_;
  FileSystem& fs_;
  std::istream& plain_in_;
  Terminal terminal_;
  TerminalSettings** waiting_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool shown_ = false;
  bool closed_ = false;
  bool dirty_ = true;

  std::string caption_;
  std::vector<std::string> backends_;
  int32_t selected_ = -1;
  std::string backend_tip_;
  std::string reason_;
  std::string days_;
  size_t days_cursor_ = 0;  // in bytes, at a character's start
  bool enabled_[kControlCount] = {true, true, true, true, true, true, true};
  Control focus_ = kList;

  bool list_open_ = false;
  int32_t list_hot_ = 0;

  bool prompt_open_ = false;
  std::optional<std::string> prompt_result_;
  std::string prompt_text_;
  std::vector<std::string> prompt_candidates_;
};

}  // namespace krv
