#include "suite/muKRVFunctions_Init.h"

#include <gtest/gtest.h>

#include "suite/SuiteNames.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeShell.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

const char kUpgrade[] = "C:\\Programme\\Korvella\\krvup25.exe";
const std::string kOptions = std::string(kProductRoot) + "\\Options";
const std::string kSource = " | muKRVFunctions: krvInitInterfaceDLL";
const std::string kCannotRun =
    "\r\n\r\nDieses Programm kann nicht ausgeführt werden, wenn das KORVELLA Hauptprogramm nicht verfügbar ist.";

const std::string kRefused =
    "-2147216356 Das Daten-Backend 'D:\\krvdat25.mdb' hat die Version 3, es wird jedoch die Version 4 benötigt." +
    kCannotRun + " | IObjects: Init" + kSource;

class InitTest : public testing::Test {
 protected:
  void SetUp() override {
    reg.SetString(Hive::ClassesRoot, "KrvInt25.IObjects\\CLSID", "", "{00000000-0000-0000-0000-000000000005}");
  }
  // Front end needing backend `needed`, backend at `have`, the upgrade program taking `takes` ("-": none).
  void Reset(const std::string& needed, const std::string& have, const std::string& takes, int answer) {
    fs = FakeFileSystem(), shell = FakeShell(), dialogs = FakeDialogs();
    dialogs.answers = {answer};
    reg.SetString(Hive::CurrentUser, kOptions, "BackendPath", "D:\\krvdat25.mdb");
    fs.AddFile("C:\\Programme\\Korvella\\krv25.mde");
    fs.AddFile("C:\\Programme\\Korvella\\krv25.mde.version", "[Version]\nFile=2.5.3.0\nBackend=" + needed + "\n");
    fs.AddFile("D:\\krvdat25.mdb");
    fs.AddFile("D:\\krvdat25.mdb.version", "[Version]\nFile=" + have + "\n");
    if (takes != "-") fs.AddFile(kUpgrade);
    fs.AddFile("C:\\Programme\\Korvella\\krvup25.cnf", "; Eingabe\n[backend]\nversion=" + takes + "\t\t; alt\n");
  }
  std::string Init(bool first, bool second) try {
    return krvInitInterfaceDLL(ctx, first, second) ? "T" : "F";
  } catch (const KrvError& e) {
    return std::to_string(e.number) + " " + e.description + " | " + e.source;
  }
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  FakeShell shell;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  krvLibrary lib{reg, fs, sys};
  std::unique_ptr<IObjects> objects;
  InterfaceDLLContext ctx{reg, fs, sys, shell, err, lib, objects};
};

TEST_F(InitTest, OlderBackendLeadsToTheUpgradeOffer) {
  const struct {
    const char *needed, *have, *takes;
    bool second;
    const char* want;  // offers, starts (answering yes), then T/F returned or - raised
  } cases[] = {
      {"3", "4", "4", true, "00T"}, {"4", "3", "3", false, "00T"}, {"4", "3", "2", true, "00-"},
      {"4", "3", "4", true, "00-"}, {"4", "3", "-", true, "00-"},  {"4", "3", "3.0", true, "10-"},
      {"4", "3", "3", true, "11F"},
  };
  for (const auto& c : cases) {
    Reset(c.needed, c.have, c.takes, c.want[1] == '1' ? kIdYes : kIdNo);
    const std::string got = Init(true, c.second);
    EXPECT_EQ(std::to_string(dialogs.shown.size()) + std::to_string(shell.started.size()) + got[0], c.want) << got;
    EXPECT_EQ(got[0] == '-' ? got : kRefused, kRefused);  // every refusal names the versions
  }
  EXPECT_EQ(dialogs.shown.at(0).text + "|" + std::to_string(dialogs.shown[0].style),
            err.MsgLoad(182, "3", "4") + "|52");
  EXPECT_EQ(shell.started.at(0).file + "|" + shell.started[0].args, std::string(kUpgrade) + "|/Update");
}

TEST_F(InitTest, ErrorTextsWhatEachFlagRequiresAndWhereTheBackendPathComesFrom) {
  EXPECT_EQ(Init(false, false), "T");  // the settings dialog needs neither
  EXPECT_EQ(Init(false, true), "-2147216356 Die Datei 'C:\\Programme\\Korvella\\krv25.mde' wurde nicht gefunden." +
                                   kCannotRun + " | IObjects: Init" + kSource);
  reg.SetString(Hive::LocalMachine, kOptions, "BackendPath", "\\\\server\\krvdat25.mdb");
  EXPECT_EQ(objects->BackendPath(), "\\\\server\\krvdat25.mdb");
  reg.SetString(Hive::CurrentUser, kOptions, "BackendPath", "Daten\\krvdat25.mdb");  // the user's first
  EXPECT_EQ(objects->BackendPath(), "C:\\Programme\\Korvella\\Daten\\krvdat25.mdb");
  objects.reset();
  reg.DeleteKeyTree(Hive::ClassesRoot, "KrvInt25.IObjects", nullptr);
  EXPECT_EQ(Init(false, false),
            "429 Mindestens eine Datei ist nicht korrekt installiert oder registriert.\r\nSie können dieses Programm "
            "erst nach vollständiger und erfolgreicher Installation von KORVELLA II ausführen. | KrvInt25.IObjects" +
                kSource);
}

}  // namespace
}  // namespace krv
