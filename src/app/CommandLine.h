// The starter's own command line: "/L" loader, "/LB" loader without the
// browser and component checks, "/O" settings dialog, "/D<seconds>" delay of
// the start menu's automatic start, "/T" test mode.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace krv {

class cuAppError;

inline constexpr int32_t kRunModeMenu = -1;
inline constexpr int32_t kRunModeLoader = 0;
inline constexpr int32_t kRunModeSettings = 4;
inline constexpr int32_t kDefaultDelay = 5;
inline constexpr int kDefaultMaxWords = 10;

// What the command line asks for.
struct StarterOptions {
  int32_t run_mode = kRunModeMenu;
  int32_t delay = kDefaultDelay;  // seconds
  bool test_mode = false;
  bool no_menu = false;  // a direct start was asked for ("/L", "/LB", "/O")
  bool skip_browser_check = false;
  bool operator==(const StarterOptions&) const = default;
};

// Splits `text` at blanks and tabs into at most `max_words` words (0 means
// 10); the text after the last word that fits is dropped. Quotes have no
// meaning. Returns the number of words, which `words` then holds.
int SplitCommandLine(const std::string& text, std::vector<std::string>* words, int max_words = 0);

// Evaluates the first ten words of `command_line` (the process command line
// without the program name). Unknown arguments are reported through `err`
// (messages 102 and 120, information style) and otherwise ignored. "/L",
// "/LB", "/O" and "/D<seconds>" end the evaluation.
StarterOptions ParseCommandLine(const std::string& command_line, cuAppError& err);

}  // namespace krv
