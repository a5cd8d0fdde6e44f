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

// Each row raises error `code` from `proc`; test mode softens it to the
// command line `line`, or raises it still when `line` is empty.
TEST(cuRunMDB_ErrorsTest, WhatTestModeSoftensAndWhatItStillRaises) {
  const struct {
    std::string setup;
    int32_t code;
    std::string proc, description, line;
  } cases[] = {
      {"AccVersion=2", 2, "GetAccessPath", "Der Access-Pfad kann nicht aus der Registry ermittelt werden.", ""},
      {"db | AccPath=D:\\Access", 3, "GetAccessPath", "Die Datei 'D:\\Access\\msaccess.exe' wurde nicht gefunden.",
       kAccessDb},
      {"AccList=HKLM\\Path", 4, "RegListParse",
       "Der Schlüssellisten-Eintrag 'HKLM\\Path' ist fehlerhaft bzw. kann nicht interpretiert werden.", ""},
      {"access | DBPath=C:\\Daten | DBFilename=krv.mdb", 5, "GetDBPath",
       "Die Datenbank 'C:\\Daten\\krv.mdb' ist nicht vorhanden.", kAccessD + " \"C:\\Daten\\krv.mdb\""},
      {"access | Option=0", 6, "GetDBPath",
       "Es sind keine Pfadinformationen für die zu startende Datenbank verfügbar.\r\nWenn Sie keinen Pfad angeben, "
       "muss sich eine Datenbank namens 'krv25.mdb/mde/mda' im Programmpfad befinden.",
       kAccessD + " /Compact"},
      {"access | db | VerifyProfile | Profile=Korvella 10.25", 7, "GetProfile",
       "Kann den Eintrag des Profiles 'Korvella 10.25' nicht in der Registry finden.",
       kAccessDb + " /Profile \"Korvella 10.25\""},
      {"access | db | SysList=HKLM\\SOFTWARE\\K\\V%|%HKEY_CURRENT_CONFIG\\K\\V", 8, "RegListParse",
       "Der Schlüssellisten-Eintrag 'HKEY_CURRENT_CONFIG\\K\\V' enthält keinen Verweis auf den HKey.", ""},
      {"access | db | SysFilename=krvwrk25.mdw", 9, "GetSystemDB",
       "System-Datenbank 'C:\\Programme\\Korvella\\krvwrk25.mdw' nicht gefunden.",
       kAccessDb + " /wrkgrp \"C:\\Programme\\Korvella\\krvwrk25.mdw\""},
      {"HKLM:SOFTWARE\\K\\Path=C:\\Nope | AccList=HKLM\\SOFTWARE\\K\\Path%|%HKLM\\SOFTWARE\\K\\Missing", 11,
       "GetAccessPath",
       "Die benutzerdefinierten Registryeinträge für den Access-Pfad sind nicht vorhanden, enthalten keinen Wert oder "
       "an den angegebenen Positionen wurde keine ausführbare Access-Datei gefunden.",
       ""},
      {"access | DBList=HKLM\\SOFTWARE\\K\\Missing%|%HKCU\\Software\\K\\Db", 13, "GetDBPath",
       "Die benutzerdefinierten Registryeinträge für den Datenbank-Pfad sind nicht vorhanden, enthalten keinen Wert "
       "oder an den angegebenen Positionen wurde keine Datenbank gefunden.",
       kAccessD},
      {"access | db | HKLM:SOFTWARE\\K\\Wrk=C:\\Daten\\ | SysList=HKLM\\SOFTWARE\\K\\Wrk", 15, "GetSystemDB",
       "Die benutzerdefinierten Registryeinträge für den Pfad der Systemdatenbank sind nicht vorhanden, enthalten "
       "keinen Wert oder an den angegebenen Positionen wurde keine Systemdatenbank gefunden.",
       kAccessDb},
  };
  for (const auto& c : cases) {
    for (const bool test_mode : {false, true}) {
      SCOPED_TRACE(c.description + (test_mode ? " (test mode)" : ""));
      RunMdbWorld w;
      w.Apply(c.setup);
      w.runner->SetTestMode(test_mode);
      w.pointer.value = kMousePointerHourglass;
      const KrvError e = ErrorOf([&] { w.runner->GetCommandLine(); });
      if (test_mode && !c.line.empty()) {
        EXPECT_EQ(e.number, 0);
        EXPECT_TRUE(w.runner->TestModeError());
        EXPECT_EQ(w.runner->CommandLine(), c.line);
        continue;
      }
      EXPECT_EQ(e.number, RunMdbErrorNumber(c.code));
      EXPECT_EQ(e.description, c.description);
      EXPECT_EQ(e.source, "krv25: " + c.proc + ": GetCommandLine");
      EXPECT_EQ(w.runner->CommandLineHiddenUserPW(), "");
      EXPECT_EQ(w.pointer.value, kMousePointerDefault);
    }
  }
}

// Values that would break out of their argument: a quote, a control
// character or a closing backslash.
TEST(cuRunMDB_ErrorsTest, ValuesThatWouldBreakOutOfTheirArgumentAreRefused) {
  const struct {
    std::string setup, label;
  } cases[] = {
      {"User=a\"b", "Benutzername"},
      {"User=VZ | Pwd=geheim\\", "Kennwort"},
      {"Profile=Pro\"fil", "Profil"},
      {"Macro=M\r\n/Excl", "Makro"},
      {"Cmd=x\" /pwd \"y", "Cmd"},
      {"file:C:\\Programme\\Korvella\\a\" b.mdb | DBFilename=a\" b.mdb", "Datenbank"},
      {"file:C:\\Programme\\Korvella\\x\" y.mdw | SysFilename=x\" y.mdw", "Systemdatenbank"},
      {"HKLM:SOFTWARE\\K\\Path=C:\\Off\"ice | file:C:\\Off\"ice\\msaccess.exe | AccList=HKLM\\SOFTWARE\\K\\Path",
       "Access-Pfad"},
  };
  for (const auto& c : cases) {
    for (const bool test_mode : {false, true}) {
      SCOPED_TRACE(c.label + (test_mode ? " (test mode)" : ""));
      RunMdbWorld w;
      w.Apply("access | db | " + c.setup);
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
