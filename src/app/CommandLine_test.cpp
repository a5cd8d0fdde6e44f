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
      {"   \t ", 0, {}},
      {"  /T\t\t/L  ", 0, {"/T", "/L"}},
      {"\"C:\\Program Files\\x.mde\" a\nb", 0, {"\"C:\\Program", "Files\\x.mde\"", "a\nb"}},  // no quoting
      {"a b c d e f g h i j k l", 0, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},     // 0 means 10
      {"a b c", 2, {"a", "b"}},
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
      {"/loader", Opt(0, 5, false, true), {}},  // the first letters decide, in any case
      {"/lb", Opt(0, 5, false, true, true), {}},
      {"/LBX", Opt(0, 5, false, true), {}},  // not exactly /LB: acts as /L
      {"/options", Opt(4, 5, false, true), {}},
      {"/D3 /L", Opt(-1, 3), {}},             // the delay ends the evaluation: start menu counting from 3
      {"/L /T", Opt(0, 5, false, true), {}},  // nothing after /L is read
      {"/T /D7 /O", Opt(-1, 7, true), {}},
      {"/D /L", Opt(0, 5, false, true), {kDelayMissing}},  // reads on after a missing delay
      {"/D-5 /T", Opt(-1, 5, true), {Unknown("/D-5")}},
      {"/D99999999999", Opt(-1), {Unknown("/D99999999999")}},  // beyond 32 bits
      {"/D2147483647", Opt(-1, 2147483647), {}},
      {"\"/L\" /Y", Opt(-1), {Unknown("\"/L\""), Unknown("/Y")}},
      // Only ten words are evaluated.
      {"/T /T /T /T /T /T /T /T /T /T /L", Opt(-1, 5, true), {}},
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
