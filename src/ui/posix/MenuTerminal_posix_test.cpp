// POSIX only: the terminal start menu on a pseudo-terminal (and on pipes).
#include "ui/posix/MenuTerminal_posix.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include "testing/PseudoTerminal_posix.h"
#include "testing/RecordingMenuEvents.h"
#include "ui/posix/UiHost_posix.h"

namespace krv {
namespace {

// SGR mouse reports, 1-based. On 80 x 24 the box starts at column 12, row 4;
// item i's row is 6 + 2 i, its icon columns 15 to 17, its caption 20 to 35.
std::string Sgr(int button, int col, int row, char final = 'M') {
  return "\x1b[<" + std::to_string(button) + ";" + std::to_string(col) + ";" + std::to_string(row) + final;
}
std::string Click(int button, int col, int row) { return Sgr(button, col, row) + Sgr(button, col, row, 'm'); }
int ItemRow(int item) { return 6 + 2 * item; }

// A menu shown on a pseudo-terminal (on pipes when given them).
struct Shown {
  explicit Shown(int in = -1, int out = -1) : host(in < 0 ? pty.slave() : in, out < 0 ? pty.slave() : out) {
    view->Show();
  }
  bool Until(const std::function<bool()>& done) {
    return Eventually(done, [&] { host.Wait(5); });
  }
  bool Has(const std::string& piece) {
    return Until([&] { return pty.Output().find(piece) != std::string::npos; });
  }
  // Row `row` (0-based) of the screen holds `piece`, or not.
  bool RowHas(int row, const std::string& piece, bool has = true) {
    return Until([&] { return (Screen(pty.Output())[size_t(row)].find(piece) != std::string::npos) == has; });
  }
  // Types each piece in turn; the events that followed, once as many as `want` has.
  std::string After(const std::vector<std::string>& typed, const std::string& want = "") {
    events.log.clear();
    for (const auto& bytes : typed) pty.Type(bytes), host.Wait(60);
    Until([&] { return events.log.size() >= want.size(); });
    return events.log;
  }
  bool Restored() { return Has("\x1b[?1049l") && Has("\x1b[?1004l") && pty.Restored(); }
  Pty pty;
  PosixUiHost host;
  RecordingMenuEvents events;
  std::unique_ptr<MenuView> view = host.CreateMenuView(events);
};

TEST(TerminalMenuTest, ColoursFallBackToWhatTheTerminalHas) {
  const uint32_t rgb[] = {0x808080, 0x000007, 0x808080, 0x0000FF,
                          0x0000FF, 0xFFFFFF, 0x808080, Terminal::kDefaultColor};
  const int colors[] = {1 << 24, 1 << 24, 256, 256, 16, 8, 2, 256}, want[] = {0x808080, 0, 244, 21, 12, 7, -1, -1};
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(TerminalColor(rgb[i], colors[i]), want[i]) << std::hex << rgb[i] << " " << colors[i];
}

TEST(TerminalMenuTest, DrawsTheMenuAndTheCountdownAndStepsAsideForAMessageBox) {
  Shown m;
  m.view->SetBackground(SkinBitmap{"BACK2", 150, 260, 8});
  m.view->SetItemLook(2, 0xFFFFFF, true, false);
  m.view->MoveCountToItem(3);
  m.view->SetCountText("(5)");
  m.view->SetCountVisible(true);
  EXPECT_TRUE(m.Has("\x1b[?1003h") && m.Has("\x1b[?1006;1000h") && m.Has("\x1b[?1004h"));
  // The bold caption of item 2 in white on the skin's grey, on 256 colours.
  EXPECT_TRUE(m.Has("\x1b[0;1;4m\x1b[38;5;231m\x1b[48;5;242mV"));
  EXPECT_TRUE(m.RowHas(3, "KORVELLA II.5") && m.RowHas(ItemRow(3) - 1, "Kompressor       (5)"));
  EXPECT_TRUE(m.RowHas(18, "VersionsInfo starten"));  // the tooltip of the bold item
  m.view->SetCountVisible(false);
  EXPECT_TRUE(m.RowHas(ItemRow(3) - 1, "(5)", false));

  // Around a message box: the terminal is given back, its answer is not the menu's.
  SuspendTerminalMenus();
  EXPECT_TRUE(m.Restored());
  EXPECT_EQ(m.After({"x\n"}), "");
  char answer[8] = {};  // left for the message box
  EXPECT_EQ(read(m.pty.slave(), answer, sizeof answer), 2);
  const size_t resumed = m.pty.Output().size();
  ResumeTerminalMenus();
  EXPECT_TRUE(m.Until([&] { return Visible(m.pty.Output().substr(resumed)).find("KORVELLA") != std::string::npos; }));
}

TEST(TerminalMenuTest, KeysAndMouseReportsBecomeEvents) {
  Shown m;
  m.view->FocusItem(2);
  m.view->SetItemLook(3, 0, true, false);  // item 3 active: its second icon is hidden
  const int label = 20, icon = 16, bg_col = 40, bg_row = 5;
  const std::pair<std::string, std::string> cases[] = {
      {"\t\x1b[Z\r\x1b[A\x1bOBe", "KeyDown 9 0;KeyDown 9 1;KeyDown 13 0;KeyDown 38 0;KeyDown 40 0;KeyDown 69 0;"},
      {" ", "KeyDown 32 0;FakeClick 2;"},  // Space clicks the focused item
      // Shift+F10, the menu key and F2 open the context menu.
      {"\x1b[21;2~\x1b[29~\x1bOQ",
       "KeyDown 121 1;BackgroundMouseUp 2;KeyDown 93 0;BackgroundMouseUp 2;KeyDown 113 0;BackgroundMouseUp 2;"},
      {Sgr(35, label, ItemRow(1)) + Sgr(35, icon, ItemRow(1)) + Sgr(35, icon + 2, ItemRow(2)) +
           Sgr(35, icon, ItemRow(3)),
       "LabelMouseMove 1;Icon2MouseMove 1;Icon1MouseMove 3;"},
      {Click(0, label, ItemRow(1)) + Click(2, label + 5, ItemRow(5)) + Click(1, label, ItemRow(0)),
       "LabelMouseDown 1 1;LabelClick 1;LabelMouseDown 5 2;LabelClick 5;LabelMouseDown 0 4;LabelClick 0;"},
      {Click(0, icon, ItemRow(4)) + Click(2, bg_col, bg_row), "Icon1Click 4;BackgroundMouseUp 2;"},
      // Pressed on one target, released on another; clicks outside the box.
      {Sgr(0, label, ItemRow(1)) + Sgr(0, label, ItemRow(2), 'm') + Sgr(0, label, ItemRow(1)) +
           Sgr(0, bg_col, bg_row, 'm') + Click(2, 2, 2) + Click(0, 79, 23),
       "LabelMouseDown 1 1;LabelMouseDown 1 1;"},
      {"\x1b[O\x1b[I", "AppActivated 0;AppActivated 1;"},
  };
  for (const auto& [bytes, want] : cases) EXPECT_EQ(m.After({bytes}, want), want) << Visible(bytes);
}

TEST(TerminalMenuTest, ContextMenuChoosesByKeysAndMouseAndClosesOnFocusOut) {
  Shown m;
  m.view->ShowContextMenu(true, 1);  // at the first item, as none has the focus
  EXPECT_TRUE(m.RowHas(ItemRow(0) + 1, "✓ Autom. entladen") && m.RowHas(ItemRow(0) + 4, "✓ Blau"));
  const std::tuple<bool, std::vector<std::string>, std::string> cases[] = {
      {false, {"\x1b[B\r"}, "ContextSkin 0;"},
      {false, {"1"}, "ContextAutoUnload;"},
      {false, {"\x1b[O", "1"}, "AppActivated 0;KeyDown 49 0;"},
      {true, {Click(0, 43, 10)}, "ContextSkin 2;"},  // entries on rows +1 and +3 to +5 from the mouse
      {true, {Click(0, 20, ItemRow(1)), Click(0, 20, ItemRow(1))}, "LabelMouseDown 1 1;LabelClick 1;"},
  };
  for (const auto& [at_mouse, typed, want] : cases) {
    if (at_mouse) m.After({Sgr(35, 40, 5)});
    m.view->ShowContextMenu(false, 2);
    EXPECT_EQ(m.After(typed, want), want) << Visible(typed[0]);
  }
}

TEST(TerminalMenuTest, EveryWayOutAsksTheFormAndGivesTheTerminalBack) {
  // 0 is Ctrl+C, -1 the terminal hanging up, 1 a copy of the program leaving with the menu up.
  for (const int way : {1, 0, -1, SIGTERM, SIGHUP, SIGINT}) {
    Shown m;
    if (way == 1 && fflush(nullptr) == 0 && fork() == 0) exit(0);
    if (way == 1 && wait(nullptr) > 0) {
      EXPECT_TRUE(m.Restored());
      continue;
    }
    m.view->SetTimer(MenuTimer::kCount, 1000);  // a running countdown does not keep it up
    way > 0 ? (void)raise(way) : way == 0 ? m.pty.Type("\x03\t") : m.pty.HangUp();
    EXPECT_TRUE(m.Until([&] { return !m.view->IsVisible(); })) << way;
    m.host.Wait(60);
    EXPECT_EQ(m.events.log, way == SIGTERM ? "QueryUnload 2;" : "QueryUnload 0;") << way;  // and nothing after it
    EXPECT_TRUE(way < 0 || m.Restored()) << way;
  }
}

TEST(TerminalMenuTest, WithoutATerminalPrintsLinesAndReadsPlainKeys) {
  int in[2], out[2];
  ASSERT_EQ(pipe(in) | pipe(out), 0);
  Shown m(in[0], out[1]);
  m.view->SetItemLook(0, 0, true, false);
  m.view->FocusItem(0);
  m.view->SetCountText("(5)");
  m.view->SetCountVisible(true);
  m.host.DoEvents();
  m.view->SetCountVisible(false);
  // CR LF is one Enter. At the end of the input an armed timer keeps the menu up.
  const std::string keys = "\tb\033c\r\n \033";
  ASSERT_EQ(write(in[1], keys.data(), keys.size()), ssize_t(keys.size()));
  close(in[1]);
  m.host.Wait(100);
  m.view->SetTimer(MenuTimer::kRun, 30);
  ASSERT_TRUE(m.Until([&] { return m.events.log.find("Timer") != std::string::npos; }));
  EXPECT_EQ(m.events.log,
            "KeyDown 9 0;KeyDown 66 0;KeyDown 67 4;KeyDown 13 0;KeyDown 32 0;FakeClick 0;KeyDown 27 0;Timer 1;");
  // Input over, no timer left: closed by the user.
  m.view->SetTimer(MenuTimer::kRun, 0);
  m.events.log.clear();
  m.host.RunLoop([&] { return !m.view->IsVisible(); });
  EXPECT_EQ(m.events.log, "QueryUnload 0;");
  char printed[4096] = {};
  ASSERT_GT(read(out[0], printed, sizeof printed - 1), 0);
  EXPECT_TRUE(std::string(printed).ends_with("Kontextmenü\nAuswahl: KORVELLA\nKORVELLA (5)\nCountdown angehalten\n"))
      << printed;
  for (int fd : {in[0], out[0], out[1]}) close(fd);
}

}  // namespace
}  // namespace krv
