#include "settings/frmControl.h"

#include <gtest/gtest.h>

#include <functional>

#include "testing/SettingsTestHost.h"

namespace krv {
namespace {

constexpr char kDiscard[] = "Sollen wirklich alle Änderungen verworfen werden?";

struct Dialog {
  TestSettingsHost h;
  frmControl form{h};
  FakeSettingsView* view = nullptr;
  std::string Shown() const { return h.dialogs.shown.empty() ? "<none>" : h.dialogs.shown[0].text; }
  // Days stored, whether the dialog is open, and the first message shown.
  std::string State() {
    return h.UserValue("Loader", "CheckLastSyncDate") + (form.Loaded() ? " open " : " closed ") + Shown();
  }
  void Recent(const std::string& path) {
    h.reg.SetString(Hive::CurrentUser, std::string(kTestRoot) + "\\Loader\\RecentBackends", "File 2", path);
  }
  bool Blocked() const { return !view->backend_enabled && !view->browse_enabled && !view->compress_enabled; }
};

TEST(SettingsDialogTest, EdgeCases) {
  using Act = std::function<void(Dialog&)>;
  const struct {
    const char* name;
    Act before, act, check;
  } cases[] = {
      {"no days stored: 120, OK disabled",
       {},
       {},
       [](Dialog& d) {
         EXPECT_EQ(d.State() + d.view->days + (d.view->ok_enabled ? " OK" : ""), "120 open <none>120");
       }},
      {"days typed and OK",
       {},
       [](Dialog& d) { d.view->Type("30"), d.form.ButtonClick("ok"); },
       [](Dialog& d) { EXPECT_EQ(d.State(), "30 closed <none>"); }},
      {"not numeric stores 0",
       {},
       [](Dialog& d) { d.view->Type("abc"), d.form.KeyDown('O', kAltBit); },
       [](Dialog& d) { EXPECT_EQ(d.State(), "0 closed <none>"); }},
      {"Alt+O while OK is disabled",
       {},
       [](Dialog& d) { d.form.KeyDown('O', kAltBit); },
       [](Dialog& d) { EXPECT_EQ(d.State(), "120 open <none>"); }},
      {"DenyUserBackendSettings",
       [](Dialog& d) {
         d.h.reg.SetString(Hive::LocalMachine, std::string(kTestRoot) + "\\Options", "DenyUserBackendSettings", "1");
       },
       {},
       [](Dialog& d) {
         EXPECT_EQ(d.view->reason, "Der Pfad kann nur vom Administrator geändert werden.");
         EXPECT_TRUE(d.Blocked());
       }},
      {"KORVELLA open",
       [](Dialog& d) { d.h.korvella_open = true; },
       {},
       [](Dialog& d) {
         EXPECT_EQ(d.view->reason, "Der Pfad kann nicht geändert werden, da KORVELLA geöffnet ist.");
         EXPECT_TRUE(d.Blocked());
       }},
      {"picking the current backend does nothing",
       {},
       [](Dialog& d) { d.h.reg.writes = 0, d.view->Pick(0); },
       [](Dialog& d) { EXPECT_EQ(d.h.reg.writes, 0); }},
      {"picking another backend switches", [](Dialog& d) { d.Recent(kTestOther); }, [](Dialog& d) { d.view->Pick(1); },
       [](Dialog& d) { EXPECT_EQ(d.h.BackendPath(), kTestOther); }},
      {"a vanished backend gives 195 and leaves the list", [](Dialog& d) { d.Recent("X:\\weg.mdb"); },
       [](Dialog& d) { d.view->Pick(1); },
       [](Dialog& d) {
         EXPECT_EQ(d.Shown(), "Das Daten-Backend 'X:\\weg.mdb' ist nicht vorhanden.");
         EXPECT_EQ(d.view->backends, std::vector<std::string>{kTestBackend});
       }},
      {"a file that is no backend is refused",
       [](Dialog& d) { d.h.fs.AddFile("E:\\brief.mdb", "Lieber Kunde"), d.Recent("E:\\brief.mdb"); },
       [](Dialog& d) { d.view->Pick(1); },
       [](Dialog& d) {
         EXPECT_NE(d.Shown().find("'E:\\brief.mdb' ist kein Daten-Backend"), std::string::npos) << d.Shown();
         EXPECT_EQ(d.h.BackendPath() + " " + std::to_string(d.view->backends.size()), std::string(kTestBackend) + " 1");
       }},
      {"browsing adds the chosen backend first", [](Dialog& d) { d.h.ui.settings_file_choice = kTestOther; },
       [](Dialog& d) { d.form.BrowseClick(); },
       [](Dialog& d) {
         EXPECT_EQ(d.h.BackendPath(), kTestOther);
         EXPECT_EQ(d.view->backends, (std::vector<std::string>{kTestOther, kTestBackend}));
       }},
      {"Escape without changes closes",
       {},
       [](Dialog& d) { d.form.KeyDown(kKeyEscape, 0); },
       [](Dialog& d) { EXPECT_EQ(d.State(), "120 closed <none>"); }},
      {"Escape with changes asks 503, No stays", [](Dialog& d) { d.h.dialogs.answers = {kIdNo}; },
       [](Dialog& d) { d.view->Type("7"), d.form.KeyDown(kKeyEscape, 0); },
       [](Dialog& d) { EXPECT_EQ(d.State(), std::string("120 open ") + kDiscard); }},
      {"Alt+S with changes, Yes discards",
       {},
       [](Dialog& d) { d.view->Type("7"), d.form.KeyDown('S', kAltBit); },
       [](Dialog& d) { EXPECT_EQ(d.State(), std::string("120 closed ") + kDiscard); }},
      {"admin tools with changes: 504, Yes saves, elevated for a user",
       [](Dialog& d) { d.h.fs.AddFile("C:\\Programme\\Korvella\\krvadm25.exe"), d.h.admin = false; },
       [](Dialog& d) { d.view->Type("9"), d.form.ButtonClick("Admin"); },
       [](Dialog& d) {
         EXPECT_NE(d.State().find("9 closed Wenn Sie die Adminstrator-Tools"), std::string::npos) << d.State();
         ASSERT_EQ(d.h.started.size(), 1u);
         EXPECT_TRUE(d.h.started[0].Elevate);
       }},
      {"admin tools, Cancel at 504",
       [](Dialog& d) {
         d.h.fs.AddFile("C:\\Programme\\Korvella\\krvadm25.exe");
         d.h.dialogs.answers = {kIdCancel};
       },
       [](Dialog& d) { d.view->Type("9"), d.form.ButtonClick("Admin"); },
       [](Dialog& d) { EXPECT_EQ(d.State().substr(0, 9) + std::to_string(d.h.started.size()), "120 open 0"); }},
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
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Dialog d;
    if (c.before) c.before(d);
    d.form.Load();
    d.form.Show(false);
    d.view = d.h.ui.settings_view;
    if (c.act) c.act(d);
    c.check(d);
  }
}

}  // namespace
}  // namespace krv
