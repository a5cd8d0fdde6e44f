// Errors of the runner: what test mode softens, what it still raises, values
// refused because they would break out of their argument, and property ranges.
#include <gtest/gtest.h>

#include "base/KrvError.h"
#include "runmdb/RunMdbErrors.h"
#include "testing/RunMdbFixture.h"

namespace krv {
namespace {

// Runs `f` and returns the error it raised (number 0 if none).
template <typename F>
KrvError ErrorOf(F f) {
  try {
    f();
  } catch (const KrvError& e) {
    return e;
  }
  return {};
}

struct ErrorCase {
  std::vector<std::string> setup;
  int32_t code;
  std::string description;
  std::string line_in_test_mode;  // for softened errors; the source for raised ones
};

TEST(cuRunMDB_ErrorsTest, TestModeSoftensMissingFilesAndData) {
  const ErrorCase cases[] = {
      {{"db", "AccPath=D:\\Access"}, 3, "Die Datei 'D:\\Access\\msaccess.exe' wurde nicht gefunden.", kAccessDb},
      {{"access", "DBPath=C:\\Daten", "DBFilename=krv.mdb"},
       5,
       "Die Datenbank 'C:\\Daten\\krv.mdb' ist nicht vorhanden.",
       kAccessD + " \"C:\\Daten\\krv.mdb\""},
      {{"access", "Option=0"},
       6,
       "Es sind keine Pfadinformationen für die zu startende Datenbank verfügbar.\r\nWenn Sie keinen Pfad angeben, "
       "muss sich eine Datenbank namens 'krv25.mdb/mde/mda' im Programmpfad befinden.",
       kAccessD + " /Compact"},
      {{"access", "db", "VerifyProfile", "Profile=Korvella 10.25"},
       7,
       "Kann den Eintrag des Profiles 'Korvella 10.25' nicht in der Registry finden.",
       kAccessDb + " /Profile \"Korvella 10.25\""},
      {{"access", "db", "SysFilename=krvwrk25.mdw"},
       9,
       "System-Datenbank 'C:\\Programme\\Korvella\\krvwrk25.mdw' nicht gefunden.",
       kAccessDb + " /wrkgrp \"C:\\Programme\\Korvella\\krvwrk25.mdw\""},
      {{"access", "DBList=HKLM\\SOFTWARE\\K\\Missing%|%HKCU\\Software\\K\\Db"},
       13,
       "Die benutzerdefinierten Registryeinträge für den Datenbank-Pfad sind nicht vorhanden, enthalten keinen Wert "
       "oder an den angegebenen Positionen wurde keine Datenbank gefunden.",
       kAccessD},
      {{"access", "db", "HKLM:SOFTWARE\\K\\Wrk=C:\\Daten\\", "SysList=HKLM\\SOFTWARE\\K\\Wrk"},
       15,
       "Die benutzerdefinierten Registryeinträge für den Pfad der Systemdatenbank sind nicht vorhanden, enthalten "
       "keinen Wert oder an den angegebenen Positionen wurde keine Systemdatenbank gefunden.",
       kAccessDb},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.description);
    RunMdbWorld strict;
    strict.Apply(c.setup);
    strict.pointer.value = kMousePointerHourglass;
    const KrvError e = ErrorOf([&] { strict.runner->GetCommandLine(); });
    EXPECT_EQ(e.number, RunMdbErrorNumber(c.code));
    EXPECT_EQ(e.description, c.description);
    EXPECT_TRUE(e.source.starts_with("krv25: ") && e.source.ends_with(": GetCommandLine")) << e.source;
    EXPECT_EQ(strict.runner->CommandLine(), "");
    EXPECT_EQ(strict.pointer.value, kMousePointerDefault);

    RunMdbWorld test;
    test.Apply(c.setup);
    test.runner->SetTestMode(true);
    ASSERT_TRUE(test.runner->GetCommandLine());
    EXPECT_TRUE(test.runner->TestModeError());
    EXPECT_EQ(test.runner->CommandLine(), c.line_in_test_mode);
  }
}

TEST(cuRunMDB_ErrorsTest, TestModeStillRaises) {
  const std::string no_office = "Der Access-Pfad kann nicht aus der Registry ermittelt werden.";
  const ErrorCase cases[] = {
      {{"AccVersion=2"}, 2, no_office, "krv25: GetAccessPath: GetCommandLine"},
      {{"HKLM:SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot\\OfficeBin=C:\\O", "AccVersion=-2"},
       2,
       no_office,
       "krv25: GetAccessPath: GetCommandLine"},
      {{"AccList=HKLM\\Path"},
       4,
       "Der Schlüssellisten-Eintrag 'HKLM\\Path' ist fehlerhaft bzw. kann nicht interpretiert werden.",
       "krv25: RegListParse: GetCommandLine"},
      {{"access", "db", "SysList=HKLM\\SOFTWARE\\K\\V%|%HKEY_CURRENT_CONFIG\\K\\V"},
       8,
       "Der Schlüssellisten-Eintrag 'HKEY_CURRENT_CONFIG\\K\\V' enthält keinen Verweis auf den HKey.",
       "krv25: RegListParse: GetCommandLine"},
      {{"HKLM:SOFTWARE\\K\\Path=C:\\Nope", "AccList=HKLM\\SOFTWARE\\K\\Path%|%HKLM\\SOFTWARE\\K\\Missing"},
       11,
       "Die benutzerdefinierten Registryeinträge für den Access-Pfad sind nicht vorhanden, enthalten keinen Wert oder "
       "an den angegebenen Positionen wurde keine ausführbare Access-Datei gefunden.",
       "krv25: GetAccessPath: GetCommandLine"},
  };
  for (const ErrorCase& c : cases) {
    for (const bool test_mode : {false, true}) {
      SCOPED_TRACE(c.description + (test_mode ? " (test mode)" : ""));
      RunMdbWorld w;
      w.Apply(c.setup);
      w.runner->SetTestMode(test_mode);
      const KrvError e = ErrorOf([&] { w.runner->GetCommandLine(); });
      EXPECT_EQ(e.number, RunMdbErrorNumber(c.code));
      EXPECT_EQ(e.description, c.description);
      EXPECT_EQ(e.source, c.line_in_test_mode);
      EXPECT_EQ(w.runner->CommandLineHiddenUserPW(), "");
    }
  }
}

TEST(cuRunMDB_ErrorsTest, ValuesThatWouldBreakOutOfTheirArgumentAreRefused) {
  const struct {
    std::vector<std::string> setup;
    std::string label;
  } cases[] = {
      {{"User=a\"b"}, "Benutzername"},
      {{"User=VZ", "Pwd=geheim\" /x Evil"}, "Kennwort"},
      {{"User=VZ", "Pwd=geheim\\"}, "Kennwort"},
      {{"User=VZ", "Pwd=geheim\r\n/Excl"}, "Kennwort"},
      {{"Profile=Pro\"fil"}, "Profil"},
      {{"Macro=M\" /Repair \"x"}, "Makro"},
      {{"Cmd=x\" /pwd \"y"}, "Cmd"},
      {{"file:C:\\Programme\\Korvella\\a\" b.mdb", "DBFilename=a\" b.mdb"}, "Datenbank"},
      {{"file:C:\\Programme\\Korvella\\x\" y.mdw", "SysFilename=x\" y.mdw"}, "Systemdatenbank"},
      {{"HKLM:SOFTWARE\\K\\Path=C:\\Off\"ice", "file:C:\\Off\"ice\\msaccess.exe", "AccList=HKLM\\SOFTWARE\\K\\Path"},
       "Access-Pfad"},
  };
  for (const auto& c : cases) {
    for (const bool test_mode : {false, true}) {
      SCOPED_TRACE(c.label + (test_mode ? " (test mode)" : ""));
      RunMdbWorld w;
      w.Apply({"access", "db"});
      w.Apply(c.setup);
      w.runner->SetTestMode(test_mode);
      const KrvError e = ErrorOf([&] { w.runner->GetCommandLine(); });
      EXPECT_EQ(e.number, static_cast<int32_t>(0x80040412u));
      EXPECT_EQ(e.description, "Der Wert für '" + c.label +
                                   "' kann nicht an Access übergeben werden: Er enthält ein Anführungszeichen oder ein "
                                   "Steuerzeichen oder endet mit einem umgekehrten Schrägstrich.");
      EXPECT_EQ(e.source, "krv25: GetCommandLine");
      EXPECT_EQ(w.runner->DebugLog().find("geheim"), std::string::npos);
      EXPECT_EQ(w.runner->CommandLine(), "");
    }
  }
}

TEST(cuRunMDB_ErrorsTest, PropertyRangesAndTheNextCallClearingTestModeError) {
  RunMdbWorld w;
  w.runner->SetTestMode(true);
  w.runner->SetAccVersion(1);
  KrvError e = ErrorOf([&] { w.runner->SetAccVersion(4); });
  EXPECT_EQ(e.number, RunMdbErrorNumber(17));
  EXPECT_EQ(e.description, "'4' ist kein zulässiger Wert für die Eigenschaft 'AccVersion'.");
  EXPECT_EQ(e.source, "krv25: AccVersion (Let)");
  EXPECT_EQ(w.runner->AccVersion(), 1);
  for (const int index : {-1, 7}) {
    e = ErrorOf([&] { w.runner->SetAccOption(index, true); });
    EXPECT_EQ(e.number, RunMdbErrorNumber(16));
    EXPECT_EQ(e.description, "'" + std::to_string(index) + "' ist kein zulässiger Wert.");
    EXPECT_EQ(e.source, "krv25: AccOption (Let)");
  }
  EXPECT_THROW(w.runner->AccOption(7), KrvError);
  // The argument is inserted as given, even when it holds placeholders.
  EXPECT_EQ(RunMdbErrorDescription(3, "a##b@@c", ""), "Die Datei 'a##b@@c' wurde nicht gefunden.");

  w.runner->SetAccPath("D:\\Access");
  ASSERT_TRUE(w.runner->GetCommandLine());
  EXPECT_TRUE(w.runner->TestModeError());
  w.fs.AddFile("D:\\Access\\msaccess.exe");
  ASSERT_TRUE(w.runner->GetCommandLine());
  EXPECT_FALSE(w.runner->TestModeError());
}

}  // namespace
}  // namespace krv
