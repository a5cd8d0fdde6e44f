// POSIX only: the loader's progress lines on the terminal.
#include <cstdio>

#include "ui/ProgressWindow.h"

namespace krv {
namespace {

class TerminalProgress : public ProgressWindow {
 public:
  void Show(const std::string& caption) override {
    std::fprintf(stderr, "%s\n", caption.c_str());
    std::fflush(stderr);
  }
  void SetText(const std::string&, const std::string& newest) override {
    if (newest.empty()) return;
    std::fprintf(stderr, "  %s\n", newest.c_str());
    std::fflush(stderr);
  }
  void Close() override {}
};

}  // namespace

std::unique_ptr<ProgressWindow> NewProgressWindow() { return std::make_unique<TerminalProgress>(); }

}  // namespace krv
