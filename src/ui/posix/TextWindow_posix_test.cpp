// POSIX only: the text window on a pseudo-terminal and on pipes.
#include "ui/posix/TextWindow_posix.h"

#include <gtest/gtest.h>

#include <future>

#include "testing/PseudoTerminal_posix.h"

namespace krv {
namespace {

TextWindowArgs Args(int lines) {
  TextWindowArgs args{"ACHTUNG - KONFLIKT", "Courier New", 8, 0, "Kopf"};
  for (int i = 1; i <= lines; ++i) args.text += "\r\nZeile " + std::to_string(i);
  return args;
}

TEST(TerminalTextWindowTest, KeysScrollAndAnswer) {
  const struct {
    std::vector<std::string> typed;  // the screen shows `shown` before the last piece is typed
    std::string shown;
    bool answer;
  } cases[] = {
      {{"\r"}, "Zeile 17", true},
      {{"\t", "\r"}, "Zeile 17", false},
      {{"\x1b"}, "Zeile 17", false},
      {{"\x1b[F", "\r"}, "Zeile 40", true},                                // End shows the last line
      {{"\x1b[6~", "\x1b[6~", "\r"}, "Zeile 36", true},                    // two pages down
      {{"\x1b[B", "\x1b[B", "\x1b[B", "\x1b[A", "\r"}, "Zeile 19", true},  // two lines down, net
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    Pty pty;
    auto answer =
        std::async(std::launch::async, [&] { return RunTerminalTextWindow(Args(40), pty.slave(), pty.slave(), 2); });
    ASSERT_TRUE(Eventually([&] { return Visible(pty.Output()).find("[ Abbrechen ]") != std::string::npos; }));
    const auto screen = [&] {
      std::string all;
      for (const std::string& row : Screen(pty.Output())) all += row + "\n";
      return all;
    };
    EXPECT_NE(screen().find("ACHTUNG - KONFLIKT"), std::string::npos);
    EXPECT_EQ(screen().find("Zeile 19"), std::string::npos) << "24 rows show the head and 17 lines";
    for (size_t i = 0; i + 1 < c.typed.size(); ++i)
      pty.Type(c.typed[i]), std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_TRUE(Eventually([&] { return screen().find(c.shown) != std::string::npos; })) << screen();
    pty.Type(c.typed.back());
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(3)), std::future_status::ready);
    EXPECT_EQ(answer.get(), c.answer);
    EXPECT_TRUE(pty.Restored());
  }
}

TEST(TerminalTextWindowTest, WithoutATerminalItPrintsAndAsksLikeAMessageBox) {
  for (const auto& [typed, want] : {std::pair{"\n", true}, {"abbrechen\n", false}, {"", true}}) {
    int in[2], out[2];
    ASSERT_EQ(pipe(in) | pipe(out), 0);
    ASSERT_EQ(write(in[1], typed, strlen(typed)), static_cast<ssize_t>(strlen(typed)));
    close(in[1]);
    EXPECT_EQ(RunTerminalTextWindow(Args(2), in[0], 2, out[1]), want) << typed;
    close(out[1]);
    std::string printed;
    char buf[512];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) printed.append(buf, static_cast<size_t>(n));
    for (const char* part : {"ACHTUNG - KONFLIKT", "Zeile 2", "Abbrechen"})
      EXPECT_NE(printed.find(part), std::string::npos) << printed;
    close(in[0]), close(out[0]);
  }
}

}  // namespace
}  // namespace krv
