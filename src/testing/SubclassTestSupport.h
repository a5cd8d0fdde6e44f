// Test helper: a subclass handler that writes "name:message" to a shared log
// and returns a fixed result; `during` runs inside its WindowProc.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/mSubclass.h"

namespace krv {

class RecordingHandler : public IkrvLibSubclass {
 public:
  RecordingHandler(std::string name, std::vector<std::string>* log, int32_t response = kMsgPostProcess,
                   std::intptr_t result = 0)
      : name_(std::move(name)), log_(log), response_(response), result_(result) {}

  int32_t MsgResponse() const override { return response_; }
  void SetMsgResponse(int32_t response) override { response_ = response; }
  std::intptr_t WindowProc(WindowHandle, uint32_t message, std::uintptr_t, std::intptr_t) override {
    log_->push_back(name_ + ":" + std::to_string(message));
    // Copies: `during` may destroy this handler.
    const std::intptr_t result = result_;
    if (during) {
      const std::function<void()> run = during;
      run();
    }
    return result;
  }

  std::function<void()> during;

 private:
  std::string name_;
  std::vector<std::string>* log_;
  int32_t response_;
  std::intptr_t result_;
};

}  // namespace krv
