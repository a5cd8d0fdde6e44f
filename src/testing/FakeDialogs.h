// Records every message box and answers from a queue (default: the first
// button of the style: OK, or Yes for the Yes/No styles).
#pragma once

#include <deque>
#include <vector>

#include "base/Dialogs.h"

namespace krv {

class FakeDialogs : public Dialogs {
 public:
  struct Shown {
    std::string text, caption;
    int style = 0;
  };
  std::vector<Shown> shown;
  std::deque<int> answers;

  int MessageBox(const std::string& text, const std::string& caption, int style) override {
    shown.push_back({text, caption, style});
    if (answers.empty()) return (style & 0x0F) == kMbYesNo || (style & 0x0F) == kMbYesNoCancel ? kIdYes : kIdOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace krv
