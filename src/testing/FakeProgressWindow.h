// Records what the loader shows.
#pragma once

#include <vector>

#include "ui/ProgressWindow.h"

namespace krv {

class FakeProgressWindow : public ProgressWindow {
 public:
  struct Log {
    std::vector<std::string> lines;  // every newest line, in order
    std::string text;                // the whole text last shown
  };
  explicit FakeProgressWindow(Log* log) : log_(log) {}

  void Show(const std::string&) override {}
  void SetText(const std::string& text, const std::string& newest) override {
    log_->text = text;
    log_->lines.push_back(newest);
  }
  void Close() override {}

 private:
  Log* log_;
};

}  // namespace krv
