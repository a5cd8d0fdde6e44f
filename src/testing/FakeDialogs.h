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

  int MessageBox(const std::string& text, const std::string& caption, int style) override;
};

}  // namespace krv
