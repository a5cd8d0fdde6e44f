#include "platform/WinCommandLine.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

using Args = std::vector<std::string>;

TEST(WinCommandLineTest, SplitsByTheRuntimeRules) {
  struct Case {
    const char* text;
    Args args;
  } cases[] = {
      {"", {}},
      {"a b\tc", {"a", "b", "c"}},
      {"a \"\" b", {"a", "", "b"}},
      {"\"C:\\Program Files\\x.mdb\" /x", {"C:\\Program Files\\x.mdb", "/x"}},
      {"ab\"c d\"ef g", {"abc def", "g"}},
      {"C:\\a\\b\\", {"C:\\a\\b\\"}},                // backslashes without a quote are literal
      {"\"C:\\a b\\\\\" x", {"C:\\a b\\", "x"}},     // 2n backslashes before a quote: n and the quote ends
      {"a\\\"b", {"a\"b"}},                          // 2n+1: n and a literal quote
      {"\"a\"\"b c\" d", {"a\"b", "c d"}},           // "" inside quotes is a quote and ends them
      {"a\"\"b", {"ab"}},                            // "" outside quotes is an empty group
      {"\"unterminated arg", {"unterminated arg"}},  // an open quote runs to the end
      {"a\nb", {"a\nb"}},                            // only blank and tab separate
  };
  for (const auto& c : cases) EXPECT_EQ(SplitWindowsArgs(c.text), c.args) << c.text;
}

TEST(WinCommandLineTest, CommandLineAfterProgramSkipsTheProgramName) {
  struct Case {
    const char* line;
    const char* tail;
  } cases[] = {
      {"", ""},
      {"krv25.exe   /L /D 5", "/L /D 5"},
      {"\"C:\\Program Files\\krv25.exe\" /T", "/T"},
      {"\"C:\\a b\\krv25.exe\"/T", "/T"},  // the name ends at its closing quote
      {"\"C:\\no end /T", ""},
      {"prog\t\"x y\" ", "\"x y\" "},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLineAfterProgram(c.line), c.tail) << c.line;
}

TEST(WinCommandLineTest, QuotesOnlyWhatNeedsIt) {
  struct Case {
    const char* arg;
    const char* quoted;
  } cases[] = {
      {"plain", "plain"},           {"C:\\a\\b\\", "C:\\a\\b\\"},     {"", "\"\""},
      {"a b", "\"a b\""},           {"C:\\a b\\", "\"C:\\a b\\\\\""}, {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"x\\\"y", "\"x\\\\\\\"y\""}, {"tab\there", "\"tab\there\""},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteWindowsArg(c.arg), c.quoted) << c.arg;
}

}  // namespace
}  // namespace krv
