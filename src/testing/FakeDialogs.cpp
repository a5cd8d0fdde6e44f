#include "testing/FakeDialogs.h"

namespace krv {

int FakeDialogs::MessageBox(const std::string& text, const std::string& caption, int style) {
  shown.push_back({text, caption, style});
  if (!answers.empty()) {
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  const int buttons = style & 0x0F;
  return buttons == kMbYesNo || buttons == kMbYesNoCancel ? kIdYes : kIdOk;
}

}  // namespace krv
