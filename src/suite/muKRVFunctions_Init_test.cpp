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

const char kDir[] = "C:\\Programme\\Korvella\\";
const char kUpgrade[] = "C:\\Programme\\Korvella\\krvup25.exe";
const char kConfig[] = "C:\\Programme\\Korvella\\krvup25.cnf";
const char kBackend[] = "D:\\Daten\\krvdat25.mdb";

class InitTest : public testing::Test {
 protected:
  void SetUp() override {
    sys.exe_path = std::string(kDir) + "krv25.exe";
    reg.SetString(Hive::ClassesRoot, "KrvInt25.IObjects\\CLSID", "", "{00000000-0000-0000-0000-000000000005}");
  }
  // A complete installation: front end needing `needed`, backend at `have`.
  void Install(const std::string& needed, const std::string& have) {
    reg.SetString(Hive::CurrentUser, std::string(kProductRoot) + "\\Options", "BackendPath", kBackend);
    fs.AddFile(std::string(kDir) + "krv25.mde");
    fs.AddFile(std::string(kDir) + "krv25.mde.version", "[Version]\nFile=2.5.3.0\nBackend=" + needed + "\n");
    fs.AddFile(kBackend);
    fs.AddFile(std::string(kBackend) + ".version", "[Version]\nFile=" + have + "\n");
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
  struct Case {
    const char* name;
    bool program;
    std::optional<std::string> config;
    const char* backend_version;
    bool offered;
  } cases[] = {
      {"no upgrade program", false, "[Backend]\nVersion=2.5.0.3\n", "2.5.0.3", false},
      {"no configuration file", true, std::nullopt, "2.5.0.3", false},
      {"no key Version", true, "[Backend]\nVersionen=2.5.0.3\n", "2.5.0.3", false},
      {"other input version", true, "[Backend]\nVersion=2.5.0.2\n", "2.5.0.3", false},
      {"not comparable", true, "[Backend]\nVersion=2.5.0.3\n", "", false},
      {"same version", true, "; Eingabe\n[Backend]\nVersion=2.5.0.3\t\t; alt\n", "2.5.0.3", true},
      {"same version, other spelling", true, "[backend]\nversion=2.5.0.3.0\n", "2.5.0.3", true},
  };
  for (const Case& c : cases) {
    fs = FakeFileSystem();
    dialogs.shown.clear();
    dialogs.answers = {kIdNo};
    if (c.program) fs.AddFile(kUpgrade);
    if (c.config) fs.AddFile(kConfig, *c.config);
    EXPECT_FALSE(FileRead(ctx, c.backend_version, "2.5.0.4")) << c.name;
    EXPECT_EQ(dialogs.shown.size(), c.offered ? 1u : 0u) << c.name;
    EXPECT_TRUE(shell.started.empty()) << c.name;  // No starts nothing
  }
  ASSERT_FALSE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.shown[0].text, err.MsgLoad(182, "2.5.0.3", "2.5.0.4"));
  EXPECT_EQ(dialogs.shown[0].style, 52);
}

TEST_F(InitTest, FileReadYesStartsTheUpgradeProgram) {
  fs.AddFile(kUpgrade);
  fs.AddFile(kConfig, "[Backend]\r\nVersion=2.5.0.3\r\n");
  dialogs.answers = {kIdYes};
  EXPECT_TRUE(FileRead(ctx, "2.5.0.3", "2.5.0.4"));
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0].file, kUpgrade);
  EXPECT_EQ(shell.started[0].args, "/Update");
  EXPECT_EQ(shell.started[0].show, 1);
  EXPECT_FALSE(shell.started[0].wait || shell.started[0].elevate);
  dialogs.answers = {kIdYes};
  shell.fail_files.insert("c:\\programme\\korvella\\krvup25.exe");  // a failed start keeps the
                                                                    // starter
  EXPECT_FALSE(FileRead(ctx, "2.5.0.3", "2.5.0.4"));
}

TEST_F(InitTest, ErrorsCarryTheirFixedTexts) {
  const std::string cannot_run = "Dieses Programm kann nicht ausgeführt werden, ";
  auto e = InitError(true, true);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->number, -2147213308);
  EXPECT_EQ(e->description, cannot_run + "wenn der Pfad des Backends nicht gesetzt wurde.");
  EXPECT_EQ(e->source, "IObjects: Init | muKRVFunctions: krvInitInterfaceDLL");

  reg.SetString(Hive::CurrentUser, std::string(kProductRoot) + "\\Options", "BackendPath", kBackend);
  e = InitError(true, true);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->number, -2147216356);
  EXPECT_EQ(e->description,
            "Die Datei 'C:\\Programme\\Korvella\\krv25.mde' wurde nicht "
            "gefunden.\r\n\r\n" +
                cannot_run + "wenn das KORVELLA Hauptprogramm nicht verfügbar ist.");

  objects.reset();
  reg.DeleteKeyTree(Hive::ClassesRoot, "KrvInt25.IObjects", nullptr);
  e = InitError(false, false);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->number, 429);
  EXPECT_EQ(e->description,
            "Mindestens eine Datei ist nicht korrekt installiert oder "
            "registriert.\r\n"
            "Sie können dieses Programm erst nach vollständiger und "
            "erfolgreicher Installation von KORVELLA II "
            "ausführen.");
  EXPECT_EQ(e->source, "KrvInt25.IObjects | muKRVFunctions: krvInitInterfaceDLL");
}

TEST_F(InitTest, FlagsSayWhatIsRequired) {
  bool result = false;
  EXPECT_FALSE(InitError(false, false, &result));  // the settings dialog needs neither
  EXPECT_TRUE(result);
  ASSERT_TRUE(objects);
  const IObjects* created = objects.get();
  EXPECT_EQ(InitError(true, false)->number, -2147213308);
  EXPECT_EQ(InitError(false, true)->number, -2147216356);
  EXPECT_EQ(objects.get(), created);  // created once, then reused
}

TEST_F(InitTest, OlderBackendLeadsToTheUpgradeOffer) {
  struct Case {
    const char* name;
    const char* needed;
    const char* have;
    bool second;
    int answer;
    bool offered, started, error;
  } cases[] = {
      {"same version", "2.5.0.4", "2.5.0.4", true, kIdYes, false, false, false},
      {"backend version unknown", "2.5.0.4", "", true, kIdYes, false, false, false},
      {"older, only prepared", "2.5.0.4", "2.5.0.3", false, kIdYes, false, false, false},
      {"older, Yes", "2.5.0.4", "2.5.0.3", true, kIdYes, true, true, false},
      {"older, No", "2.5.0.4", "2.5.0.3", true, kIdNo, true, false, true},
  };
  for (const Case& c : cases) {
    fs = FakeFileSystem();
    shell.started.clear();
    dialogs.shown.clear();
    dialogs.answers = {c.answer};
    Install(c.needed, c.have);
    fs.AddFile(kUpgrade);
    fs.AddFile(kConfig, std::string("[Backend]\nVersion=") + c.have + "\n");
    bool result = false;
    const std::optional<KrvError> e = InitError(true, c.second, &result);
    EXPECT_EQ(dialogs.shown.size(), c.offered ? 1u : 0u) << c.name;
    EXPECT_EQ(shell.started.size(), c.started ? 1u : 0u) << c.name;
    ASSERT_EQ(e.has_value(), c.error) << c.name;
    if (c.error) {
      EXPECT_EQ(e->number, -2147216356);
      EXPECT_EQ(e->description, std::string("Das Daten-Backend 'D:\\Daten\\krvdat25.mdb' hat "
                                            "die Version 2.5.0.3, es "
                                            "wird jedoch die Version 2.5.0.4 "
                                            "benötigt.\r\n\r\nDieses Programm kann "
                                            "nicht ausgeführt werden, wenn das KORVELLA "
                                            "Hauptprogramm nicht verfügbar "
                                            "ist."));
    } else {
      EXPECT_EQ(result, !c.started) << c.name;  // false: the starter is to end
    }
  }
}

}  // namespace
}  // namespace krv
