#include "platform/WinCommandLine.h"

namespace krv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

// As CommandLineToArgvW and the C runtime of the Office programs do it:
// inside quotes, "" gives one quote and ends the quoted part (the runtime of
// newer compilers would stay quoted).
std::vector<std::string> SplitWindowsArgs(std::string_view text) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = text.size();
  for (;;) {
    while (i < n && IsBlank(text[i])) ++i;
    if (i >= n) break;
    std::string arg;
    bool in_quotes = false;
    while (i < n && (in_quotes || !IsBlank(text[i]))) {
      size_t backslashes = 0;
      while (i < n && text[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < n && text[i] == '"') {
        arg.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          arg += '"';
        } else if (in_quotes && i + 1 < n && text[i + 1] == '"') {
          arg += '"';
          in_quotes = false;
          ++i;
        } else {
          in_quotes = !in_quotes;
        }
        ++i;
      } else {
        arg.append(backslashes, '\\');
        if (i < n && (in_quotes || !IsBlank(text[i]))) arg += text[i++];
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string CommandLineAfterProgram(std::string_view command_line) {
  size_t i = 0;
  const size_t n = command_line.size();
  if (n > 0 && command_line[0] == '"') {
    const size_t close = command_line.find('"', 1);
    i = close == std::string_view::npos ? n : close + 1;
  } else {
    while (i < n && !IsBlank(command_line[i])) ++i;
  }
  while (i < n && IsBlank(command_line[i])) ++i;
  return std::string(command_line.substr(i));
}

std::string QuoteWindowsArg(std::string_view arg) {
  if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string_view::npos) return std::string(arg);
  std::string out = "\"";
  size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are literal unless a quote follows them.
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');  // they stand before the closing quote
  out += '"';
  return out;
}

std::string JoinWindowsArgs(const std::vector<std::string>& args) {
  std::string out;
  for (size_t k = 0; k < args.size(); ++k) {
    if (k > 0) out += ' ';
    out += QuoteWindowsArg(args[k]);
  }
  return out;
}

}  // namespace krv
