#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "testing/FakeDialogs.h"

namespace krv {
namespace {

TEST(SplitCommandLineTest, SplitsAtBlanksAndTabsOnly) {
  struct Case {
    const char* text;
    int max_words;
    std::vector<std::string> words;
  } cases[] = {
      {"", 0, {}},
      {"   \t ", 0, {}},
      {"/L", 0, {"/L"}},
      {"  /T\t\t/L  ", 0, {"/T", "/L"}},
      {"\"C:\\Program Files\\x.mde\" /L", 0, {"\"C:\\Program", "Files\\x.mde\"", "/L"}},   // quotes mean nothing
      {"a b c d e f g h i j k l", 0, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},  // 0 means 10
      {"a b c", 2, {"a", "b"}},
      {"a b   ", 2, {"a", "b"}},
      {"a\nb", 0, {"a\nb"}},  // a line break is no separator
  };
  for (const Case& c : cases) {
    std::vector<std::string> words{"stale"};
    EXPECT_EQ(SplitCommandLine(c.text, &words, c.max_words), static_cast<int>(c.words.size())) << c.text;
    EXPECT_EQ(words, c.words) << c.text;
  }
}

struct ParseCase {
  const char* line;
  StarterOptions want;
  std::vector<std::string> messages;  // texts shown, in order
};

StarterOptions Opt(int32_t run_mode, int32_t delay = 5, bool test = false, bool no_menu = false, bool skip = false) {
  return StarterOptions{run_mode, delay, test, no_menu, skip};
}

const char kDelayMissing[] =
    "Wenn das Befehlszeilenargument '/D' angegeben wird, muss auch die gewünschte Verzögerungszeit angegeben werden.";
std::string Unknown(const std::string& arg) { return "Der Parameter '" + arg + "' ist unbekannt."; }

TEST(ParseCommandLineTest, EverySwitchAndCombination) {
  const ParseCase cases[] = {
      {"", Opt(-1), {}},
      {"/L", Opt(0, 5, false, true), {}},
      {"/l", Opt(0, 5, false, true), {}},
      {"/Loader", Opt(0, 5, false, true), {}},
      {"/LB", Opt(0, 5, false, true, true), {}},
      {"/lb", Opt(0, 5, false, true, true), {}},
      {"/LBX", Opt(0, 5, false, true), {}},  // not exactly /LB: acts as /L
      {"/O", Opt(4, 5, false, true), {}},
      {"/options", Opt(4, 5, false, true), {}},
      {"/D10", Opt(-1, 10), {}},
      {"/d0", Opt(-1, 0), {}},
      {"/D3 /L", Opt(-1, 3), {}},  // the delay ends the evaluation: start menu counting from 3
      {"/T", Opt(-1, 5, true), {}},
      {"/test", Opt(-1, 5, true), {}},
      {"/T /L", Opt(0, 5, true, true), {}},
      {"/L /T", Opt(0, 5, false, true), {}},  // nothing after /L is read
      {"/L /X", Opt(0, 5, false, true), {}},
      {"/O /L", Opt(4, 5, false, true), {}},
      {"/T /LB", Opt(0, 5, true, true, true), {}},
      {"/T /O", Opt(4, 5, true, true), {}},
      {"/T /D7 /O", Opt(-1, 7, true), {}},
      {"/d", Opt(-1), {kDelayMissing}},
      {"/D /L", Opt(0, 5, false, true), {kDelayMissing}},  // reads on after a missing delay
      {"/Dx", Opt(-1), {Unknown("/Dx")}},
      {"/D-5 /T", Opt(-1, 5, true), {Unknown("/D-5")}},
      {"/D1.5", Opt(-1), {Unknown("/D1.5")}},
      {"/D99999999999", Opt(-1), {Unknown("/D99999999999")}},  // beyond 32 bits
      {"/D2147483647", Opt(-1, 2147483647), {}},
      {"/X /Y /L", Opt(0, 5, false, true), {Unknown("/X"), Unknown("/Y")}},
      {"L / /", Opt(-1), {Unknown("L"), Unknown("/"), Unknown("/")}},
      {"\"/L\"", Opt(-1), {Unknown("\"/L\"")}},
      // Only ten words are evaluated.
      {"/T /T /T /T /T /T /T /T /T /T /L", Opt(-1, 5, true), {}},
      {"a b c d e f g h i /L",
       Opt(0, 5, false, true),
       {Unknown("a"), Unknown("b"), Unknown("c"), Unknown("d"), Unknown("e"), Unknown("f"), Unknown("g"), Unknown("h"),
        Unknown("i")}},
  };
  for (const ParseCase& c : cases) {
    FakeDialogs dialogs;
    cuAppError err(dialogs, AppInfo{});
    EXPECT_EQ(ParseCommandLine(c.line, err), c.want) << c.line;
    std::vector<std::string> texts;
    for (const auto& shown : dialogs.shown) {
      texts.push_back(shown.text);
      EXPECT_EQ(shown.style, kMbIconInformation) << c.line;
      EXPECT_EQ(shown.caption, kAppTitle) << c.line;
    }
    EXPECT_EQ(texts, c.messages) << c.line;
  }
}

// A message that cannot be shown skips the word and the evaluation goes on.
TEST(ParseCommandLineTest, FailingMessageDoesNotStopTheStart) {
  FakeDialogs dialogs;
  cuAppError err(dialogs, AppInfo{});
  err.SetMsgArray(MsgArrayData{{"nur eine Meldung"}, 0});  // 102 and 120 are missing now
  EXPECT_EQ(ParseCommandLine("/X /d /T /L", err), Opt(0, 5, true, true));
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace krv
