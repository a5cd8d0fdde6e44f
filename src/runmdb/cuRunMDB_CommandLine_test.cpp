// Whole Access command lines: where msaccess.exe, the database and the
// workgroup file are found, the arguments, the masked copy and the log.
#include <gtest/gtest.h>

#include "testing/RunMdbFixture.h"

namespace krv {
namespace {

const std::string kOffice = "HKLM:SOFTWARE\\Microsoft\\Office\\";
const std::string kSearch = "Suche nach: C:\\Programme\\Korvella\\krv25.";
const std::string kWrkgrp = " /wrkgrp \"C:\\Programme\\Korvella\\krvwrk25.mdw\"";

TEST(cuRunMDB_CommandLineTest, AccessExecutable) {
  RunCases({
      {kOffice + "8.0\\Common\\InstallRoot\\OfficeBin=C:\\O97\\ | file:C:\\O97\\msaccess.exe | AccVersion=-1",
       "\"C:\\O97\\msaccess.exe\"", "",
       "Verwendeter Pfad: C:\\O97\\msaccess.exe\n" + kSearch + "mde\n - nicht vorhanden\n" + kSearch +
           "mda\nKeine Datenbank gefunden"},
      {kOffice + "10.0\\Common\\InstallRoot\\Path=C:\\OXP | file:C:\\OXP\\msaccess.exe | AccVersion=2 | "
                 "file:C:\\Programme\\Korvella\\krv25.mde",
       "\"C:\\OXP\\msaccess.exe\" \"C:\\Programme\\Korvella\\krv25.mde\"", "",
       "Schlüssel: SOFTWARE\\Microsoft\\Office\\10.0\\Access\\InstallRoot\nSchlüsselinhalt: \nSchlüssel: "
       "SOFTWARE\\Microsoft\\Office\\10.0\\Common\\InstallRoot\nSchlüsselinhalt: C:\\OXP\n - OK: "
       "C:\\Programme\\Korvella\\krv25.mde"},
      {kOffice + "11.0\\Access\\InstallRoot\\Path=C:\\O11 | " + kOffice +
           "11.0\\Common\\InstallRoot\\Path=C:\\Common | file:C:\\O11\\msaccess.exe | AccVersion=3 | "
           "file:C:\\Programme\\Korvella\\krv25.mde | file:C:\\Programme\\Korvella\\krv25.MDB",
       "\"C:\\O11\\msaccess.exe\" \"" + kDb + "\"", "",
       "Schlüsselinhalt: C:\\O11\nSchlüssel: SOFTWARE\\Microsoft\\Office\\11.0\\Common\\InstallRoot\nVerwendeter "
       "Pfad: C:\\O11\\msaccess.exe"},
      {"access", kAccessD, "", "Absoluter Pfad wird verwendet: D:\\Access\\msaccess.exe\nAccess-EXE: OK"},
      {"access | AccPath= \"D:\\Access\\MSACCESS.EXE\" ", kAccessD, "", ""},
      {"file:C:\\Programme\\Office\\msaccess.exe | AccPath=..\\Office", "\"C:\\Programme\\Office\\msaccess.exe\"", "",
       "Relativer Pfad: ..\\Office\\\nAbsoluter Pfad: C:\\Programme\\Office\\"},
      {"file:C:\\Programme\\Korvella\\Access\\msaccess.exe | AccPath=Access",
       "\"C:\\Programme\\Korvella\\Access\\msaccess.exe\"", "", "Absoluter Pfad: C:\\Programme\\Korvella\\Access\\"},
      {"file:\\\\srv\\apps\\msaccess.exe | AccPath=\\\\srv\\apps", "\"\\\\srv\\apps\\msaccess.exe\"", "", ""},
      {"HKLM:SOFTWARE\\Custom\\Access\\Path=E:\\Nope | HKCU:Software\\Custom\\InstallRoot\\=F:\\Office | "
       "file:F:\\Office\\Office10\\msaccess.exe | AccPath=D:\\ignored | "
       "AccList=%|%HKLM\\SOFTWARE\\Custom\\Access\\Path%|% HKCU\\Software\\Custom\\InstallRoot\\%|SubDir|%Office10",
       "\"F:\\Office\\Office10\\msaccess.exe\"", "",
       "Schlüsselliste wird aufgelöst\nGespeicherter Wert: \nGespeicherter Wert: HKLM\\SOFTWARE\\Custom\\Access\\Path\n"
       " - HKey: HKLM\n - Schlüssel: SOFTWARE\\Custom\\Access\n - Wertname: Path\n - Unterordner: -\n - Dateiname: -\n"
       "Schlüsselinhalt: E:\\Nope\nAccess-EXE: E:\\Nope\\msaccess.exe\nAccess-EXE: Nicht vorhanden an dieser Position\n"
       " - Wertname: -\n - Unterordner: Office10\nSchlüssel um Unterpfad ergänzt: F:\\Office\\Office10\\\n"
       "Access-EXE: OK"},
      {"HKLM:SOFTWARE\\Custom\\Exe=G:\\Acc\\MSACCESS.EXE | file:G:\\Acc\\msaccess.exe | "
       "AccList=HKLM\\Software\\Custom\\Exe%|SubDir|%x%|Filename%|other.exe",
       "\"G:\\Acc\\MSACCESS.EXE\"", "", " - Dateiname: other.exe\nAccess-EXE: G:\\Acc\\MSACCESS.EXE"},
  });
}

TEST(cuRunMDB_CommandLineTest, Arguments) {
  RunCases({
      {"access | file:\\\\srv\\daten\\krv25.mde | file:C:\\Programme\\System\\krvwrk25.mdw | DBPath=\\\\srv\\daten | "
       "DBFilename=krv25.mde | SysPath=..\\System | SysFilename=krvwrk25.mdw",
       kAccessD + " \"\\\\srv\\daten\\krv25.mde\" /wrkgrp \"C:\\Programme\\System\\krvwrk25.mdw\"", "",
       "[Datenbank-Pfad]\nBerechneter Pfad: \\\\srv\\daten\\\nDatenbank: \\\\srv\\daten\\krv25.mde\nDatenbank: OK\n"
       "[SysDB-Pfad]\nRelativer Pfad: ..\\System\\\nAbsoluter Pfad: C:\\Programme\\System\\\n"
       "SysDB: C:\\Programme\\System\\krvwrk25.mdw\nSysDB: OK"},
      {"access | file:C:\\Programme\\Korvella\\front.mde | file:C:\\Programme\\Korvella\\krvwrk25.mdw | "
       "DBFilename=front.mde | SysFilename=krvwrk25.mdw",
       kAccessD + " \"C:\\Programme\\Korvella\\front.mde\"" + kWrkgrp, "",
       "Kein Pfad angegeben, im aktuellen Verzeichnis suchen\nDatenbank: C:\\Programme\\Korvella\\front.mde"},
      {"access | HKCU:Software\\K\\Db=E:\\krv.mdb | file:E:\\krv.mdb | DBList=HKCU\\Software\\K\\Db | "
       "HKLM:SOFTWARE\\K\\=E:\\W | file:E:\\W\\Sys\\w.mdw | SysList=HKLM\\SOFTWARE\\K\\%|SubDir|%Sys%|Filename%|w.mdw",
       kAccessD + " \"E:\\krv.mdb\" /wrkgrp \"E:\\W\\Sys\\w.mdw\"", "",
       "Datenbank: E:\\krv.mdb\nSchlüsselinhalt um Unterpfad ergänzt: E:\\W\\Sys\\\nSysDB: OK"},
      {"access | DBPath=C:\\Daten", kAccessD, "", "Kein Dateiname angegeben, Pfad kann nicht ermittelt werden"},
      {"access | db | VerifyProfile", kAccessDb, "", "[Profil]\nKein Profil eingestellt"},
      {"access | db | Profile=Team/A;B", kAccessDb + " /Profile \"Team//A;;B\"", "", "Profil: Team/A;B"},
      {"access | db | " + kOffice +
           "10.0\\Access\\Profiles\\KORVELLA 10.25=x | AccVersion=2 | VerifyProfile | Profile=Korvella 10.25",
       kAccessDb + " /Profile \"Korvella 10.25\"", "",
       "Schlüssel: SOFTWARE\\Microsoft\\Office\\10.0\\Access\\Profiles\nProfil: OK"},
      {"access | db | Option=6 | Option=5 | Option=4 | Option=3 | Option=2 | Option=1 | Option=0",
       kAccessDb + " /Compact /Excl /nostartup /Repair /ro /Runtime /Decompile", "", ""},
      {"access | db | Macro= AutoStart  | User=VZ", kAccessDb + " /x \"AutoStart\" /user \"VZ\"",
       kAccessDb + " /x \"AutoStart\" /user \"XXXX\"", ""},
      {"access | db | Pwd=ZBNHte", kAccessDb, "", ""},
      {"access | db | User=Max Muster;1 | Pwd=a/b | Cmd=a b",
       kAccessDb + " /user \"Max Muster;;1\" /pwd \"a//b\" /cmd \"a b\"",
       kAccessDb + " /user \"XXXX\" /pwd \"YYYY\" /cmd \"a b\"", ""},
      {"access | db | User=\"VZ\" | Cmd= \"krv25.exe\" ", kAccessDb + " /user \"VZ\" /cmd \"krv25.exe\"",
       kAccessDb + " /user \"XXXX\" /cmd \"krv25.exe\"", ""},
  });
}

TEST(cuRunMDB_CommandLineTest, WholeDebugLog) {
  RunMdbWorld w;
  w.Apply(kOffice + "8.0\\Common\\InstallRoot\\OfficeBin=C:\\O97 | file:C:\\O97\\msaccess.exe | db");
  ASSERT_TRUE(w.runner->GetCommandLine());
  EXPECT_EQ(w.runner->CommandLine(), "\"C:\\O97\\msaccess.exe\" \"" + kDb + "\"");
  EXPECT_EQ(
      w.runner->DebugLog(),
      "[Access-Pfad]\r\nOffice-Schlüssel wird verwendet\r\nSchlüssel: "
      "SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot\r\nSchlüsselinhalt: C:\\O97\r\nVerwendeter Pfad: "
      "C:\\O97\\msaccess.exe\r\nAccess-EXE: OK\r\n\r\n[Datenbank-Pfad]\r\nKein Pfad angegeben, im aktuellen "
      "Verzeichnis suchen\r\nKein Dateiname angegeben, im aktuellen Verzeichnis suchen\r\nSuche nach: "
      "C:\\Programme\\Korvella\\krv25.mdb\r\n - OK: C:\\Programme\\Korvella\\krv25.mdb\r\n\r\n[SysDB-Pfad]\r\nKeine "
      "SysDB\r\n\r\n[Profil]\r\nKein Profil eingestellt");
}

TEST(cuRunMDB_CommandLineTest, SecondCallStartsAfreshAndTheLogHidesThePassword) {
  RunMdbWorld w;
  w.Apply("access | db | User=VZ | Pwd=ZBNHte");
  ASSERT_TRUE(w.runner->GetCommandLine());
  const std::string line = w.runner->CommandLine(), log = w.runner->DebugLog();
  ASSERT_TRUE(w.runner->GetCommandLine());
  EXPECT_EQ(w.runner->CommandLine(), line);
  EXPECT_EQ(w.runner->CommandLineArgs(), "\"" + kDb + "\" /user \"VZ\" /pwd \"ZBNHte\"");
  EXPECT_EQ(w.runner->DebugLog(), log);
  EXPECT_EQ(log.find("ZBNHte"), std::string::npos);
}

}  // namespace
}  // namespace krv
