#include "app/mGlobals.h"

#include <gtest/gtest.h>

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
  EXPECT_FALSE(h.shell.started[0].wait);
  EXPECT_FALSE(h.shell.started[0].elevate);
  EXPECT_TRUE(h.dialogs.shown.empty()) << Shown();
  EXPECT_TRUE(h.held.contains(kStarterMutex));
  EXPECT_EQ(h.window.lines, (std::vector<std::string>{"Umgebung prüfen ...", "Startoptionen auswerten ..."}));
}

TEST_F(StartSequenceTest, TestModeShowsTheMaskedLineAndStartsNothing) {
  Start("/T /L");
  EXPECT_TRUE(h.shell.started.empty());
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_NE(Shown().find("/user \"XXXX\" /pwd \"YYYY\""), std::string::npos) << Shown();
  EXPECT_EQ(Shown().find("ZBNHte"), std::string::npos);
  EXPECT_EQ(h.dialogs.shown[0].style, kMbIconInformation);
  EXPECT_FALSE(h.held.contains(kStarterMutex));  // Init returned false: no mutex
}

TEST_F(StartSequenceTest, SecondInstanceIsRefusedWithoutApplicationObject) {
  h.held.insert(kStarterMutex);
  Start("/L");
  EXPECT_EQ(g.app, nullptr);
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_EQ(h.dialogs.shown[0].style, kMbIconInformation);
  EXPECT_NE(Shown().find("\r\n"), std::string::npos) << "@@ becomes a line break";
  EXPECT_TRUE(h.shell.started.empty());
}

TEST_F(StartSequenceTest, MissingAccessPathSendsAdministratorToTheToolsElevatedForUsers) {
  h.reg.SetString(Hive::LocalMachine, std::string(kHarnessRoot) + "\\Options", "AccessPath", "C:\\fehlt\\msaccess.exe");
  h.fs.AddFile("C:\\Programme\\Korvella\\krvadm25.exe");
  Start("/L");
  ASSERT_EQ(h.shell.started.size(), 1u);
  EXPECT_EQ(h.shell.started[0].file, "C:\\Programme\\Korvella\\krvadm25.exe");
  EXPECT_EQ(h.shell.started[0].args, " /Access");
  EXPECT_TRUE(h.shell.started[0].elevate);
  EXPECT_EQ(g.app, nullptr) << "the starter has shut down before the hand-over";
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_EQ(h.dialogs.shown[0].style, kMbIconInformation);  // Access is missing

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
class PointerProbe final : public Dialogs {
 public:
  PointerProbe(Dialogs& inner, const bool& busy) : inner_(inner), busy_(busy) {}
  int MessageBox(const std::string& text, const std::string& caption, int style) override {
    busy_at_box.push_back(busy_);
    return inner_.MessageBox(text, caption, style);
  }
  std::vector<bool> busy_at_box;

 private:
  Dialogs& inner_;
  const bool& busy_;
};

TEST_F(StartSequenceTest, HourglassWhileTheLoaderRunsAndTheDefaultPointerAtEveryBox) {
  PointerProbe probe(h.dialogs, h.ui.busy);
  AppEnv env{h.reg, h.fs, h.shell, probe, h.sys, h.mutex, &h.ui};
  bool busy_in_loader = false;
  env.loader_steps = [&] {
    return std::vector<frmLoader::NamedStep>{{"Probe", [&](frmLoader& l) {
                                                busy_in_loader = h.ui.busy;
                                                l.context().err.MsgShow(kMsgScreenTooSmall, kMbIconExclamation, 1, 1);
                                                EXPECT_TRUE(h.ui.busy) << "the hourglass comes back after the box";
                                                return false;
                                              }}};
  };
  h.sys.processes = {"msaccess.exe"};  // asks first whether to go on
  h.sys.command_line = "/L";
  mGlobals probed(env);
  Main(probed);
  EXPECT_TRUE(busy_in_loader);
  EXPECT_EQ(probe.busy_at_box, (std::vector<bool>{false, false}));
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
  EXPECT_EQ(log.find("ZBNHte"), std::string::npos);
}

TEST_F(StartSequenceTest, MissingBackendPathEndsWithTheLibraryText) {
  h.reg.DeleteValue(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Options", "BackendPath", nullptr);
  EXPECT_EQ(Start("/L"), 1);
  EXPECT_TRUE(h.shell.started.empty());
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_NE(Shown().find("wenn der Pfad des Backends nicht gesetzt wurde."), std::string::npos) << Shown();
  EXPECT_EQ(h.dialogs.shown[0].style & 0xF0, kMbIconStop);
}

TEST_F(StartSequenceTest, DamagedSettingsStopTheStartNamingTheFile) {
  h.reg.damaged_store = "ParseRegFile(/home/u/.config/korvella/registry/HKEY_CURRENT_USER.reg): line 5: bad";
  const int writes = h.reg.writes;
  EXPECT_EQ(Start("/L"), 1);
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_NE(Shown().find("beschädigt"), std::string::npos) << Shown();
  EXPECT_NE(Shown().find(h.reg.damaged_store), std::string::npos) << Shown();
  EXPECT_EQ(h.dialogs.shown[0].style, kMbIconStop);
  EXPECT_TRUE(h.shell.started.empty());
  EXPECT_EQ(h.reg.writes, writes);
  EXPECT_FALSE(h.held.contains(kStarterMutex));
}

TEST_F(StartSequenceTest, RunningAccessAsksFirstUnlessSwitchedOff) {
  h.sys.processes = {"msaccess.exe"};
  h.dialogs.answers = {kIdNo};
  Start("/L");
  EXPECT_TRUE(h.shell.started.empty());
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_EQ(h.dialogs.shown[0].style, kMbYesNo | kMbIconQuestion);

  StarterHarness quiet;
  quiet.sys.processes = {"msaccess.exe"};
  quiet.LibSetting("NoAccessCheck", "1");
  mGlobals g2(quiet.env);
  quiet.sys.command_line = "/L";
  Main(g2);
  EXPECT_TRUE(quiet.dialogs.shown.empty());
  EXPECT_EQ(quiet.shell.started.size(), 1u);
}

TEST_F(StartSequenceTest, SettingsDialogSaysItIsNotThereYet) {
  Start("/O");
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_NE(Shown().find("noch nicht verfügbar"), std::string::npos);
  EXPECT_TRUE(h.shell.started.empty());
}

// The loader's decision is carried out by the application object.
class HandOverTest : public StartSequenceTest {
 protected:
  void Decide(LoaderResult result) {
    h.env.loader_steps = [result] {
      return std::vector<frmLoader::NamedStep>{{"Decide", [result](frmLoader& l) {
                                                  l.result() = result;
                                                  return false;
                                                }}};
    };
  }
};

TEST_F(HandOverTest, AccessWithEmptyArgumentsStartsNothing) {
  Decide({kActionAccess, "", "", true, "line", "hidden", kHarnessAccess});
  Start("/L");
  EXPECT_TRUE(h.shell.started.empty());
  EXPECT_TRUE(h.dialogs.shown.empty());
}

TEST_F(HandOverTest, FailedHandOverReportsUnknownErrorFileAndArguments) {
  const std::string compressor = "C:\\Programme\\Korvella\\krvcmp25.exe";
  Decide({kActionCompressor, compressor, "/Backend", true, "", "", ""});
  h.shell.fail_files.insert("c:\\programme\\korvella\\krvcmp25.exe");
  Start("/L");
  EXPECT_EQ(g.app, nullptr) << "the starter has shut down before the hand-over";
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  const std::string& text = Shown();
  EXPECT_NE(text.find("-1"), std::string::npos) << text;
  EXPECT_NE(text.find("Unbekannter Fehler"), std::string::npos);
  EXPECT_NE(text.find("\r\n\r\nDatei: " + compressor + "\r\nBefehlszeitenargumente: /Backend"), std::string::npos);
  EXPECT_EQ(h.dialogs.shown[0].style, kMbIconStop);
}

TEST_F(HandOverTest, ElevationIsDroppedForAdministrators) {
  Decide({kActionAdminTools, "C:\\Programme\\Korvella\\krvadm25.exe", "", true, "", "", ""});
  h.sys.admin = true;
  Start("/L");
  ASSERT_EQ(h.shell.started.size(), 1u);
  EXPECT_FALSE(h.shell.started[0].elevate);
}

class PatchRunTest : public StartSequenceTest {
 protected:
  void SetUp() override {
    h.reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Loader", "RunPatch", "1");
    h.fs.AddFile("C:\\Programme\\Korvella\\krvpch25.exe");
  }
};

TEST_F(PatchRunTest, YesHandsOverAndRecordsTheRestart) {
  h.dialogs.answers = {kIdYes};
  Start("/L");
  ASSERT_EQ(h.shell.started.size(), 1u);
  EXPECT_EQ(h.shell.started[0].file, "C:\\Programme\\Korvella\\krvpch25.exe");
  EXPECT_EQ(h.shell.started[0].args, "\"/KORVELLA II.5 Startprogramm\"");
  RegValue restart;
  ASSERT_EQ(h.reg.ReadValue(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Patch", "Run", &restart, nullptr),
            RegStatus::kOk);
  EXPECT_EQ(restart.text, "C:\\Programme\\Korvella\\krv25.exe /L");
  EXPECT_EQ(h.dialogs.shown[0].style, kMbYesNoCancel | kMbIconQuestion);
}

TEST_F(PatchRunTest, NoStartsNormallyAndCancelStartsNothing) {
  h.dialogs.answers = {kIdNo};
  Start("/L");
  ASSERT_EQ(h.shell.started.size(), 1u);
  EXPECT_EQ(h.shell.started[0].file, kHarnessAccess);
  EXPECT_TRUE(h.reg.ValueExists(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Loader", "RunPatch"));

  StarterHarness other;
  other.reg.SetString(Hive::CurrentUser, std::string(kHarnessRoot) + "\\Loader", "RunPatch", "1");
  other.fs.AddFile("C:\\Programme\\Korvella\\krvpch25.exe");
  other.dialogs.answers = {kIdCancel};
  other.sys.command_line = "/L";
  mGlobals g2(other.env);
  Main(g2);
  EXPECT_TRUE(other.shell.started.empty());
}

TEST_F(PatchRunTest, MissingPatchProgramStartsWithoutQuestion) {
  h.fs.DeleteFile("C:\\Programme\\Korvella\\krvpch25.exe", nullptr);
  Start("/L");
  EXPECT_TRUE(h.dialogs.shown.empty());
  EXPECT_EQ(h.shell.started.size(), 1u);
}

}  // namespace
}  // namespace krv
