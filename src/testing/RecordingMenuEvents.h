// A start-menu form that writes every event as "Name arguments;"; `hook` runs
// inside each event after it is written.
#pragma once

#include <functional>
#include <string>

#include "ui/MenuView.h"

namespace krv {

struct RecordingMenuEvents final : MenuEvents {
  std::string log;
  std::function<void(const std::string&)> hook;

  template <typename... Args>
  void Add(const char* name, Args... args) {
    std::string entry = name;
    ((entry += " " + std::to_string(static_cast<int>(args))), ...);
    log += entry + ";";
    if (hook) hook(entry);
  }
  void KeyDown(int32_t key, int32_t shift) override { Add("KeyDown", key, shift); }
  void LabelMouseMove(int32_t i) override { Add("LabelMouseMove", i); }
  void Icon1MouseMove(int32_t i) override { Add("Icon1MouseMove", i); }
  void Icon2MouseMove(int32_t i) override { Add("Icon2MouseMove", i); }
  void LabelMouseDown(int32_t i, int16_t button) override { Add("LabelMouseDown", i, button); }
  void LabelClick(int32_t i) override { Add("LabelClick", i); }
  void Icon1Click(int32_t i) override { Add("Icon1Click", i); }
  void BackgroundMouseUp(int16_t button) override { Add("BackgroundMouseUp", button); }
  void FakeGotFocus(int32_t i) override { Add("FakeGotFocus", i); }
  void FakeClick(int32_t i) override { Add("FakeClick", i); }
  void Timer(MenuTimer t) override { Add("Timer", t); }
  void ContextAutoUnload() override { Add("ContextAutoUnload"); }
  void ContextSkin(int32_t skin) override { Add("ContextSkin", skin); }
  void QueryUnload(UnloadMode mode) override { Add("QueryUnload", mode); }
  void AppActivated(bool active) override { Add("AppActivated", active); }
};

}  // namespace krv
