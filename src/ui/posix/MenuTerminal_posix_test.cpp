// POSIX only: the terminal start menu on a pseudo-terminal (and on pipes),
// driven through its host's loop with a recording form.
#include "ui/posix/MenuTerminal_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "testing/PseudoTerminal_posix.h"
#include "ui/posix/UiHost_posix.h"

namespace krv {
namespace {

using namespace std::chrono_literals;

class RecordingEvents final : public MenuEvents {
 public:
  std::vector<std::string> log;
  std::function<void(const std::string&)> hook;  // runs after each record

  void KeyDown(int32_t key, int32_t shift) override { Add("KeyDown " + N(key) + " " + N(shift)); }
  void LabelMouseMove(int32_t i) override { Add("LabelMouseMove " + N(i)); }
  void Icon1MouseMove(int32_t i) override { Add("Icon1MouseMove " + N(i)); }
  void Icon2MouseMove(int32_t i) override { Add("Icon2MouseMove " + N(i)); }
  void LabelMouseDown(int32_t i, int16_t b) override { Add("LabelMouseDown " + N(i) + " " + N(b)); }
  void LabelClick(int32_t i) override { Add("LabelClick " + N(i)); }
  void Icon1Click(int32_t i) override { Add("Icon1Click " + N(i)); }
  void BackgroundMouseUp(int16_t b) override { Add("BackgroundMouseUp " + N(b)); }
  void FakeGotFocus(int32_t i) override { Add("FakeGotFocus " + N(i)); }
  void FakeClick(int32_t i) override { Add("FakeClick " + N(i)); }
  void Timer(MenuTimer t) override { Add("Timer " + N(static_cast<int>(t))); }
  void ContextAutoUnload() override { Add("ContextAutoUnload"); }
  void ContextSkin(int32_t s) override { Add("ContextSkin " + N(s)); }
  void QueryUnload(UnloadMode m) override { Add("QueryUnload " + N(m)); }
  void AppActivated(bool a) override { Add("AppActivated " + N(a)); }

  size_t Count(const std::string& entry) const {
    return static_cast<size_t>(std::count(log.begin(), log.end(), entry));
  }

 private:
  static std::string N(int64_t v) { return std::to_string(v); }
  void Add(const std::string& s) {
    log.push_back(s);
    if (hook) hook(s);
  }
};

// Runs the host's loop until `done` or two seconds.
bool RunUntil(PosixUiHost& host, const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + 2s;
  while (!done() && std::chrono::steady_clock::now() < until) host.Wait(5);
  return done();
}

bool OutputHas(Pty& pty, PosixUiHost& host, const std::string& piece, bool visible = false) {
  return RunUntil(host, [&] {
    const std::string out = pty.Output();
    return (visible ? Visible(out) : out).find(piece) != std::string::npos;
  });
}

// Runs the loop until the screen's row `row` holds `piece`.
bool RowHas(Pty& pty, PosixUiHost& host, int row, const std::string& piece) {
  const bool found =
      RunUntil(host, [&] { return Screen(pty.Output())[static_cast<size_t>(row)].find(piece) != std::string::npos; });
  if (!found) ADD_FAILURE() << "row " << row << " lacks \"" << piece << "\" on\n" << Join(Screen(pty.Output()));
  return found;
}

// Cells of the 80 x 24 layout as SGR mouse reports count them (1-based):
// the box starts at column 12, row 4; item i's row is 6 + 2 i; its icon
// spans columns 15 to 17, its caption columns 20 to 35.
std::string Sgr(int button, int col, int row, char final) {
  return "\x1b[<" + std::to_string(button) + ";" + std::to_string(col) + ";" + std::to_string(row) + final;
}
std::string Click(int button, int col, int row) { return Sgr(button, col, row, 'M') + Sgr(button, col, row, 'm'); }
int ItemRow(int item) { return 6 + 2 * item; }

// A menu shown on a fresh 80 x 24 pseudo-terminal; `before` is the
// terminal's state before the menu took it.
class ShownMenuTest : public ::testing::Test {
 protected:
  ShownMenuTest() {
    tcgetattr(pty.slave(), &before);
    view = host.CreateMenuView(events);
    view->Show();
  }
  Pty pty;
  termios before{};
  PosixUiHost host{pty.slave(), pty.slave()};
  RecordingEvents events;
  std::unique_ptr<MenuView> view;
};

TEST(TerminalMenuTest, ShowsTheMenuAndCloseGivesTheTerminalBack) {
  Pty pty;
  termios before{};
  ASSERT_EQ(tcgetattr(pty.slave(), &before), 0);
  PosixUiHost host(pty.slave(), pty.slave());
  RecordingEvents events;
  auto view = host.CreateMenuView(events);
  EXPECT_FALSE(view->FocusItem(1));  // not shown yet
  view->Show();
  EXPECT_TRUE(view->IsVisible());
  EXPECT_TRUE(view->FocusItem(1));
  view->MoveCountToItem(3);
  view->SetCountText("(5)");
  view->SetCountVisible(true);
  host.DoEvents();
  termios raw{};
  ASSERT_EQ(tcgetattr(pty.slave(), &raw), 0);
  EXPECT_EQ(raw.c_lflag & (ICANON | ECHO | ISIG), 0u);
  for (const char* seq : {"\x1b[?1049h", "\x1b[?25l", "\x1b[?1003h", "\x1b[?1006;1000h", "\x1b[?1004h"}) {
    EXPECT_TRUE(OutputHas(pty, host, seq)) << "missing " << seq + 1;
  }
  // Title on the box's top row, captions on their items' rows, the countdown
  // right of the caption of its item, the focused item's tooltip below.
  EXPECT_TRUE(RowHas(pty, host, 3, "KORVELLA II.5"));
  const char* captions[] = {"KORVELLA", "Browser", "VersionsInfo", "Kompressor", "Einstellungen", "Abbrechen"};
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(RowHas(pty, host, ItemRow(i) - 1, captions[i]));
  EXPECT_TRUE(RowHas(pty, host, ItemRow(3) - 1, "(5)"));
  const std::string row3 = Screen(pty.Output())[static_cast<size_t>(ItemRow(3) - 1)];
  EXPECT_GT(row3.find("(5)"), row3.find("Kompressor"));
  EXPECT_TRUE(RowHas(pty, host, 18, "KORVELLA Browser starten"));
  EXPECT_TRUE(RowHas(pty, host, 19, "F2"));
  EXPECT_EQ(Join(Screen(pty.Output())).find('&'), std::string::npos);
  EXPECT_TRUE(OutputHas(pty, host, "\x1b[0;4"));  // the underlined mnemonic

  view->SetCountText("(4)");
  EXPECT_TRUE(RowHas(pty, host, ItemRow(3) - 1, "(4)"));
  view->MoveCountToItem(0);
  EXPECT_TRUE(RowHas(pty, host, ItemRow(0) - 1, "(4)"));
  EXPECT_EQ(Screen(pty.Output())[static_cast<size_t>(ItemRow(3) - 1)].find("(4)"), std::string::npos);
  view->SetCountVisible(false);
  host.DoEvents();
  EXPECT_TRUE(RunUntil(host, [&] {
    return Screen(pty.Output())[static_cast<size_t>(ItemRow(0) - 1)].find("(4)") == std::string::npos;
  }));

  view->Close();
  view->Close();  // twice is harmless
  EXPECT_FALSE(view->IsVisible());
  for (const char* seq : {"\x1b[?1049l", "\x1b[?25h", "\x1b[?1003l", "\x1b[?1006;1000l", "\x1b[?1004l"}) {
    EXPECT_TRUE(OutputHas(pty, host, seq)) << "missing " << seq + 1;
  }
  termios after{};
  ASSERT_EQ(tcgetattr(pty.slave(), &after), 0);
  EXPECT_TRUE(SameTermios(before, after));
}

TEST(TerminalMenuTest, ColoursFallBackToWhatTheTerminalHas) {
  const struct Case {
    uint32_t rgb;
    int colors;
    int want;
  } cases[] = {
      {0x808080, 0x1000000, 0x808080},
      {0x000005, 0x1000000, 0},  // direct; below 8 are the basic ones
      {0x808080, 256, 244},
      {0xB0C4DE, 256, 152},
      {0x706E6F, 256, 242},
      {0xFFFFFF, 256, 231},
      {0x000000, 256, 16},
      {0x0000FF, 256, 21},
      {0x0000FF, 16, 12},
      {0xC0C0C0, 16, 7},
      {0xFF0000, 8, 1},
      {0xFFFFFF, 8, 7},
      {0x808080, 2, -1},
      {Terminal::kDefaultColor, 256, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(TerminalColor(c.rgb, c.colors), c.want) << std::hex << c.rgb << " " << c.colors;

  // On the 256-colour terminal: the bold caption of item 2 in the form's
  // colour on the skin's paper, the icon on its own.
  Pty pty;
  PosixUiHost host(pty.slave(), pty.slave());
  RecordingEvents events;
  auto view = host.CreateMenuView(events);
  view->SetBackground(SkinBitmap{"BACK2", 150, 260, 8});
  view->SetIconBackColor(0x000000);
  view->SetItemLook(2, 0xFFFFFF, true, false);
  view->Show();
  EXPECT_TRUE(OutputHas(pty, host, "\x1b(B\x1b[0;1;4m\x1b[38;5;231m\x1b[48;5;242mV")) << pty.Output();
  EXPECT_TRUE(OutputHas(pty, host, "\x1b[48;5;16m"));
}

TEST_F(ShownMenuTest, KeysAndMouseReportsBecomeEvents) {
  view->FocusItem(2);
  view->SetItemLook(3, 0, true, false);  // item 3 active: its second icon is hidden
  const int label = 20, icon = 16, background_row = 5, background_col = 40;
  const struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> want;
  } cases[] = {
      {"tab", "\t", {"KeyDown 9 0"}},
      {"shift tab", "\x1b[Z", {"KeyDown 9 1"}},
      {"enter", "\r", {"KeyDown 13 0"}},
      {"escape alone", "\x1b", {"KeyDown 27 0"}},
      {"up", "\x1b[A", {"KeyDown 38 0"}},
      {"down ss3", "\x1bOB", {"KeyDown 40 0"}},
      {"letter", "e", {"KeyDown 69 0"}},
      {"alt letter",
       "\x1b"
       "c",
       {"KeyDown 67 4"}},
      {"space clicks the focused item", " ", {"KeyDown 32 0", "FakeClick 2"}},
      {"shift f10", "\x1b[21;2~", {"KeyDown 121 1", "BackgroundMouseUp 2"}},
      {"menu key", "\x1b[29~", {"KeyDown 93 0", "BackgroundMouseUp 2"}},
      {"f2", "\x1bOQ", {"KeyDown 113 0", "BackgroundMouseUp 2"}},
      {"move over caption", Sgr(35, label, ItemRow(1), 'M'), {"LabelMouseMove 1"}},
      {"move over second icon", Sgr(35, icon, ItemRow(1), 'M'), {"Icon2MouseMove 1"}},
      {"move over first icon", Sgr(35, icon, ItemRow(3), 'M'), {"Icon1MouseMove 3"}},
      {"left click caption", Click(0, label, ItemRow(1)), {"LabelMouseDown 1 1", "LabelClick 1"}},
      {"right click caption", Click(2, label + 5, ItemRow(5)), {"LabelMouseDown 5 2", "LabelClick 5"}},
      {"middle click caption", Click(1, label, ItemRow(0)), {"LabelMouseDown 0 4", "LabelClick 0"}},
      {"press one caption, release another",
       Sgr(0, label, ItemRow(1), 'M') + Sgr(0, label, ItemRow(2), 'm'),
       {"LabelMouseDown 1 1"}},
      {"icon click", Click(0, icon, ItemRow(4)), {"Icon1Click 4"}},
      {"background right click", Click(2, background_col, background_row), {"BackgroundMouseUp 2"}},
      {"background left click", Click(0, background_col, background_row), {"BackgroundMouseUp 1"}},
      {"press on caption, release on background",
       Sgr(0, label, ItemRow(1), 'M') + Sgr(0, background_col, background_row, 'm'),
       {"LabelMouseDown 1 1"}},
      {"focus out", "\x1b[O", {"AppActivated 0"}},
      {"focus in", "\x1b[I", {"AppActivated 1"}},
  };
  for (const auto& c : cases) {
    events.log.clear();
    pty.Type(c.bytes);
    EXPECT_TRUE(RunUntil(host, [&] { return events.log.size() >= c.want.size(); })) << c.name;
    host.Wait(20);  // nothing more may follow
    EXPECT_EQ(events.log, c.want) << c.name;
  }
  // Clicks outside the box are nobody's.
  events.log.clear();
  pty.Type(Click(2, 2, 2) + Click(0, 79, 23));
  host.Wait(100);
  EXPECT_TRUE(events.log.empty());
}

TEST_F(ShownMenuTest, ContextMenuChoosesByKeysAndMouse) {
  view->ShowContextMenu(true, 1);
  // At the focused item (none: the first), inside the box.
  const int top = ItemRow(0);  // 0-based row below item 0
  EXPECT_TRUE(RowHas(pty, host, top + 1, "✓ Autom. entladen"));
  EXPECT_TRUE(RowHas(pty, host, top + 2, "Skin"));
  EXPECT_TRUE(RowHas(pty, host, top + 3, "  (Aus)"));
  EXPECT_TRUE(RowHas(pty, host, top + 4, "✓ Blau"));
  EXPECT_TRUE(RowHas(pty, host, top + 5, "  Grau"));
  pty.Type("\x1b[B\r");  // the entry below "Autom. entladen" is "(Aus)"
  ASSERT_TRUE(RunUntil(host, [&] { return !events.log.empty(); }));
  EXPECT_EQ(events.log, std::vector<std::string>{"ContextSkin 0"});

  events.log.clear();
  view->ShowContextMenu(false, 0);
  pty.Type("1");
  ASSERT_TRUE(RunUntil(host, [&] { return !events.log.empty(); }));
  EXPECT_EQ(events.log, std::vector<std::string>{"ContextAutoUnload"});

  // Escape closes it without a choice; the next key is the menu's again.
  events.log.clear();
  view->ShowContextMenu(false, 0);
  pty.Type("\x1b");
  host.Wait(150);
  pty.Type("\t");
  ASSERT_TRUE(RunUntil(host, [&] { return !events.log.empty(); }));
  EXPECT_EQ(events.log, std::vector<std::string>{"KeyDown 9 0"});

  // Opened by the mouse, it stands at the mouse: entries on rows +1 and +3 to +5.
  events.log.clear();
  pty.Type(Sgr(35, 40, 5, 'M'));
  host.Wait(50);
  view->ShowContextMenu(false, 2);
  pty.Type(Click(0, 43, 10));
  ASSERT_TRUE(RunUntil(host, [&] { return !events.log.empty(); }));
  EXPECT_EQ(events.log, std::vector<std::string>{"ContextSkin 2"});

  // A click elsewhere only closes it.
  events.log.clear();
  view->ShowContextMenu(false, 2);
  pty.Type(Click(0, 20, ItemRow(1)));
  host.Wait(100);
  EXPECT_TRUE(events.log.empty());
  pty.Type(Click(0, 20, ItemRow(1)));
  ASSERT_TRUE(RunUntil(host, [&] { return events.log.size() >= 2; }));
  EXPECT_EQ(events.log, (std::vector<std::string>{"LabelMouseDown 1 1", "LabelClick 1"}));
}

TEST_F(ShownMenuTest, CtrlCAsksTheFormAndCloses) {
  pty.Type("\x03\t");
  ASSERT_TRUE(RunUntil(host, [&] { return !view->IsVisible(); }));
  host.Wait(100);
  EXPECT_EQ(events.log, std::vector<std::string>{"QueryUnload 0"});  // and no Tab after it
  termios after{};
  tcgetattr(pty.slave(), &after);
  EXPECT_TRUE(SameTermios(before, after));
}

TEST_F(ShownMenuTest, HangUpClosesAsTheUser) {
  view->SetTimer(MenuTimer::kCount, 1000);  // a running countdown does not keep it up
  host.DoEvents();
  pty.HangUp();
  ASSERT_TRUE(RunUntil(host, [&] { return !view->IsVisible(); }));
  EXPECT_EQ(events.log, std::vector<std::string>{"QueryUnload 0"});
}

TEST(TerminalMenuTest, SignalsCloseTheMenuAndGiveTheTerminalBack) {
  const struct Case {
    int sig;
    const char* want;
  } cases[] = {{SIGTERM, "QueryUnload 2"}, {SIGHUP, "QueryUnload 0"}, {SIGINT, "QueryUnload 0"}};
  for (const auto& c : cases) {
    Pty pty;
    termios before{};
    tcgetattr(pty.slave(), &before);
    PosixUiHost host(pty.slave(), pty.slave());
    RecordingEvents events;
    auto view = host.CreateMenuView(events);
    view->Show();
    host.DoEvents();
    raise(c.sig);
    EXPECT_TRUE(RunUntil(host, [&] { return !view->IsVisible(); })) << c.want;
    EXPECT_EQ(events.log, std::vector<std::string>{c.want});
    termios after{};
    tcgetattr(pty.slave(), &after);
    EXPECT_TRUE(SameTermios(before, after)) << c.want;
    EXPECT_TRUE(OutputHas(pty, host, "\x1b[?1049l")) << c.want;
  }
}

TEST(TerminalMenuTest, ExitWhileShownGivesTheTerminalBack) {
  Pty pty;
  termios before{};
  tcgetattr(pty.slave(), &before);
  fflush(nullptr);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    PosixUiHost host(pty.slave(), pty.slave());
    RecordingEvents events;
    auto view = host.CreateMenuView(events).release();  // still shown at exit
    view->Show();
    host.DoEvents();
    exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  PosixUiHost host(pty.slave(), pty.slave());
  EXPECT_TRUE(OutputHas(pty, host, "\x1b[?1049l"));
  termios after{};
  tcgetattr(pty.slave(), &after);
  EXPECT_TRUE(SameTermios(before, after));
}

TEST_F(ShownMenuTest, CloseAndDestructionInsideAnEventStopTheEvents) {
  events.hook = [&](const std::string& e) {
    if (e == "LabelClick 1") view->Close();
    if (e == "QueryUnload 0") view.reset();  // the form unloads and frees the window
  };
  pty.Type(Click(0, 20, ItemRow(1)) + "\t");
  ASSERT_TRUE(RunUntil(host, [&] { return !view->IsVisible(); }));
  host.Wait(100);
  EXPECT_EQ(events.log, (std::vector<std::string>{"LabelMouseDown 1 1", "LabelClick 1"}));

  events.log.clear();
  view = host.CreateMenuView(events);
  view->Show();
  pty.Type("\x03\t");
  ASSERT_TRUE(RunUntil(host, [&] { return view == nullptr; }));
  host.Wait(100);
  EXPECT_EQ(events.log, std::vector<std::string>{"QueryUnload 0"});
}

TEST_F(ShownMenuTest, ResizeRedrawsCentredAndMovesTheTargets) {
  host.DoEvents();
  pty.Resize(100, 30);  // the box now starts at column 22, row 7
  raise(SIGWINCH);
  host.Wait(50);
  pty.Type(Click(0, 30, 9 + 2 * 2));
  ASSERT_TRUE(RunUntil(host, [&] { return events.log.size() >= 2; }));
  EXPECT_EQ(events.log, (std::vector<std::string>{"LabelMouseDown 2 1", "LabelClick 2"}));
}

TEST_F(ShownMenuTest, SuspendGivesTheTerminalBackAndResumeTakesIt) {
  host.DoEvents();
  SuspendTerminalMenus();
  termios during{};
  tcgetattr(pty.slave(), &during);
  EXPECT_TRUE(SameTermios(before, during));
  EXPECT_TRUE(OutputHas(pty, host, "\x1b[?1049l"));
  pty.Type("x\n");  // a message box's answer: not the menu's
  host.Wait(50);
  EXPECT_TRUE(events.log.empty());
  char answer[8] = {};
  EXPECT_EQ(read(pty.slave(), answer, sizeof answer), 2);
  pty.ClearOutput();
  ResumeTerminalMenus();
  EXPECT_TRUE(OutputHas(pty, host, "\x1b[?1049h"));
  EXPECT_TRUE(OutputHas(pty, host, "VersionsInfo", true));  // redrawn
  pty.Type("\t");
  EXPECT_TRUE(RunUntil(host, [&] { return !events.log.empty(); }));
}

TEST(TerminalMenuTest, TimersFireThroughWaitUntilDisarmed) {
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  PosixUiHost host(in[0], out[1]);
  RecordingEvents events;
  auto view = host.CreateMenuView(events);
  view->SetTimer(MenuTimer::kCount, 20);
  view->SetTimer(MenuTimer::kRun, 70);
  host.Wait(115);
  EXPECT_GE(events.Count("Timer 2"), 3u);  // 5 on time; a late tick does not pile up
  EXPECT_LE(events.Count("Timer 2"), 6u);
  EXPECT_EQ(events.Count("Timer 1"), 1u);
  view->SetTimer(MenuTimer::kCount, 0);
  view->SetTimer(MenuTimer::kRun, 0);
  events.log.clear();
  host.Wait(60);
  EXPECT_TRUE(events.log.empty());
  for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
}

std::string ReadAvailable(int fd) {
  std::string text;
  char buf[4096];
  pollfd p{fd, POLLIN, 0};
  while (poll(&p, 1, 0) > 0) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    text.append(buf, static_cast<size_t>(n));
  }
  return text;
}

TEST(TerminalMenuTest, WithoutATerminalPrintsLinesAndReadsPlainKeys) {
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  PosixUiHost host(in[0], out[1]);
  RecordingEvents events;
  auto view = host.CreateMenuView(events);
  view->Show();
  view->FocusItem(0);
  view->SetItemLook(0, 0, true, false);
  view->MoveCountToItem(0);
  view->SetCountText("(5)");
  view->SetCountVisible(true);
  host.DoEvents();
  view->SetCountText("(4)");
  host.DoEvents();
  view->SetCountVisible(false);
  host.DoEvents();
  const std::string printed = ReadAvailable(out[0]);
  EXPECT_EQ(printed.find('\x1b'), std::string::npos);
  for (const char* line :
       {"KORVELLA II.5\n", "  KORVELLA        KORVELLA starten\n", "  Abbrechen       Formular schließen\n",
        "Auswahl: KORVELLA\n", "KORVELLA (5)\nKORVELLA (4)\nCountdown angehalten\n"}) {
    EXPECT_NE(printed.find(line), std::string::npos) << line << " in:\n" << printed;
  }

  // Keys as a script sends them; CR LF is one Enter. At the end of the input
  // an armed timer keeps the menu up, so a countdown still starts KORVELLA.
  const std::string keys =
      "\tb\x1b"
      "c\r\n \x1b";
  ASSERT_EQ(write(in[1], keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  close(in[1]);
  host.Wait(100);  // all keys and the end, before the form arms its timer
  EXPECT_TRUE(view->IsVisible());
  view->SetTimer(MenuTimer::kRun, 30);
  ASSERT_TRUE(RunUntil(host, [&] { return events.Count("Timer 1") > 0; }));
  EXPECT_EQ(events.log, (std::vector<std::string>{"KeyDown 9 0", "KeyDown 66 0", "KeyDown 67 4", "KeyDown 13 0",
                                                  "KeyDown 32 0", "FakeClick 0", "KeyDown 27 0", "Timer 1"}));
  EXPECT_TRUE(view->IsVisible());
  // With the input over and no timer left nothing could choose: closed by the user.
  view->SetTimer(MenuTimer::kRun, 0);
  events.log.clear();
  host.RunLoop([&] { return !view->IsVisible(); });
  EXPECT_EQ(events.log, std::vector<std::string>{"QueryUnload 0"});
  for (int fd : {in[0], out[0], out[1]}) close(fd);
}

}  // namespace
}  // namespace krv
