#include "settings/frmControl.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/cuAppError.h"
#include "settings/SettingsHost.h"
#include "suite/BackendSwitch.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"
#include "testing/FakeUiHost.h"

namespace krv {
namespace {

constexpr char kTestRoot[] = "Software\\Vantorel\\Korvella\\10.25";
constexpr char kTestBackend[] = "D:\\k.mdb";
constexpr char kTestOther[] = "E:\\alt.mdb";

// The settings dialog over a host of fakes: program folder, two backends and the product's settings.
class Dialog final : public SettingsHost {
 public:
  Dialog() {
    sys.exe_path = "C:\\Programme\\Korvella\\krv25.exe";
    fs.AddFile(sys.exe_path);
    for (const char* backend : {kTestBackend, kTestOther})
      fs.AddFile(backend, std::string("\0\1\0\0Standard Jet DB\0", 20));
    SetBackend(kTestBackend);
  }
  static std::string Key(const std::string& key) { return std::string(kTestRoot) + "\\" + key; }
  void SetBackend(const std::string& path) { reg.SetString(Hive::CurrentUser, Key("Options"), "BackendPath", path); }
  std::string UserValue(const std::string& key, const std::string& name) {
    return lib.RegRead(Hive::CurrentUser, Key(key), name, "<none>");
  }
  void Recent(const std::string& path) {
    reg.SetString(Hive::CurrentUser, Key("Loader\\RecentBackends"), "File 2", path);
  }
  // Days stored, the dialog, the list and the backend, and what was started.
  std::string State() {
    std::string s = UserValue("Loader", "CheckLastSyncDate") + (form.Loaded() ? " open" : " closed") +
                    (view->ok_enabled ? " OK" : "") + " [";
    for (const std::string& b : view->backends) s += b == view->backends[0] ? b : "," + b;
    s += "] " + BackendPath();
    if (!view->backend_enabled && !view->browse_enabled && !view->compress_enabled) s += " blocked: " + view->reason;
    for (const HandOver& p : started) s += " started " + p.File + (p.Elevate ? " elevated" : "");
    if (hand_over)
      s += " hand over " + std::to_string(hand_over->MessageId) + " " + hand_over->File + " " + hand_over->Args +
           (hand_over->Elevate ? " elevated" : "");
    return s;
  }

  cuAppError* oErr() override { return &err; }
  krvLibrary& Library() override { return lib; }
  FileSystem& Files() override { return fs; }
  UiHost& Ui() override { return ui; }
  Dialogs& Boxes() override { return dialogs; }
  std::string BackendPath() override {
    const std::string path = UserValue("Options", "BackendPath");
    return path == "<none>" ? "" : path;
  }
  bool KorvellaOpen() override { return korvella_open; }
  BackendProbe& Probe() override { return probe; }
  bool IsNetworkPath(const std::string& path) override { return path.starts_with("\\\\"); }
  std::string ServerName(const std::string& path) override { return path.substr(2, path.find('\\', 2) - 2); }
  bool IsAdmin() override { return admin; }
  bool StartProgram(const std::string& file, const std::string& args, bool elevate) override {
    started.push_back({0, file, args, elevate});
    return true;
  }
  void HandOverTo(const HandOver& next) override { hand_over = next; }
  void EndStarter() override {}

  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  FakeUiHost ui;
  cuAppError err{dialogs, AppInfo{}};
  krvLibrary lib{reg, fs, sys};
  OpenBackendProbe probe{fs, nullptr};  // the header test alone
  bool korvella_open = false, admin = true;
  std::vector<HandOver> started;
  std::optional<HandOver> hand_over;
  frmControl form{*this};
  FakeSettingsView* view = nullptr;
};

constexpr char kAdminTools[] = "C:\\Programme\\Korvella\\krvadm25.exe";

TEST(SettingsDialogTest, EdgeCases) {
  using Act = std::function<void(Dialog&)>;
  const Act pick = [](Dialog& d) { d.view->Pick(1); };
  const Act escape = [](Dialog& d) { d.form.KeyDown(kKeyEscape, 0); };
  const Act admin = [](Dialog& d) { d.view->Type("9"), d.form.ButtonClick("Admin"); };
  const std::string k = "[D:\\k.mdb] D:\\k.mdb", discard = "Sollen wirklich alle Änderungen verworfen werden?",
                    save = "Sollen Ihre Änderungen übernommen werden?", blocked = " blocked: Der Pfad kann ";
  const struct {
    Act before, act;
    std::string state, box;  // box: part of the first message shown, "" none
  } cases[] = {
      {{}, {}, "120 open " + k, ""},
      {{}, [](Dialog& d) { d.view->Type("abc"), d.form.KeyDown('O', kAltBit); }, "0 closed " + k, ""},
      {{}, [](Dialog& d) { d.form.KeyDown('O', kAltBit); }, "120 open " + k, ""},  // OK disabled
      {[](Dialog& d) { d.reg.SetString(Hive::LocalMachine, d.Key("Options"), "DenyUserBackendSettings", "1"); },
       {},
       "120 open " + k + blocked + "nur vom Administrator geändert werden.",
       ""},
      {[](Dialog& d) { d.korvella_open = true; },
       {},
       "120 open " + k + blocked + "nicht geändert werden, da KORVELLA geöffnet ist.",
       ""},
      {[](Dialog& d) { d.Recent(kTestOther); }, pick, "120 open [D:\\k.mdb,E:\\alt.mdb] E:\\alt.mdb", ""},
      {[](Dialog& d) { d.Recent("X:\\weg.mdb"); }, pick, "120 open " + k,
       "Das Daten-Backend 'X:\\weg.mdb' ist nicht vorhanden."},
      {[](Dialog& d) { d.fs.AddFile("E:\\brief.mdb", "Lieber Kunde"), d.Recent("E:\\brief.mdb"); }, pick,
       "120 open " + k, "'E:\\brief.mdb' ist kein Daten-Backend"},
      {[](Dialog& d) { d.ui.settings_file_choice = kTestOther; }, [](Dialog& d) { d.form.BrowseClick(); },
       "120 open [E:\\alt.mdb,D:\\k.mdb] E:\\alt.mdb", ""},
      {{}, escape, "120 closed " + k, ""},
      {[](Dialog& d) { d.dialogs.answers = {kIdNo}; }, [&](Dialog& d) { d.view->Type("7"), escape(d); },
       "120 open OK " + k, discard},
      {{}, [](Dialog& d) { d.view->Type("7"), d.form.KeyDown('S', kAltBit); }, "120 closed OK " + k, discard},
      {[](Dialog& d) { d.fs.AddFile(kAdminTools), d.admin = false; }, admin,
       "9 closed " + k + " started " + kAdminTools + " elevated", save},
      {[](Dialog& d) { d.fs.AddFile(kAdminTools), d.dialogs.answers = {kIdCancel}; }, admin, "120 open OK " + k, save},
      {[](Dialog& d) { d.SetBackend("\\\\srv1\\daten\\k.mdb"); }, [](Dialog& d) { d.form.CompressClick(); },
       "120 open [\\\\srv1\\daten\\k.mdb] \\\\srv1\\daten\\k.mdb", "auf dem Computer 'srv1' aus"},
      {{},
       [](Dialog& d) { d.form.CompressClick(); },
       "120 closed " + k + " hand over 227 C:\\Programme\\Korvella\\krvcmp25.exe /Backend",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    Dialog d;
    if (c.before) c.before(d);
    d.form.Load();
    d.form.Show(false);
    d.view = d.ui.settings_view;
    if (c.act) c.act(d);
    EXPECT_EQ(d.State(), c.state);
    const std::string box = d.dialogs.shown.empty() ? "" : d.dialogs.shown[0].text;
    EXPECT_TRUE(c.box.empty() ? box.empty() : box.find(c.box) != std::string::npos) << box;
  }
}

TEST(SettingsDialogTest, PickingTheCurrentBackendWritesNothing) {
  Dialog d;
  d.form.Load();
  d.form.Show(false);
  d.reg.writes = 0;
  d.ui.settings_view->Pick(0);
  EXPECT_EQ(d.reg.writes, 0);
}

}  // namespace
}  // namespace krv
