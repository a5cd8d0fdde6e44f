#include "app/CommandLine.h"

#include <limits>

#include "base/Text.h"
#include "base/cuAppError.h"

namespace krv {

namespace {

// Whole seconds: digits only, within the 32-bit range. Anything else (signs,
// fractions, overflow) is not a delay.
bool ParseSeconds(const std::string& text, int32_t* seconds) {
  if (text.empty()) return false;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int32_t>::max()) return false;
  }
  *seconds = static_cast<int32_t>(value);
  return true;
}

std::string TrimBlanks(const std::string& text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// Applies one word; true when it ends the evaluation.
bool ApplyWord(const std::string& word, cuAppError& err, StarterOptions* options) {
  if (IEquals(word, "/LB")) {
    options->run_mode = kRunModeLoader;
    options->skip_browser_check = true;
    options->no_menu = true;
    return true;
  }
  const std::string head = UpperCase(word.substr(0, 2));
  if (head == "/L") {
    options->run_mode = kRunModeLoader;
    options->no_menu = true;
    return true;
  }
  if (head == "/O") {
    options->run_mode = kRunModeSettings;
    options->no_menu = true;
    return true;
  }
  if (head == "/D") {
    if (word.size() == 2) {
      err.MsgShow(kMsgDelayMissing, kMbIconInformation);
      return false;
    }
    if (ParseSeconds(word.substr(2), &options->delay)) return true;
    err.MsgShow(kMsgUnknownArgument, kMbIconInformation, word);
    return false;
  }
  if (head == "/T") {
    options->test_mode = true;
    return false;
  }
  err.MsgShow(kMsgUnknownArgument, kMbIconInformation, word);
  return false;
}

}  // namespace

int SplitCommandLine(const std::string& text, std::vector<std::string>* words, int max_words) {
  if (max_words == 0) max_words = kDefaultMaxWords;
  words->clear();
  bool open = false;
  for (const char c : text) {
    if (c == ' ' || c == '\t') {
      open = false;
      continue;
    }
    if (!open) {
      if (static_cast<int>(words->size()) >= max_words) break;
      words->emplace_back();
      open = true;
    }
    words->back() += c;
  }
  return static_cast<int>(words->size());
}

StarterOptions ParseCommandLine(const std::string& command_line, cuAppError& err) {
  StarterOptions options;
  std::vector<std::string> words;
  SplitCommandLine(command_line, &words, kDefaultMaxWords);
  for (const std::string& word : words) {
    // A word that cannot be reported is still skipped; the start goes on.
    try {
      if (ApplyWord(TrimBlanks(word), err, &options)) break;
    } catch (...) {
    }
  }
  return options;
}

}  // namespace krv
