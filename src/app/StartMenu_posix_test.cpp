// POSIX only: the start menu's form on the real terminal menu, through a
// pseudo-terminal, with the rest of the installation faked.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <thread>

#include "app/cApp.h"
#include "app/mGlobals.h"
#include "testing/PseudoTerminal_posix.h"
#include "testing/StarterHarness.h"
#include "ui/posix/UiHost_posix.h"

namespace krv {
namespace {

TEST(MenuOnTerminalTest, KeysStopTheCountdownMoveAndRunAnItem) {
  Pty pty;
  PosixUiHost host(pty.slave(), pty.slave());
  StarterHarness h;
  h.env.ui = &host;
  h.fs.AddFile("C:\\Programme\\Korvella\\krvver25.exe", "x");
  h.sys.command_line = "";
  mGlobals g(h.env);
  const auto shows = [&pty](const std::string& piece) {
    return Eventually([&] { return pty.Output().find(piece) != std::string::npos; });
  };
  std::thread user([&] {
    if (!shows("(5)")) return;
    pty.Type("\x1b[B");  // the first request is ignored, the second stops the countdown
    pty.Type("\x1b[B");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    pty.Type("\r");
  });
  EXPECT_EQ(Main(g), 0);
  user.join();

  ASSERT_EQ(h.shell.started.size(), 1u) << Visible(pty.Output());
  EXPECT_EQ(h.shell.started[0].file + " " + h.shell.started[0].args,
            "C:\\Programme\\Korvella\\krvver25.exe /AllowLoader");
  ASSERT_TRUE(shows("\x1b[?1049l"));
  const std::string out = pty.Output();
  EXPECT_NE(Visible(out).find("Einstellungen"), std::string::npos);
  EXPECT_EQ(Visible(out).find("(4)"), std::string::npos) << "the countdown went on";
  EXPECT_EQ(Visible(out.substr(out.rfind("\x1b[?1049l"))).find_first_not_of("\r\n "), std::string::npos)
      << "the terminal is handed back last";
  EXPECT_TRUE(pty.Restored());
}

}  // namespace
}  // namespace krv
#endif
