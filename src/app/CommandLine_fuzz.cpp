// Fuzz target: the starter's command line never crashes the parser, and the
// result stays within what the switches can produce.
#include <cstdint>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/InfoSwitch.h"
#include "base/cuAppError.h"
#include "testing/FuzzCheck.h"

namespace {

struct SilentDialogs : krv::Dialogs {
  int MessageBox(const std::string&, const std::string&, int) override { return krv::kIdOk; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> words;
  const int max_words = size > 0 ? data[0] % 12 : 0;
  const int count = krv::SplitCommandLine(text, &words, max_words);
  krv::FuzzCheck(count == static_cast<int>(words.size()));
  krv::FuzzCheck(count <= (max_words == 0 ? 10 : max_words));
  for (const std::string& word : words) {
    krv::FuzzCheck(!word.empty());
    krv::FuzzCheck(word.find_first_of(" \t") == std::string::npos);
  }

  // Help and version only ever come from a first word of their own spelling.
  if (krv::InfoSwitchOf(text) != krv::InfoSwitch::kNone) {
    krv::FuzzCheck(!words.empty() && (words[0] == "/?" || words[0].starts_with("--")));
  }

  SilentDialogs dialogs;
  krv::cuAppError err(dialogs, krv::AppInfo{});
  const krv::StarterOptions options = krv::ParseCommandLine(text, err);
  krv::FuzzCheck(options.run_mode == krv::kRunModeMenu || options.run_mode == krv::kRunModeLoader ||
                 options.run_mode == krv::kRunModeSettings);
  krv::FuzzCheck(options.delay >= 0);
  krv::FuzzCheck(options.no_menu == (options.run_mode != krv::kRunModeMenu));
  krv::FuzzCheck(!options.skip_browser_check || options.run_mode == krv::kRunModeLoader);
  return 0;
}
