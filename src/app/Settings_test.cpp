#include <gtest/gtest.h>

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

// "/O": the dialog stands alone, modeless; the user acts once the loop runs. A missing backend path can be set.
TEST(SettingsStartTest, StandAloneFromTheCommandLine) {
  StarterHarness h;
  h.reg.DeleteValue(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Options", "BackendPath", nullptr);
  h.fs.AddFile("D:\\neu.mdb", std::string("\0\1\0\0Standard ACE DB\0", 20));
  h.db.File("D:\\neu.mdb").Table("ADRESSEN");
  h.ui.settings_file_choice = "D:\\neu.mdb";
  h.sys.command_line = "/O";
  h.ui.script = {[&] {
    ASSERT_NE(h.ui.settings_view, nullptr);
    EXPECT_FALSE(h.ui.settings_view->modal);
    h.ui.settings_view->Type("33");
    h.ui.settings_view->events->BrowseClick();
    h.ui.settings_view->events->ButtonClick("OK");
  }};
  mGlobals g(h.env);
  EXPECT_EQ(Main(g), 0);
  EXPECT_TRUE(h.dialogs.shown.empty()) << h.dialogs.shown[0].text;
  EXPECT_EQ(g.app, nullptr) << "closing the stand-alone dialog ends the starter";
  EXPECT_EQ(UserValue(h, "Loader", "CheckLastSyncDate") + "|" + UserValue(h, "Options", "BackendPath") + "|" +
                UserValue(h, "Loader\\RecentBackends", "File 1"),
            "33|D:\\neu.mdb|D:\\neu.mdb");
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
