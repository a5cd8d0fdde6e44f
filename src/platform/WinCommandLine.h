// Windows command-line rules, usable on every host: splitting an argument
// text the way the C runtime of Windows programs does, and quoting arguments
// so that such a program receives them unchanged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace krv {

// Splits like CommandLineToArgvW for the arguments after the program name:
// blanks and tabs separate, double quotes group, 2n backslashes before a quote
// give n backslashes, 2n+1 give n and a literal quote, "" inside quotes is a quote.
std::vector<std::string> SplitWindowsArgs(std::string_view text);
// The text after the program name of a full command line (the program name
// ends at the closing quote if it starts with one, else at the first blank),
// with leading blanks removed.
std::string CommandLineAfterProgram(std::string_view command_line);
// Quotes one argument so that SplitWindowsArgs gives it back unchanged.
std::string QuoteWindowsArg(std::string_view arg);
// The arguments quoted as needed and joined by blanks, so that
// SplitWindowsArgs gives them back.
std::string JoinWindowsArgs(const std::vector<std::string>& args);

}  // namespace krv
