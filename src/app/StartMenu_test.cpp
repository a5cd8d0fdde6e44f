#include <gtest/gtest.h>

#include "app/cApp.h"
#include "app/mGlobals.h"
#include "base/WinPath.h"
#include "menu/frmMenu.h"
#include "testing/FakeUiHost.h"
#include "testing/FakeWindowSystem.h"
#include "testing/StarterHarness.h"

namespace krv {
namespace {

constexpr char kProgramDir[] = "C:\\Programme\\Korvella\\";
constexpr char kMenuKey[] = "Software\\Vantorel\\Korvella\\10.25\\Loader\\Menu";

void AddSiblings(StarterHarness& s) {
  for (const char* f : {"krvbrw25.exe", "krvver25.exe"}) s.fs.AddFile(std::string(kProgramDir) + f, "x");
}

class MenuTest : public ::testing::Test {
 protected:
  MenuTest() { AddSiblings(h); }
  // Shows the menu as a plain start does: item 0 active, counting down from `delay`.
  void Open(bool use_delay = true) {
    g.app = std::make_unique<cApp>(g);
    ASSERT_TRUE(g.app->LoadMenu(0, use_delay));
    view = ui.LastView();
    ASSERT_NE(view, nullptr);
    menu = dynamic_cast<frmMenu*>(view->events());
    ASSERT_NE(menu, nullptr);
  }
  std::optional<std::string> Stored(const char* name) {
    RegValue value;
    std::string err;
    if (h.reg.ReadValue(Hive::CurrentUser, kMenuKey, name, &value, &err) != RegStatus::kOk) return std::nullopt;
    return value.text;
  }
  // What was started once the top has carried out what the menu asked for.
  std::string Started() {
    if (g.EndRequested()) Finish(g);
    return h.shell.started.empty() ? "" : h.shell.started.back().file;
  }
  // A menu of its own (for table rows), shown as LoadMenu(item, delay) shows it.
  static frmMenu& Load(mGlobals& gm, int32_t item = 0, bool delay = true) {
    gm.app = std::make_unique<cApp>(gm);
    gm.app->LoadMenu(item, delay);
    return *dynamic_cast<frmMenu*>(static_cast<FakeUiHost*>(gm.env.ui)->LastView()->events());
  }

  StarterHarness h;
  FakeUiHost& ui = h.ui;
  FakeWindowSystem windows;  // outlives the globals, whose subclassing uses it
  mGlobals g{h.env};
  FakeMenuView* view = nullptr;
  frmMenu* menu = nullptr;
};

TEST_F(MenuTest, CountsDownFromFiveAndStartsKorvellaAfterFiveSeconds) {
  Open();
  EXPECT_TRUE(view->IsVisible());
  EXPECT_TRUE(view->looks[0].bold);
  EXPECT_EQ(view->count_item, 0);
  EXPECT_TRUE(view->count_visible);
  ui.Advance(4999);
  EXPECT_EQ(view->count_seen, (std::vector<std::string>{"(5)", "(4)", "(3)", "(2)", "(1)"}));
  EXPECT_TRUE(h.shell.started.empty());
  ui.Advance(1);
  EXPECT_EQ(Started(), kHarnessAccess);
  EXPECT_TRUE(view->closed);
  EXPECT_FALSE(g.forms.IsLoaded(kMenuFormName));
}

TEST_F(MenuTest, MenuOpensUnderTheMouseAndStaysOnTheScreen) {
  const struct Case {
    TwipsPoint cursor;
    int32_t left, top;
  } cases[] = {
      {{6000, 6000}, 5700, 5500},
      {{19000, 14000}, 19200 - 2205, 14400 - 4290},
      {{100, 100}, 0, 0},
  };
  for (const Case& c : cases) {
    StarterHarness fresh;
    FakeUiHost& host = fresh.ui;
    host.cursor = c.cursor;
    mGlobals gm(fresh.env);
    Load(gm, 0, false);
    EXPECT_EQ(host.LastView()->left, c.left) << c.cursor.x;
    EXPECT_EQ(host.LastView()->top, c.top) << c.cursor.y;
  }
}

TEST_F(MenuTest, TheSecondHighlightRequestStopsTheCountdown) {
  ui.echo_focus = true;  // the focus echo of a highlight is no request of its own
  Open();
  menu->LabelMouseMove(1);  // the pointer the menu appeared under
  EXPECT_TRUE(menu->CountdownRunning());
  EXPECT_TRUE(view->looks[1].bold && !view->looks[0].bold);
  menu->Icon1MouseMove(1);
  EXPECT_FALSE(menu->CountdownRunning());
  EXPECT_FALSE(view->count_visible);
  ui.Advance(60000);
  EXPECT_TRUE(h.shell.started.empty());
  EXPECT_FALSE(view->closed);
}

TEST_F(MenuTest, StartTimerZeroRunsAtOnceAndNegativeShowsNoCountdown) {
  Open(false);
  EXPECT_FALSE(view->count_visible);
  EXPECT_TRUE(view->timers.empty());
  ui.Advance(60000);
  EXPECT_TRUE(h.shell.started.empty());
  menu->pubStartTimer(0);
  EXPECT_EQ(Started(), kHarnessAccess);
}

TEST_F(MenuTest, KeysMoveTheHighlightOrRunTheirItem) {
  const struct Case {
    int32_t from;
    int32_t key;
    int32_t shift;
    int32_t active;       // highlighted afterwards (when nothing ran)
    const char* started;  // file name started, "" none
  } cases[] = {
      {5, kKeyTab, 0, 0, ""},
      {2, kKeyTab, kShiftBit, 3, ""},
      {5, kKeyDown, 0, 5, ""},
      {0, kKeyUp, 0, 0, ""},
      {3, kKeyUp, 0, 2, ""},
      {3, 'C', 0, 3, ""},
      {1, 'D', kAltBit, 1, ""},
      {4, 'C', kAltBit, 2, "krvver25.exe"},
      {4, 'B', kAltBit | kCtrlBit, 1, "krvbrw25.exe"},
      {4, 'F', kAltBit, 0, "msaccess.exe"},
      {1, kKeyEnter, 0, 1, "krvbrw25.exe"},
  };
  for (const Case& c : cases) {
    StarterHarness fresh;
    AddSiblings(fresh);
    mGlobals gm(fresh.env);
    frmMenu* form = &Load(gm, c.from, false);
    form->KeyDown(c.key, c.shift);
    EXPECT_EQ(form->ActiveItem(), c.active) << c.from << " key " << c.key;
    if (gm.EndRequested()) Finish(gm);
    EXPECT_EQ(fresh.shell.started.empty() ? "" : WinPathName(fresh.shell.started[0].file), c.started) << c.key;
  }
}

// The menu only asks; Main ends the starter, and only then starts a sibling,
// so the sibling never finds the starter's mutex.
TEST_F(MenuTest, EndingAndSiblingStartsAreCarriedOutByMainAfterTheShutdown) {
  const struct Case {
    int32_t key, shift;
    const char* started;
  } cases[] = {{kKeyEscape, 0, ""}, {'A', kAltBit, ""}, {'B', kAltBit, "krvbrw25.exe /AllowLoader"}};
  for (const Case& c : cases) {
    StarterHarness fresh;
    FakeUiHost& host = fresh.ui;
    fresh.fs.AddFile(std::string(kProgramDir) + "krvbrw25.exe", "x");
    mGlobals gm(fresh.env);
    fresh.sys.command_line = "";
    bool held_while_shown = false;
    host.script.push_back([&] {
      held_while_shown = fresh.held.contains(kStarterMutex);
      host.LastView()->events()->KeyDown(c.key, c.shift);
      EXPECT_TRUE(fresh.shell.started.empty()) << "nothing starts inside the menu's event";
    });
    Main(gm);
    EXPECT_TRUE(held_while_shown);
    EXPECT_EQ(
        fresh.shell.started.empty() ? "" : WinPathName(fresh.shell.started[0].file) + " " + fresh.shell.started[0].args,
        c.started);
    EXPECT_FALSE(fresh.held.contains(kStarterMutex));
    EXPECT_EQ(host.now, 200) << "ended before the countdown";
    EXPECT_TRUE(host.views.empty()) << "the unloaded menu was freed";
  }
}

TEST_F(MenuTest, AMissingOrRefusedSiblingIsShownOnceAndTheMenuStays) {
  const struct Case {
    const char* running;  // a conflicting program
    int32_t item;
    std::string text;
  } cases[] = {
      {"", 3, std::string("Kann die Datei '") + kProgramDir + "krvcmp25.exe' nicht finden."},
      {"krvcmp25.exe", 0, "Das KORVELLA-Kompressionsprogramm ist geöffnet.\r\n"},
  };
  for (const Case& c : cases) {
    StarterHarness fresh;
    FakeUiHost& host = fresh.ui;
    if (*c.running) fresh.sys.processes = {c.running};
    mGlobals gm(fresh.env);
    Load(gm, c.item);
    host.Advance(30000);
    ASSERT_EQ(fresh.dialogs.shown.size(), 1u) << c.text;
    EXPECT_EQ(fresh.dialogs.shown[0].text.substr(0, c.text.size()), c.text);
    EXPECT_EQ(fresh.dialogs.shown[0].style & 0xF0, kMbIconStop);
    EXPECT_TRUE(fresh.shell.started.empty());
    EXPECT_TRUE(gm.forms.IsLoaded(kMenuFormName));
  }
}

TEST_F(MenuTest, RightClickOpensTheContextMenuAndSpaceRepeatsIt) {
  Open(false);
  menu->LabelMouseDown(2, kRightButton);
  menu->LabelClick(2);
  ASSERT_EQ(view->context_menus.size(), 1u);
  EXPECT_TRUE(view->context_menus[0].auto_unload);
  EXPECT_EQ(view->context_menus[0].skin, pSkin::kGrey);
  menu->FakeClick(2);  // space on the focused item: the last button was the right one
  EXPECT_EQ(view->context_menus.size(), 2u);
  menu->BackgroundMouseUp(kLeftButton);
  EXPECT_EQ(view->context_menus.size(), 2u);
  EXPECT_TRUE(h.shell.started.empty());
  menu->LabelMouseDown(1, kLeftButton);
  menu->LabelClick(1);
  EXPECT_EQ(Started(), std::string(kProgramDir) + "krvbrw25.exe");
}

TEST_F(MenuTest, PreferencesAreReadByTheirRulesAndNeverWrittenByLoading) {
  const struct Case {
    const char* auto_unload;  // nullptr: missing
    const char* skin;
    bool expect_auto;
    int32_t expect_skin;
  } cases[] = {
      {nullptr, nullptr, true, 2}, {"0", "3", false, 0},  {"abc", "x", true, 0},
      {" 0 ", "1", false, 1},      {"1", "2.6", true, 0},
  };
  for (const Case& c : cases) {
    StarterHarness fresh;
    FakeUiHost& host = fresh.ui;
    if (c.auto_unload) fresh.reg.SetString(Hive::CurrentUser, kMenuKey, "AutoUnload", c.auto_unload);
    if (c.skin) fresh.reg.SetString(Hive::CurrentUser, kMenuKey, "Skin", c.skin);
    const int writes_before = fresh.reg.writes;
    mGlobals gm(fresh.env);
    frmMenu* form = &Load(gm);
    EXPECT_EQ(form->AutoUnload(), c.expect_auto) << (c.auto_unload ? c.auto_unload : "missing");
    EXPECT_EQ(form->SkinNumber(), c.expect_skin) << (c.skin ? c.skin : "missing");
    EXPECT_EQ(host.LastView()->background.has_value(), c.expect_skin != 0);
    EXPECT_EQ(fresh.reg.writes, writes_before) << "loading wrote a setting";
  }
}

TEST_F(MenuTest, ContextMenuChoicesRecolourAndAreStored) {
  Open(false);
  menu->ContextSkin(pSkin::kBlue);
  EXPECT_EQ(Stored("Skin"), "1");
  ASSERT_TRUE(view->background.has_value());
  EXPECT_EQ(view->background->resource_name, "BACK1");
  EXPECT_EQ(view->icon_back, 0xC08E70u);
  menu->ContextSkin(pSkin::kGrey);  // the active item is drawn again in the new colours
  EXPECT_TRUE(view->looks[0].color == 0xFFFFFFu && view->looks[0].bold && !view->looks[0].second_icon);
  menu->ContextAutoUnload();
  EXPECT_EQ(Stored("AutoUnload"), "0");
  menu->ContextAutoUnload();
  EXPECT_EQ(Stored("AutoUnload"), "1");
}

TEST_F(MenuTest, DeactivationUnloadsUnlessAutoUnloadIsOff) {
  ui.windows = &windows;
  ui.on_window_created = [this](WindowHandle hwnd) {
    windows.AddWindow(hwnd, [](WindowHandle, uint32_t, std::uintptr_t, std::intptr_t) { return 7; });
  };
  Open();
  const WindowHandle hwnd = view->Handle();
  EXPECT_EQ(windows.GetProperty(hwnd, std::to_string(hwnd) + "#28C"), 1);
  EXPECT_EQ(windows.Send(hwnd, kWmActivateApp, 1, 0), 7);  // activation; the window's own result
  menu->ContextAutoUnload();                               // off
  windows.Send(hwnd, kWmActivateApp, 0, 0);
  EXPECT_TRUE(menu->Loaded());
  menu->ContextAutoUnload();                          // on again
  windows.Send(hwnd, kWmActivateApp, 0x12340000, 0);  // low word 0: deactivated
  EXPECT_FALSE(menu->Loaded());
  EXPECT_TRUE(view->closed);
  EXPECT_TRUE(windows.windows[hwnd].props.empty()) << "detached on unload";
  EXPECT_NE(windows.GetWindowProc(hwnd), FakeWindowSystem::kSubclassProc);
  EXPECT_NE(g.app, nullptr) << "unloading by code does not shut down";
}

TEST_F(MenuTest, TerminalFocusLossUnloadsLikeDeactivation) {
  Open();
  menu->AppActivated(true);
  EXPECT_TRUE(menu->Loaded());
  menu->AppActivated(false);
  EXPECT_FALSE(menu->Loaded());
}

TEST_F(MenuTest, ClosingByTheUserShutsDownClosingByCodeDoesNot) {
  Open();
  menu->QueryUnload(kUnloadByUser);
  EXPECT_FALSE(menu->Loaded());
  EXPECT_TRUE(g.EndRequested());
  Finish(g);
  EXPECT_EQ(g.app, nullptr);
  StarterHarness fresh;
  mGlobals gm(fresh.env);
  Load(gm).QueryUnload(kUnloadByOwner);
  EXPECT_FALSE(gm.EndRequested());
}

TEST_F(MenuTest, AMissingFrontEndEndsTheStartWithoutAMenuLeftBehind) {
  std::string err;
  ASSERT_TRUE(h.fs.DeleteFile(std::string(kProgramDir) + "krv25.mde", &err)) << err;
  h.sys.command_line = "";
  EXPECT_EQ(Main(g), 1);
  EXPECT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_FALSE(g.forms.AnyLoaded());
  EXPECT_TRUE(ui.views.empty() || ui.LastView()->closed);
  EXPECT_FALSE(h.held.contains(kStarterMutex));
}

}  // namespace
}  // namespace krv
