#include "app/mGlobals.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/cApp.h"
#include "testing/StarterHarness.h"

namespace krv {
namespace {

constexpr char kExpectedArgs[] =
    "\"C:\\Programme\\Korvella\\krv25.mde\" /wrkgrp \"C:\\Programme\\Korvella\\krvwrk25.mdw\" /Runtime /user \"VZ\" "
    "/pwd \"ZBNHte\" /cmd \"krv25.exe\"";

class StartSequenceTest : public ::testing::Test {
 protected:
  int Start(const std::string& command_line) {
    h.sys.command_line = command_line;
    return Main(g);
  }
  std::string Shown(size_t i = 0) const { return i < h.dialogs.shown.size() ? h.dialogs.shown[i].text : ""; }

  StarterHarness h;
  mGlobals g{h.env};
};

TEST_F(StartSequenceTest, LoaderStartsAccessWithTheComputedLineAndHoldsTheMutex) {
  EXPECT_EQ(Start("/L"), 0);
  ASSERT_EQ(h.shell.started.size(), 1u) << Shown();
  EXPECT_EQ(h.shell.started[0].file, kHarnessAccess);
  EXPECT_EQ(h.shell.started[0].args, kExpectedArgs);
  EXPECT_TRUE(h.dialogs.shown.empty()) << Shown();
  EXPECT_TRUE(h.held.contains(kStarterMutex));
  EXPECT_EQ(h.ui.progress.lines, (std::vector<std::string>{
                                     "Programmaktualität prüfen ...", "Umgebung prüfen ...", "Daten-Backend prüfen ...",
                                     "Datenbestand prüfen ...", "Dateiprüfung ...", "Prüfung der LibraryMDE ...",
                                     "Module werden geprüft ...", "Replikationsprüfung ...", "Kompressionsprüfung ...",
                                     "AutoBackup-Einstellungen prüfen ...", "Startoptionen auswerten ..."}));
}

// Starts that end with one box and start nothing; none of them leaves the
// mutex behind or writes a setting.
TEST_F(StartSequenceTest, StartsThatEndWithOneBox) {
  const char* const kDamage = "ParseRegFile(/home/u/.config/korvella/registry/HKEY_CURRENT_USER.reg): line 5: bad";
  const struct Case {
    const char* line;
    std::function<void(StarterHarness&)> set_up;
    int exit_code, style;
    std::string text;  // shown, in part
  } cases[] = {
      // Without the growth check, whose first start records the backend's size, and
      // not the first start, which writes the reminder's default.
      {"/T /L",
       [](StarterHarness& s) {
         s.LibSetting("BackendCompression", "0");
         s.reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Loader", "CheckLastSyncDate", "120");
       },
       0, kMbIconInformation, "/user \"XXXX\" /pwd \"YYYY\" /cmd"},
      {"/L", [](StarterHarness& s) { s.held.insert(kStarterMutex); }, 0, kMbIconInformation,
       "Es läuft bereits eine Instanz des Startprogramms.\r\n"},
      {"/L",
       [](StarterHarness& s) {
         s.reg.DeleteValue(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Options", "BackendPath", nullptr);
       },
       1, kMbIconStop, "wenn der Pfad des Backends nicht gesetzt wurde."},
      {"/L", [&](StarterHarness& s) { s.reg.damaged_store = kDamage; }, 1, kMbIconStop,
       std::string("beschädigt ist:\r\n\r\n") + kDamage},
      {"/L",
       [](StarterHarness& s) {
         s.sys.processes = {"msaccess.exe"};
         s.dialogs.answers = {kIdNo};
       },
       0, kMbYesNo | kMbIconQuestion, "Es läuft zur Zeit eine Access-Anwendung."},
      {"/O", [](StarterHarness& s) { s.sys.processes = {"krvbrw25.exe"}; }, 0, kMbIconStop,
       "während der KORVELLA-Browser geöffnet ist."},
  };
  for (const Case& c : cases) {
    StarterHarness fresh;
    if (c.set_up) c.set_up(fresh);
    const bool second = fresh.held.contains(kStarterMutex);
    const int writes = fresh.reg.writes;
    fresh.sys.command_line = c.line;
    mGlobals gm(fresh.env);
    EXPECT_EQ(Main(gm), c.exit_code) << c.text;
    ASSERT_EQ(fresh.dialogs.shown.size(), 1u) << c.text;
    EXPECT_NE(fresh.dialogs.shown[0].text.find(c.text), std::string::npos) << fresh.dialogs.shown[0].text;
    EXPECT_EQ(fresh.dialogs.shown[0].style, c.style) << c.text;
    EXPECT_TRUE(fresh.shell.started.empty()) << c.text;
    EXPECT_EQ(fresh.held.contains(kStarterMutex), second) << c.text;
    EXPECT_EQ(fresh.reg.writes, writes) << c.text;
  }
  h.sys.processes = {"msaccess.exe"};
  h.LibSetting("NoAccessCheck", "1");  // the question is switched off
  Start("/L");
  EXPECT_TRUE(h.dialogs.shown.empty());
  EXPECT_EQ(h.shell.started.size(), 1u);
}

TEST_F(StartSequenceTest, MissingAccessPathSendsAdministratorToTheToolsElevatedForUsers) {
  h.reg.SetString(Hive::LocalMachine, std::string(kHarnessRoot) + "\\Options", "AccessPath", "C:\\fehlt\\msaccess.exe");
  h.fs.AddFile("C:\\Programme\\Korvella\\krvadm25.exe");
  Start("/L");
  ASSERT_EQ(h.shell.started.size(), 1u);
  EXPECT_EQ(h.shell.started[0].file, "C:\\Programme\\Korvella\\krvadm25.exe");
  EXPECT_EQ(h.shell.started[0].args, " /Access");
  EXPECT_TRUE(h.shell.started[0].elevate);
  EXPECT_EQ(h.dialogs.shown.size(), 1u);  // Access is missing

  h.dialogs.shown.clear();
  h.shell.fail_files.insert("c:\\programme\\korvella\\krvadm25.exe");
  mGlobals again(h.env);
  Main(again);
  ASSERT_EQ(h.dialogs.shown.size(), 2u);
  // The failed start is reported with the tools' own text for Access, not the general one.
  EXPECT_EQ(
      Shown(1).rfind("Beim Starten der Administrator Tools ist Fehler Nr. -1 aufgetreten:\r\nUnbekannter Fehler", 0),
      0u)
      << Shown(1);
  EXPECT_NE(again.start_failure.find("file not found"), std::string::npos) << "the shell's reason is kept";
}

// Message boxes that note whether the hourglass was on when they were asked.
struct PointerProbe final : FakeDialogs {
  explicit PointerProbe(const bool& busy) : busy_(busy) {}
  int MessageBox(const std::string& text, const std::string& caption, int style) override {
    busy_at_box.push_back(busy_);
    return FakeDialogs::MessageBox(text, caption, style);
  }
  std::vector<bool> busy_at_box;
  const bool& busy_;
};

TEST_F(StartSequenceTest, HourglassWhileTheLoaderRunsAndTheDefaultPointerAtEveryBox) {
  PointerProbe probe(h.ui.busy);
  AppEnv env{h.reg, h.fs, h.shell, probe, h.sys, h.mutex, &h.ui};
  bool busy_in_loader = false;
  env.loader_steps = [&] {
    return std::vector<frmLoader::NamedStep>{{"Probe", [&](frmLoader&) {
                                                busy_in_loader = h.ui.busy;
                                                return false;
                                              }}};
  };
  h.sys.processes = {"msaccess.exe"};  // asks first whether to go on
  h.sys.command_line = "/L";
  mGlobals probed(env);
  Main(probed);
  EXPECT_TRUE(busy_in_loader);
  EXPECT_EQ(probe.busy_at_box, std::vector<bool>{false});
  EXPECT_FALSE(h.ui.busy);
}

TEST_F(StartSequenceTest, FailedAccessStartIsReportedAndLoggedWithTheShellsReason) {
  h.LibSetting("StartLog", "1");
  h.shell.fail_files.insert("c:\\office\\msaccess.exe");
  Start("/L");
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_EQ(Shown().rfind("Die Ausführung der Befehlszeile '", 0), 0u) << Shown();
  EXPECT_EQ(Shown().find("ZBNHte"), std::string::npos);
  std::string log;
  ASSERT_TRUE(h.fs.ReadFile("C:\\Programme\\Korvella\\krv25.log", &log, nullptr));
  EXPECT_NE(log.find("Start fehlgeschlagen: ShellExecuteEx(C:\\Office\\msaccess.exe): file not found\r\n"),
            std::string::npos)
      << log;
}

// The loader's decision is carried out by the top after the shutdown.
TEST_F(StartSequenceTest, LoaderDecisionsAreCarriedOutAfterTheShutdown) {
  const std::string tools = "C:\\Programme\\Korvella\\krvadm25.exe";
  const LoaderResult access{kActionAccess, "", "", true, "line", "hidden", kHarnessAccess};
  const LoaderResult admin_tools{kActionAdminTools, tools, "", true, "", "", ""};
  const LoaderResult compressor{kActionCompressor, tools, "/Backend", true, "", "", ""};
  const char* const kFailed =
      "Beim Starten des Kompressionsprogramms ist Fehler Nr. -1 aufgetreten:\r\nUnbekannter Fehler\r\n\r\nDatei: "
      "C:\\Programme\\Korvella\\krvadm25.exe\r\nBefehlszeitenargumente: /Backend";
  const struct Case {
    const char* name;
    LoaderResult decision;
    bool admin, fails;
    bool elevated;       // as started
    const char* report;  // the text shown for a failed start, "" none
  } cases[] = {
      {"Access without arguments", access, false, false, false, ""},
      {"tools elevated", admin_tools, false, false, true, ""},
      {"no elevation for administrators", admin_tools, true, false, false, ""},
      {"failed compressor start", compressor, false, true, false, kFailed},
  };
  for (const Case& c : cases) {
    StarterHarness fresh;
    fresh.env.loader_steps = [&c] {
      return std::vector<frmLoader::NamedStep>{{"Decide", [&c](frmLoader& l) {
                                                  l.result() = c.decision;
                                                  return false;
                                                }}};
    };
    fresh.sys.admin = c.admin;
    if (c.fails) fresh.shell.fail_files.insert("c:\\programme\\korvella\\krvadm25.exe");
    fresh.sys.command_line = "/L";
    mGlobals gm(fresh.env);
    Main(gm);
    EXPECT_EQ(gm.app, nullptr) << c.name;
    const bool starts = c.decision.Action != kActionAccess && !c.fails;
    ASSERT_EQ(fresh.shell.started.size(), starts ? 1u : 0u) << c.name;
    EXPECT_EQ(starts && fresh.shell.started[0].elevate, c.elevated) << c.name;
    EXPECT_EQ(fresh.dialogs.shown.empty() ? "" : fresh.dialogs.shown[0].text, c.report) << c.name;
  }
}

TEST_F(StartSequenceTest, PatchRunAsksAndHandsOverOrGoesOn) {
  const std::string patch = "C:\\Programme\\Korvella\\krvpch25.exe";
  const struct Case {
    bool program;
    int answer;
    const char* started;  // "" none
    bool asked;
  } cases[] = {
      {true, kIdYes, "C:\\Programme\\Korvella\\krvpch25.exe", true},
      {true, kIdNo, kHarnessAccess, true},
      {true, kIdCancel, "", true},
      {false, kIdYes, kHarnessAccess, false},
  };
  for (const Case& c : cases) {
    StarterHarness fresh;
    fresh.reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Loader", "RunPatch", "1");
    if (c.program) fresh.fs.AddFile(patch);
    fresh.dialogs.answers = {c.answer};
    fresh.sys.command_line = "/L";
    mGlobals gm(fresh.env);
    Main(gm);
    EXPECT_EQ(fresh.shell.started.empty() ? "" : fresh.shell.started[0].file, c.started) << c.answer;
    EXPECT_EQ(fresh.dialogs.shown.empty() ? 0 : fresh.dialogs.shown[0].style,
              c.asked ? kMbYesNoCancel | kMbIconQuestion : 0)
        << c.answer;
    RegValue restart;
    const bool recorded = fresh.reg.ReadValue(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Patch", "Run", &restart,
                                              nullptr) == RegStatus::kOk;
    EXPECT_EQ(recorded, c.answer == kIdYes && c.program) << c.answer;
    if (recorded) {
      EXPECT_EQ(restart.text, "C:\\Programme\\Korvella\\krv25.exe /L");
      EXPECT_EQ(fresh.shell.started[0].args, "\"/KORVELLA II.5 Startprogramm\"");
    }
  }
}

}  // namespace
}  // namespace krv
