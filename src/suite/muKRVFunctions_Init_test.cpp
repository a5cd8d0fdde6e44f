#include "suite/muKRVFunctions_Init.h"

#include <gtest/gtest.h>

#include <optional>

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
const char kConfig[] = "C:\\Programme\\Korvella\\krvup25.cnf";
const std::string kOptions = std::string(kProductRoot) + "\\Options";
const std::string kCannotRun =
    "\r\n\r\nDieses Programm kann nicht ausgeführt werden, wenn das KORVELLA Hauptprogramm nicht verfügbar ist.";

class InitTest : public testing::Test {
 protected:
  void SetUp() override {
    sys.exe_path = "C:\\Programme\\Korvella\\krv25.exe";
    reg.SetString(Hive::ClassesRoot, "KrvInt25.IObjects\\CLSID", "", "{00000000-0000-0000-0000-000000000005}");
  }
  // Front end needing backend version `needed`, backend at `have`, the upgrade program taking `have`.
  void Install(const std::string& needed, const std::string& have) {
    reg.SetString(Hive::CurrentUser, kOptions, "BackendPath", "D:\\krvdat25.mdb");
    fs.AddFile("C:\\Programme\\Korvella\\krv25.mde");
    fs.AddFile("C:\\Programme\\Korvella\\krv25.mde.version", "[Version]\nFile=2.5.3.0\nBackend=" + needed + "\n");
    fs.AddFile("D:\\krvdat25.mdb");
    fs.AddFile("D:\\krvdat25.mdb.version", "[Version]\nFile=" + have + "\n");
    fs.AddFile(kUpgrade);
    fs.AddFile(kConfig, "[Backend]\nVersion=" + have + "\n");
  }
  std::optional<KrvError> InitError(bool first, bool second, bool* result = nullptr) {
    try {
      const bool r = krvInitInterfaceDLL(ctx, first, second);
      if (result) *result = r;
    } catch (const KrvError& e) {
      return e;
    }
    return std::nullopt;
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

TEST_F(InitTest, FileReadOffersTheUpgradeOnlyWhenEverythingFits) {
  const struct {
    bool program;
    std::optional<std::string> config;
    const char* backend_version;
    bool offered;
  } cases[] = {
      {false, "[Backend]\nVersion=2.5.0.3\n", "2.5.0.3", false},
      {true, std::nullopt, "2.5.0.3", false},
      {true, "[Backend]\nVersionen=2.5.0.3\n", "2.5.0.3", false},
      {true, "[Backend]\nVersion=2.5.0.2\n", "2.5.0.3", false},
      {true, "[Backend]\nVersion=2.5.0.3\n", "", false},
      {true, "; Eingabe\n[backend]\nversion=2.5.0.3.0\t\t; alt\n", "2.5.0.3", true},
  };
  for (const auto& c : cases) {
    fs = FakeFileSystem();
    dialogs.shown.clear();
    dialogs.answers = {kIdNo};
    if (c.program) fs.AddFile(kUpgrade);
    if (c.config) fs.AddFile(kConfig, *c.config);
    EXPECT_FALSE(FileRead(ctx, c.backend_version, "2.5.0.4"));
    EXPECT_EQ(dialogs.shown.size(), c.offered ? 1u : 0u) << c.config.value_or("no file");
  }
  EXPECT_EQ(dialogs.shown.at(0).text, err.MsgLoad(182, "2.5.0.3", "2.5.0.4"));
  EXPECT_EQ(dialogs.shown[0].style, 52);
  EXPECT_TRUE(shell.started.empty());  // No starts nothing

  dialogs.answers = {kIdYes, kIdYes};
  EXPECT_TRUE(FileRead(ctx, "2.5.0.3", "2.5.0.4"));
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0].file + "|" + shell.started[0].args, std::string(kUpgrade) + "|/Update");
  EXPECT_FALSE(shell.started[0].wait || shell.started[0].elevate);
  shell.fail_files.insert("c:\\programme\\korvella\\krvup25.exe");  // a failed start keeps the starter
  EXPECT_FALSE(FileRead(ctx, "2.5.0.3", "2.5.0.4"));
}

TEST_F(InitTest, ErrorsCarryTheirFixedTextsAndFlagsSayWhatIsRequired) {
  bool result = false;
  EXPECT_FALSE(InitError(false, false, &result));  // the settings dialog needs neither
  EXPECT_TRUE(result);
  const IObjects* created = objects.get();
  auto e = InitError(true, false);
  EXPECT_EQ(e->number, -2147213308);
  EXPECT_EQ(e->description,
            "Dieses Programm kann nicht ausgeführt werden, wenn der Pfad des Backends nicht gesetzt wurde.");
  EXPECT_EQ(e->source, "IObjects: Init | muKRVFunctions: krvInitInterfaceDLL");
  e = InitError(false, true);
  EXPECT_EQ(e->number, -2147216356);
  EXPECT_EQ(e->description, "Die Datei 'C:\\Programme\\Korvella\\krv25.mde' wurde nicht gefunden." + kCannotRun);
  EXPECT_EQ(objects.get(), created);  // created once, then reused

  objects.reset();
  reg.DeleteKeyTree(Hive::ClassesRoot, "KrvInt25.IObjects", nullptr);
  e = InitError(false, false);
  EXPECT_EQ(e->number, 429);
  EXPECT_EQ(e->description,
            "Mindestens eine Datei ist nicht korrekt installiert oder registriert.\r\nSie können dieses Programm erst "
            "nach vollständiger und erfolgreicher Installation von KORVELLA II ausführen.");
  EXPECT_EQ(e->source, "KrvInt25.IObjects | muKRVFunctions: krvInitInterfaceDLL");
}

TEST_F(InitTest, OlderBackendLeadsToTheUpgradeOffer) {
  const struct {
    const char *needed, *have;
    bool second;
    int answer;
    bool offered, started, error;
  } cases[] = {
      {"2.5.0.4", "2.5.0.4.0", true, kIdYes, false, false, false},
      {"2.5.0.3", "2.5.0.4", true, kIdYes, false, false, false},
      {"2.5.0.4", "", true, kIdYes, false, false, false},
      {"2.5.0.4", "2.5.0.3", false, kIdYes, false, false, false},
      {"2.5.0.4", "2.5.0.3", true, kIdYes, true, true, false},
      {"2.5.0.4", "2.5.0.3", true, kIdNo, true, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.needed) + " " + c.have);
    fs = FakeFileSystem();
    shell.started.clear();
    dialogs.shown.clear();
    dialogs.answers = {c.answer};
    Install(c.needed, c.have);
    bool result = false;
    const std::optional<KrvError> e = InitError(true, c.second, &result);
    EXPECT_EQ(dialogs.shown.size(), c.offered ? 1u : 0u);
    EXPECT_EQ(shell.started.size(), c.started ? 1u : 0u);
    ASSERT_EQ(e.has_value(), c.error);
    if (c.error) {
      EXPECT_EQ(
          e->description,
          "Das Daten-Backend 'D:\\krvdat25.mdb' hat die Version 2.5.0.3, es wird jedoch die Version 2.5.0.4 benötigt." +
              kCannotRun);
    } else {
      EXPECT_EQ(result, !c.started);  // false: the starter is to end
    }
  }
}

TEST_F(InitTest, BackendPathFromUserThenMachineRelativeToTheProgram) {
  IObjects o{reg, fs, sys};
  EXPECT_EQ(o.BackendPath(), "");
  reg.SetString(Hive::LocalMachine, kOptions, "BackendPath", "\\\\server\\daten\\krvdat25.mdb");
  EXPECT_EQ(o.BackendPath(), "\\\\server\\daten\\krvdat25.mdb");
  reg.SetString(Hive::CurrentUser, kOptions, "BackendPath", "Daten\\krvdat25.mdb");
  EXPECT_EQ(o.BackendPath(), "C:\\Programme\\Korvella\\Daten\\krvdat25.mdb");
  reg.SetString(Hive::CurrentUser, kOptions, "BackendPath", "D:\\krvdat25.mdb");
  EXPECT_EQ(o.BackendPath(), "D:\\krvdat25.mdb");
}

}  // namespace
}  // namespace krv
