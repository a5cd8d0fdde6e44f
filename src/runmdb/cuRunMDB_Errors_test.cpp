#include <gtest/gtest.h>

#include <tuple>

#include "base/KrvError.h"
#include "runmdb/RunMdbErrors.h"
#include "testing/RunMdbFixture.h"

namespace krv {
namespace {

template <typename F>
std::string ErrorOf(F f) try {
  f();
  return "";
} catch (const KrvError& e) {
  return std::to_string(e.number) + "|" + e.description + "|" + e.source;
}

TEST(cuRunMDB_ErrorsTest, WhatTestModeSoftensAndWhatItStillRaises) {
  // setup, code, procedure, the command line test mode softens it to ("": still raised), the text
  const std::tuple<std::string, int32_t, std::string, std::string, std::string> cases[] = {
      {"AccVersion=2", 2, "GetAccessPath", "", "Der Access-Pfad kann nicht aus der Registry ermittelt werden."},
      {"db | AccPath=D:\\Access", 3, "GetAccessPath", kAccessDb,
       "Die Datei 'D:\\Access\\msaccess.exe' wurde nicht gefunden."},
      {"AccList=HKLM\\Path", 4, "RegListParse", "",
       "Der Schlüssellisten-Eintrag 'HKLM\\Path' ist fehlerhaft bzw. kann nicht interpretiert werden."},
      {"access | DBPath=C:\\Daten | DBFilename=krv.mdb", 5, "GetDBPath", kAccessD + " \"C:\\Daten\\krv.mdb\"",
       "Die Datenbank 'C:\\Daten\\krv.mdb' ist nicht vorhanden."},
      {"access | Option=0", 6, "GetDBPath", kAccessD + " /Compact",
       "Es sind keine Pfadinformationen für die zu startende Datenbank verfügbar.\r\nWenn Sie keinen Pfad angeben, "
       "muss sich eine Datenbank namens 'krv25.mdb/mde/mda' im Programmpfad befinden."},
      {"access | db | VerifyProfile | Profile=K 1", 7, "GetProfile", kAccessDb + " /Profile \"K 1\"",
       "Kann den Eintrag des Profiles 'K 1' nicht in der Registry finden."},
      {"access | db | SysList=HKLM\\SOFTWARE\\K\\V%|%HKEY_CURRENT_CONFIG\\K\\V", 8, "RegListParse", "",
       "Der Schlüssellisten-Eintrag 'HKEY_CURRENT_CONFIG\\K\\V' enthält keinen Verweis auf den HKey."},
      {"access | db | SysFilename=w.mdw", 9, "GetSystemDB", kAccessDb + " /wrkgrp \"C:\\Programme\\Korvella\\w.mdw\"",
       "System-Datenbank 'C:\\Programme\\Korvella\\w.mdw' nicht gefunden."},
      {"HKLM:S\\P=C:\\Nope | AccList=HKLM\\S\\P%|%HKLM\\S\\Missing", 11, "GetAccessPath", "",
       "Die benutzerdefinierten Registryeinträge für den Access-Pfad sind nicht vorhanden, enthalten keinen Wert oder "
       "an den angegebenen Positionen wurde keine ausführbare Access-Datei gefunden."},
      {"access | DBList=HKLM\\SOFTWARE\\K\\Missing%|%HKCU\\Software\\K\\Db", 13, "GetDBPath", kAccessD,
       "Die benutzerdefinierten Registryeinträge für den Datenbank-Pfad sind nicht vorhanden, enthalten keinen Wert "
       "oder an den angegebenen Positionen wurde keine Datenbank gefunden."},
      {"access | db | HKLM:SOFTWARE\\K\\Wrk=C:\\Daten\\ | SysList=HKLM\\SOFTWARE\\K\\Wrk", 15, "GetSystemDB", kAccessDb,
       "Die benutzerdefinierten Registryeinträge für den Pfad der Systemdatenbank sind nicht vorhanden, enthalten "
       "keinen Wert oder an den angegebenen Positionen wurde keine Systemdatenbank gefunden."},
  };
  for (const auto& [setup, code, proc, line, description] : cases) {
    for (const bool test_mode : {false, true}) {
      RunMdbWorld w;
      w.Apply(setup);
      w.runner->SetTestMode(test_mode);
      w.pointer.value = kMousePointerHourglass;
      const std::string e = ErrorOf([&] { w.runner->GetCommandLine(); });
      if (test_mode && !line.empty()) {
        EXPECT_EQ(e + (w.runner->TestModeError() ? "T " : "F ") + w.runner->CommandLine(), "T " + line);
      } else {
        EXPECT_EQ(e + w.runner->CommandLineHiddenUserPW() + (w.pointer.value == kMousePointerDefault ? "" : " busy"),
                  std::to_string(RunMdbErrorNumber(code)) + "|" + description + "|krv25: " + proc + ": GetCommandLine");
      }
    }
  }
}

TEST(cuRunMDB_ErrorsTest, QuotesControlCharactersOrAClosingBackslashAreRefused) {
  const std::pair<std::string, std::string> cases[] = {
      {"User=a\"b", "Benutzername"},
      {"User=VZ | Pwd=geheim\\", "Kennwort"},
      {"Profile=Pro\"fil", "Profil"},
      {"Macro=M\r\n/Excl", "Makro"},
      {"Cmd=x\" /pwd \"y", "Cmd"},
      {"file:C:\\Programme\\Korvella\\a\" b.mdb | DBFilename=a\" b.mdb", "Datenbank"},
      {"file:C:\\Programme\\Korvella\\x\" y.mdw | SysFilename=x\" y.mdw", "Systemdatenbank"},
      {"HKLM:S\\P=C:\\O\"f | file:C:\\O\"f\\msaccess.exe | AccList=HKLM\\S\\P", "Access-Pfad"},
  };
  for (const auto& [setup, label] : cases) {
    RunMdbWorld w;
    w.Apply("access | db | " + setup);
    w.runner->SetTestMode(true);  // not even softened in test mode
    EXPECT_EQ(ErrorOf([&] { w.runner->GetCommandLine(); }),
              std::to_string(static_cast<int32_t>(0x80040412u)) + "|Der Wert für '" + label +
                  "' kann nicht an Access übergeben werden: Er enthält ein Anführungszeichen oder ein Steuerzeichen "
                  "oder endet mit einem umgekehrten Schrägstrich.|krv25: GetCommandLine");
    EXPECT_TRUE(w.runner->CommandLine().empty() && w.runner->DebugLog().find("geheim") == std::string::npos) << label;
  }
}

TEST(cuRunMDB_ErrorsTest, PropertyRangesAndTheNextCallClearingTestModeError) {
  RunMdbWorld w;
  w.runner->SetTestMode(true);
  w.runner->SetAccVersion(1);
  EXPECT_EQ(ErrorOf([&] { w.runner->SetAccVersion(4); }),
            std::to_string(RunMdbErrorNumber(17)) +
                "|'4' ist kein zulässiger Wert für die Eigenschaft 'AccVersion'.|krv25: AccVersion (Let)");
  EXPECT_EQ(w.runner->AccVersion(), 1);
  for (const int index : {-1, 7})
    EXPECT_EQ(ErrorOf([&] { w.runner->SetAccOption(index, true); }),
              std::to_string(RunMdbErrorNumber(16)) + "|'" + std::to_string(index) +
                  "' ist kein zulässiger Wert.|krv25: AccOption (Let)");
  EXPECT_THROW(w.runner->AccOption(7), KrvError);
  EXPECT_EQ(RunMdbErrorDescription(3, "a##b@@c", ""), "Die Datei 'a##b@@c' wurde nicht gefunden.");  // as given
  w.runner->SetAccPath("D:\\Access");
  EXPECT_TRUE(w.runner->GetCommandLine() && w.runner->TestModeError());
  w.fs.AddFile("D:\\Access\\msaccess.exe");
  EXPECT_TRUE(w.runner->GetCommandLine() && !w.runner->TestModeError());
}

}  // namespace
}  // namespace krv
