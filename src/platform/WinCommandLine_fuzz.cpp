// Splitting must not crash on any text, quoting must survive a split, and
// whatever a split gives must come back unchanged after quoting and joining.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/WinCommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> args = krv::SplitWindowsArgs(text);
  if (krv::SplitWindowsArgs(krv::JoinWindowsArgs(args)) != args) std::abort();
  if (krv::SplitWindowsArgs(krv::QuoteWindowsArg(text)) != std::vector<std::string>{text}) std::abort();
  const std::string tail = krv::CommandLineAfterProgram(text);
  if (tail.size() > text.size() || text.compare(text.size() - tail.size(), tail.size(), tail) != 0) std::abort();
  return 0;
}
