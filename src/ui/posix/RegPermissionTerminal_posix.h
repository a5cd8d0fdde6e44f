// POSIX only: the registry permission notice on the shared terminal; without
// a terminal it prints the notice and reads the choice line by line.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <string>

#include "ui/RegPermissionView.h"
#include "ui/posix/Terminal_posix.h"

namespace krv {

class TerminalRegPermission final : public RegPermissionView {
 public:
  TerminalRegPermission(RegPermissionEvents& events, std::istream& plain_in, int in_fd = 0, int out_fd = 1);
  ~TerminalRegPermission() override;
  TerminalRegPermission(const TerminalRegPermission&) = delete;
  TerminalRegPermission& operator=(const TerminalRegPermission&) = delete;

  void SetKeys(const std::string& text) override { keys_ = text; }
  void SetOption(int32_t index) override { option_ = index; }
  void ShowModal() override;
  void Hide() override { shown_ = false; }
  void Close() override;

  void HandleInput(const TermInput& in);

 private:
  template <typename F>
  bool Emit(F&& f);
  void Choose(int32_t option);
  void Render();
  void ServePlain();

  RegPermissionEvents* events_;
  std::istream& plain_in_;
  Terminal terminal_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::string keys_;
  int32_t option_ = 0;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace krv
