#include "settings/frmControl.h"

#include <gtest/gtest.h>

#include <functional>

#include "testing/SettingsTestHost.h"

namespace krv {
namespace {

struct Dialog {
  TestSettingsHost h;
  frmControl form{h};
  FakeSettingsView* view = nullptr;
  int writes = 0;  // registry writes once the dialog was open
  void Open(bool standalone = false) {
    form.Load();
    form.SetStandalone(standalone);
    form.Show(false);
    view = h.ui.settings_view;
    writes = h.reg.writes;
  }
  std::string Shown(size_t i = 0) const { return i < h.dialogs.shown.size() ? h.dialogs.shown[i].text : "<none>"; }
};

TEST(SettingsDialogTest, EdgeCases) {
  struct Case {
    const char* name;
    std::function<void(Dialog&)> before;  // before the dialog opens
    std::function<void(Dialog&)> act;
    std::function<void(Dialog&)> check;
  };
  const Case cases[] = {
      {"no days stored: 120, OK disabled",
       {},
       {},
       [](Dialog& d) {
         EXPECT_EQ(d.view->days, "120");
         EXPECT_EQ(d.h.UserValue("Loader", "CheckLastSyncDate"), "120");
         EXPECT_FALSE(d.view->ok_enabled);
         EXPECT_EQ(d.view->caption, "KORVELLA II.5 Startprogramm - Einstellungen");
       }},
      {"days typed and OK",
       {},
       [](Dialog& d) { d.view->Type("30"), d.form.ButtonClick("ok"); },
       [](Dialog& d) {
         EXPECT_EQ(d.h.UserValue("Loader", "CheckLastSyncDate"), "30");
         EXPECT_FALSE(d.form.Loaded());
       }},
      {"not numeric stores 0",
       {},
       [](Dialog& d) { d.view->Type("abc"), d.form.KeyDown('O', kAltBit); },
       [](Dialog& d) { EXPECT_EQ(d.h.UserValue("Loader", "CheckLastSyncDate"), "0"); }},
      {"empty stores 0",
       {},
       [](Dialog& d) { d.view->Type(""), d.form.ButtonClick("OK"); },
       [](Dialog& d) { EXPECT_EQ(d.h.UserValue("Loader", "CheckLastSyncDate"), "0"); }},
      {"Alt+O while OK is disabled",
       {},
       [](Dialog& d) { d.form.KeyDown('O', kAltBit); },
       [](Dialog& d) { EXPECT_TRUE(d.form.Loaded()); }},
      {"DenyUserBackendSettings",
       [](Dialog& d) {
         d.h.reg.SetString(Hive::LocalMachine, std::string(kTestRoot) + "\\Options", "DenyUserBackendSettings", "1");
       },
       {},
       [](Dialog& d) {
         EXPECT_EQ(d.view->reason, "Der Pfad kann nur vom Administrator geändert werden.");
         EXPECT_FALSE(d.view->backend_enabled || d.view->browse_enabled || d.view->compress_enabled);
       }},
      {"KORVELLA open",
       [](Dialog& d) { d.h.korvella_open = true; },
       {},
       [](Dialog& d) {
         EXPECT_EQ(d.view->reason, "Der Pfad kann nicht geändert werden, da KORVELLA geöffnet ist.");
         EXPECT_FALSE(d.view->backend_enabled || d.view->browse_enabled || d.view->compress_enabled);
       }},
      {"picking the current backend does nothing",
       {},
       [](Dialog& d) { d.view->Pick(0); },
       [](Dialog& d) { EXPECT_EQ(d.h.reg.writes, d.writes); }},
      {"picking another backend switches",
       [](Dialog& d) {
         d.h.reg.SetString(Hive::CurrentUser, std::string(kTestRoot) + "\\Loader\\RecentBackends", "File 2",
                           kTestOther);
       },
       [](Dialog& d) { d.view->Pick(1); }, [](Dialog& d) { EXPECT_EQ(d.h.BackendPath(), kTestOther); }},
      {"a vanished backend gives 195 and leaves the list",
       [](Dialog& d) {
         d.h.reg.SetString(Hive::CurrentUser, std::string(kTestRoot) + "\\Loader\\RecentBackends", "File 2",
                           "X:\\weg.mdb");
       },
       [](Dialog& d) { d.view->Pick(1); },
       [](Dialog& d) {
         EXPECT_EQ(d.Shown(), "Das Daten-Backend 'X:\\weg.mdb' ist nicht vorhanden.");
         EXPECT_EQ(d.view->backends, std::vector<std::string>{kTestBackend});
         EXPECT_EQ(d.h.BackendPath(), kTestBackend);
       }},
      {"a file that is no backend is refused",
       [](Dialog& d) {
         d.h.fs.AddFile("E:\\brief.mdb", "Lieber Kunde");
         d.h.reg.SetString(Hive::CurrentUser, std::string(kTestRoot) + "\\Loader\\RecentBackends", "File 2",
                           "E:\\brief.mdb");
       },
       [](Dialog& d) { d.view->Pick(1); },
       [](Dialog& d) {
         EXPECT_NE(d.Shown().find("'E:\\brief.mdb' ist kein Daten-Backend"), std::string::npos) << d.Shown();
         EXPECT_EQ(d.h.BackendPath(), kTestBackend);
         EXPECT_EQ(d.view->backends.size(), 1u);
       }},
      {"browsing adds the chosen backend first", [](Dialog& d) { d.h.ui.settings_file_choice = kTestOther; },
       [](Dialog& d) { d.form.BrowseClick(); },
       [](Dialog& d) {
         EXPECT_EQ(d.h.BackendPath(), kTestOther);
         EXPECT_EQ(d.view->backends, (std::vector<std::string>{kTestOther, kTestBackend}));
         EXPECT_EQ(d.view->selected, 0);
       }},
      {"Escape without changes closes",
       {},
       [](Dialog& d) { d.form.KeyDown(kKeyEscape, 0); },
       [](Dialog& d) {
         EXPECT_FALSE(d.form.Loaded());
         EXPECT_EQ(d.h.dialogs.shown.size(), 0u);
       }},
      {"Escape with changes asks 503, No stays", [](Dialog& d) { d.h.dialogs.answers = {kIdNo}; },
       [](Dialog& d) { d.view->Type("7"), d.form.KeyDown(kKeyEscape, 0); },
       [](Dialog& d) {
         EXPECT_EQ(d.Shown(), "Sollen wirklich alle Änderungen verworfen werden?");
         EXPECT_TRUE(d.form.Loaded());
       }},
      {"Alt+S with changes, Yes discards",
       {},
       [](Dialog& d) { d.view->Type("7"), d.form.KeyDown('S', kAltBit); },
       [](Dialog& d) {
         EXPECT_FALSE(d.form.Loaded());
         EXPECT_EQ(d.h.UserValue("Loader", "CheckLastSyncDate"), "120");
       }},
      {"admin tools with changes: 504, Yes saves, elevated for a user",
       [](Dialog& d) {
         d.h.fs.AddFile("C:\\Programme\\Korvella\\krvadm25.exe");
         d.h.admin = false;
       },
       [](Dialog& d) { d.view->Type("9"), d.form.ButtonClick("Admin"); },
       [](Dialog& d) {
         EXPECT_NE(d.Shown().find("Sollen Ihre Änderungen übernommen werden?"), std::string::npos);
         EXPECT_EQ(d.h.UserValue("Loader", "CheckLastSyncDate"), "9");
         ASSERT_EQ(d.h.started.size(), 1u);
         EXPECT_TRUE(d.h.started[0].Elevate);
         EXPECT_FALSE(d.form.Loaded());
       }},
      {"admin tools, Cancel at 504",
       [](Dialog& d) {
         d.h.fs.AddFile("C:\\Programme\\Korvella\\krvadm25.exe");
         d.h.dialogs.answers = {kIdCancel};
       },
       [](Dialog& d) { d.view->Type("9"), d.form.ButtonClick("Admin"); },
       [](Dialog& d) {
         EXPECT_TRUE(d.h.started.empty());
         EXPECT_TRUE(d.form.Loaded());
       }},
      {"network backend is not compressed", [](Dialog& d) { d.h.SetBackend("\\\\srv1\\daten\\k.mdb"); },
       [](Dialog& d) { d.form.CompressClick(); },
       [](Dialog& d) {
         EXPECT_NE(d.Shown().find("auf dem Computer 'srv1' aus"), std::string::npos) << d.Shown();
         EXPECT_FALSE(d.h.hand_over);
       }},
      {"local backend hands over to the compressor",
       {},
       [](Dialog& d) { d.form.CompressClick(); },
       [](Dialog& d) {
         EXPECT_EQ(d.h.hand_over, (HandOver{227, "C:\\Programme\\Korvella\\krvcmp25.exe", "/Backend", false}));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Dialog d;
    if (c.before) c.before(d);
    d.Open();
    if (c.act) c.act(d);
    c.check(d);
  }
}

TEST(SettingsDialogTest, StandAloneEndsTheStarterAndWritesTheList) {
  Dialog d;
  d.Open(true);
  d.form.ButtonClick("Cancel");
  EXPECT_TRUE(d.h.ended);
  EXPECT_EQ(d.h.UserValue("Loader\\RecentBackends", "File 1"), kTestBackend);
}

}  // namespace
}  // namespace krv
