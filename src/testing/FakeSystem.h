// A settable system: clock, screen, processes and windows as tests need them.
// SleepMs advances the clock instead of waiting.
#pragma once

#include <set>

#include "platform/InstanceMutex.h"
#include "platform/System.h"

namespace krv {

class FakeSystem : public System {
 public:
  std::string exe_path = "C:\\Programme\\Korvella\\krv25.exe";
  std::string command_line;
  LocalTime now{2026, 12, 6, 11, 43, 42, 0};
  int64_t tick_ms = 0;
  int screen_width = 1280, screen_height = 1024;
  bool admin = false;
  std::vector<std::string> processes;
  std::vector<std::string> captions;

  std::string ExecutablePath() override { return exe_path; }
  std::string CommandLineTail() override { return command_line; }
  std::string GetEnv(const std::string& /*name*/) override { return ""; }
  LocalTime Now() override { return now; }
  int64_t TickMs() override { return tick_ms; }
  void SleepMs(int ms) override { tick_ms += ms; }
  void PumpMessages() override {}
  bool PrimaryScreenSize(int* width, int* height) override {
    *width = screen_width;
    *height = screen_height;
    return true;
  }
  bool IsAdmin() override { return admin; }
  std::vector<std::string> ProcessNames() override { return processes; }
  std::vector<std::string> WindowCaptions() override { return captions; }
};

// Named locks shared by all FakeInstanceMutex objects of one `held` set, so a
// test can play two processes.
class FakeInstanceMutex : public InstanceMutex {
 public:
  explicit FakeInstanceMutex(std::set<std::string>* held) : held_(held) {}
  bool Create(const std::string& name, bool* already_held, std::string* /*err*/) override {
    *already_held = !held_->insert(name).second;
    mine_ = name;
    return true;
  }
  void Release() override {
    held_->erase(mine_);
    mine_.clear();
  }
  bool HeldByOther(const std::string& name) override { return held_->contains(name) && mine_ != name; }

 private:
  std::set<std::string>* held_;
  std::string mine_;
};

}  // namespace krv
