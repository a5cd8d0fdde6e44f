#include <gtest/gtest.h>

#include <functional>

#include "app/cApp.h"
#include "app/mGlobals.h"
#include "menu/frmMenu.h"
#include "testing/StarterHarness.h"

namespace krv {
namespace {

std::string UserValue(StarterHarness& h, const std::string& key, const std::string& name) {
  RegValue v;
  return h.reg.ReadValue(Hive::CurrentUser, std::string(kHarnessRoot) + "\\" + key, name, &v, nullptr) == RegStatus::kOk
             ? v.text
             : "<none>";
}

// "/O": the dialog stands alone, modeless; the user acts once the loop runs.
TEST(SettingsStartTest, StandAloneFromTheCommandLine) {
  const struct {
    std::function<void(StarterHarness&)> set_up;
    std::function<void(FakeSettingsView&)> act;
    const char* after;  // days | backend | first recent entry | program started
  } cases[] = {
      {{},
       [](FakeSettingsView& v) { v.Type("33"), v.events->ButtonClick("OK"); },
       "33|D:\\Daten\\korvella.mdb|D:\\Daten\\korvella.mdb|"},
      {[](StarterHarness& h) {  // a missing backend path can be set
         h.reg.DeleteValue(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Options", "BackendPath", nullptr);
         h.fs.AddFile("D:\\neu.mdb", std::string("\0\1\0\0Standard ACE DB\0", 20));
         h.db.File("D:\\neu.mdb").Table("ADRESSEN");
         h.ui.settings_file_choice = "D:\\neu.mdb";
       },
       [](FakeSettingsView& v) { v.events->BrowseClick(), v.events->ButtonClick("Cancel"); },
       "120|D:\\neu.mdb|D:\\neu.mdb|"},
      {{},
       [](FakeSettingsView& v) { v.events->CompressClick(); },
       "120|D:\\Daten\\korvella.mdb|D:\\Daten\\korvella.mdb|C:\\Programme\\Korvella\\krvcmp25.exe /Backend"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after);
    StarterHarness h;
    if (c.set_up) c.set_up(h);
    h.sys.command_line = "/O";
    h.ui.script = {[&] {
      ASSERT_NE(h.ui.settings_view, nullptr);
      EXPECT_FALSE(h.ui.settings_view->modal);
      c.act(*h.ui.settings_view);
    }};
    mGlobals g(h.env);
    EXPECT_EQ(Main(g), 0);
    EXPECT_TRUE(h.dialogs.shown.empty()) << h.dialogs.shown[0].text;
    EXPECT_EQ(g.app, nullptr) << "closing the stand-alone dialog ends the starter";
    std::string after = UserValue(h, "Loader", "CheckLastSyncDate") + "|" + UserValue(h, "Options", "BackendPath") +
                        "|" + UserValue(h, "Loader\\RecentBackends", "File 1") + "|";
    for (const auto& s : h.shell.started) after += s.file + " " + s.args;
    EXPECT_EQ(after, c.after);
  }
}

TEST(SettingsStartTest, ModalOverTheMenuWhichStaysWhileItIsOpen) {
  StarterHarness h;
  mGlobals g(h.env);
  g.app = std::make_unique<cApp>(g);
  ASSERT_TRUE(g.app->LoadMenu(0, true));  // counting down
  int shown = 0;
  auto* menu = dynamic_cast<frmMenu*>(h.ui.LastView()->events());
  h.ui.on_settings_modal = [&](FakeSettingsView& v) {
    ++shown;
    menu->AppActivated(false);  // switching away does not unload the menu now
    EXPECT_TRUE(menu->Loaded());
    v.Type("60");
    v.events->KeyDown('O', kAltBit);
  };
  menu->KeyDown('E', kAltBit);
  EXPECT_TRUE(h.ui.settings_view->modal && h.ui.settings_view->closed);
  EXPECT_EQ(UserValue(h, "Loader", "CheckLastSyncDate"), "60");
  EXPECT_TRUE(menu->Loaded());
  EXPECT_FALSE(g.EndRequested());
  h.ui.Advance(10000);  // the countdown ended with the choice
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(h.shell.started.empty());
}

}  // namespace
}  // namespace krv
