// Test helper: a subclass handler that writes "name:message" to a shared log
// and returns a fixed result; `during` runs inside its WindowProc.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/mSubclass.h"

namespace krv {

struct RecordingHandler : IkrvLibSubclass {
  RecordingHandler(std::string name_, std::vector<std::string>* log_, int32_t response_ = kMsgPostProcess,
                   std::intptr_t result_ = 0)
      : name(std::move(name_)), log(log_), response(response_), result(result_) {}

  int32_t MsgResponse() const override { return response; }
  void SetMsgResponse(int32_t r) override { response = r; }
  std::intptr_t WindowProc(WindowHandle, uint32_t message, std::uintptr_t, std::intptr_t) override {
    log->push_back(name + ":" + std::to_string(message));
    const std::intptr_t kept = result;  // copies: `during` may destroy this handler
    if (during) std::function<void()>{during}();
    return kept;
  }

  std::string name;
  std::vector<std::string>* log;
  int32_t response;
  std::intptr_t result;
  std::function<void()> during;
};

}  // namespace krv
