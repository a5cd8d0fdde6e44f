// POSIX only: the start menu's form on the real terminal menu, through a
// pseudo-terminal, with the rest of the installation faked.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/cApp.h"
#include "app/mGlobals.h"
#include "testing/PseudoTerminal_posix.h"
#include "testing/StarterHarness.h"
#include "ui/posix/UiHost_posix.h"

namespace krv {
namespace {

using namespace std::chrono_literals;

// Waits up to five seconds for `piece` among the visible text of the terminal.
bool Shows(Pty& pty, const std::string& piece) {
  for (int i = 0; i < 500; ++i) {
    if (Visible(pty.Output()).find(piece) != std::string::npos) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

TEST(MenuOnTerminalTest, KeysStopTheCountdownMoveAndRunAnItem) {
  Pty pty;
  termios before{};
  ASSERT_EQ(tcgetattr(pty.slave(), &before), 0);
  PosixUiHost host(pty.slave(), pty.slave());
  StarterHarness h;
  h.env.ui = &host;
  h.fs.AddFile("C:\\Programme\\Korvella\\krvver25.exe", "x");
  h.sys.command_line = "";
  mGlobals g(h.env);

  std::thread user([&pty] {
    if (!Shows(pty, "(5)")) return;
    pty.Type("\x1b[B");  // the first request is ignored, the second stops the countdown
    pty.Type("\x1b[B");
    std::this_thread::sleep_for(100ms);
    pty.Type("\r");
  });
  EXPECT_EQ(Main(g), 0);
  user.join();

  ASSERT_EQ(h.shell.started.size(), 1u) << Join(Screen(pty.Output()));
  EXPECT_EQ(h.shell.started[0].file, "C:\\Programme\\Korvella\\krvver25.exe");
  EXPECT_EQ(h.shell.started[0].args, "/AllowLoader");
  std::string out = pty.Output();
  for (int i = 0; i < 200 && out.find("\x1b[?1049l") == std::string::npos; ++i) {  // the reader may be behind
    std::this_thread::sleep_for(10ms);
    out = pty.Output();
  }
  for (const char* caption : {"KORVELLA II.5", "ORVELLA", "Browser", "VersionsInfo", "Kompressor", "Einstellungen"}) {
    EXPECT_NE(Visible(out).find(caption), std::string::npos) << caption;
  }
  EXPECT_EQ(Visible(out).find("(4)"), std::string::npos) << "the countdown went on";
  const size_t back = out.rfind("\x1b[?1049l");
  ASSERT_NE(back, std::string::npos);
  EXPECT_EQ(Visible(out.substr(back)).find_first_not_of("\r\n "), std::string::npos)
      << "the terminal is handed back last";
  termios after{};
  ASSERT_EQ(tcgetattr(pty.slave(), &after), 0);
  EXPECT_TRUE(SameTermios(before, after));
}

}  // namespace
}  // namespace krv
#endif
