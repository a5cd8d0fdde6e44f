// "/?" (also "--help") and "--version" as the first word of the command line:
// the starter shows its help or its version and starts nothing. Behind any
// other first word they are left to ParseCommandLine, so the starter's own
// switches keep what they do ("/T /?" still reports "/?" as unknown).
#pragma once

#include <string>

namespace krv {

enum class InfoSwitch { kNone, kHelp, kVersion };

// What the first word of `command_line` (without the program name) asks for.
InfoSwitch InfoSwitchOf(const std::string& command_line);

// The German help or version text, lines ending in "\n".
std::string InfoText(InfoSwitch which);

}  // namespace krv
