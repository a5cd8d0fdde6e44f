// Whole Access command lines: executable, database, workgroup file, arguments, masked copy and log.
#include <gtest/gtest.h>

#include "testing/RunMdbFixture.h"

namespace krv {
namespace {

const std::string kOffice = "HKLM:SOFTWARE\\Microsoft\\Office\\";
const std::string kKrv = "C:\\Programme\\Korvella\\";

TEST(cuRunMDB_CommandLineTest, AccessDatabaseWorkgroupAndArguments) {
  RunCases({
      {kOffice + "8.0\\Common\\InstallRoot\\OfficeBin=C:\\O97\\ | file:C:\\O97\\msaccess.exe | AccVersion=-1",
       "\"C:\\O97\\msaccess.exe\"", "",
       "Suche nach: " + kKrv + "krv25.mde\n - nicht vorhanden\nSuche nach: " + kKrv +
           "krv25.mda\nKeine Datenbank gefunden"},
      // Office 10.0 without an Access key falls back to the Common key.
      {kOffice + "10.0\\Common\\InstallRoot\\Path=C:\\OXP | file:C:\\OXP\\msaccess.exe | AccVersion=2 | file:" + kKrv +
           "krv25.mde",
       "\"C:\\OXP\\msaccess.exe\" \"" + kKrv + "krv25.mde\"", "",
       "Schlüssel: SOFTWARE\\Microsoft\\Office\\10.0\\Access\\InstallRoot\nSchlüsselinhalt: \nSchlüssel: "
       "SOFTWARE\\Microsoft\\Office\\10.0\\Common\\InstallRoot\nSchlüsselinhalt: C:\\OXP"},
      {kOffice + "11.0\\Access\\InstallRoot\\Path=C:\\O11 | " + kOffice +
           "11.0\\Common\\InstallRoot\\Path=C:\\Common | file:C:\\O11\\msaccess.exe | AccVersion=3 | file:" + kKrv +
           "krv25.mde | file:" + kKrv + "krv25.MDB",
       "\"C:\\O11\\msaccess.exe\" \"" + kDb + "\"", "", "Verwendeter Pfad: C:\\O11\\msaccess.exe"},
      {"access | AccPath= \"D:\\Access\\MSACCESS.EXE\" ", kAccessD, "",
       "Absoluter Pfad wird verwendet: D:\\Access\\msaccess.exe\nAccess-EXE: OK"},
      {"file:C:\\Programme\\Office\\msaccess.exe | AccPath=..\\Office", "\"C:\\Programme\\Office\\msaccess.exe\"", "",
       "Relativer Pfad: ..\\Office\\\nAbsoluter Pfad: C:\\Programme\\Office\\"},
      {"HKLM:SOFTWARE\\C\\A\\Path=E:\\Nope | HKCU:Software\\C\\=F:\\O | file:F:\\O\\O10\\msaccess.exe | "
       "AccList=%|%HKLM\\SOFTWARE\\C\\A\\Path%|% HKCU\\Software\\C\\%|SubDir|%O10",
       "\"F:\\O\\O10\\msaccess.exe\"", "",
       "Schlüsselliste wird aufgelöst\nGespeicherter Wert: \nGespeicherter Wert: HKLM\\SOFTWARE\\C\\A\\Path\n"
       " - HKey: HKLM\n - Schlüssel: SOFTWARE\\C\\A\n - Wertname: Path\n - Unterordner: -\n - Dateiname: -\n"
       "Access-EXE: E:\\Nope\\msaccess.exe\nAccess-EXE: Nicht vorhanden an dieser Position\n - Wertname: -\n"
       "Schlüssel um Unterpfad ergänzt: F:\\O\\O10\\\nAccess-EXE: OK"},
      {"access | file:\\\\srv\\d\\krv25.mde | file:C:\\Programme\\System\\w.mdw | DBPath=\\\\srv\\d | "
       "DBFilename=krv25.mde | SysPath=..\\System | SysFilename=w.mdw",
       kAccessD + " \"\\\\srv\\d\\krv25.mde\" /wrkgrp \"C:\\Programme\\System\\w.mdw\"", "",
       "[Datenbank-Pfad]\nBerechneter Pfad: \\\\srv\\d\\\nDatenbank: \\\\srv\\d\\krv25.mde\nDatenbank: OK\n"
       "[SysDB-Pfad]\nSysDB: C:\\Programme\\System\\w.mdw\nSysDB: OK"},
      {"access | file:" + kKrv + "front.mde | file:" + kKrv + "w.mdw | DBFilename=front.mde | SysFilename=w.mdw",
       kAccessD + " \"" + kKrv + "front.mde\" /wrkgrp \"" + kKrv + "w.mdw\"", "",
       "Kein Pfad angegeben, im aktuellen Verzeichnis suchen\nDatenbank: " + kKrv + "front.mde"},
      {"access | HKCU:Software\\K\\Db=E:\\krv.mdb | file:E:\\krv.mdb | DBList=HKCU\\Software\\K\\Db | "
       "HKLM:SOFTWARE\\K\\=E:\\W | file:E:\\W\\Sys\\w.mdw | SysList=HKLM\\SOFTWARE\\K\\%|SubDir|%Sys%|Filename%|w.mdw",
       kAccessD + " \"E:\\krv.mdb\" /wrkgrp \"E:\\W\\Sys\\w.mdw\"", "",
       "Datenbank: E:\\krv.mdb\nSchlüsselinhalt um Unterpfad ergänzt: E:\\W\\Sys\\\nSysDB: OK"},
      {"access | DBPath=C:\\Daten", kAccessD, "", "Kein Dateiname angegeben, Pfad kann nicht ermittelt werden"},
      {"access | db | Profile=Team/A;B", kAccessDb + " /Profile \"Team//A;;B\"", "", "Profil: Team/A;B"},
      {"access | db | " + kOffice +
           "10.0\\Access\\Profiles\\KORVELLA 10=x | AccVersion=2 | VerifyProfile | "
           "Profile=Korvella 10",
       kAccessDb + " /Profile \"Korvella 10\"", "", "Profil: OK"},
      {"access | db | Option=6 | Option=5 | Option=4 | Option=3 | Option=2 | Option=1 | Option=0",
       kAccessDb + " /Compact /Excl /nostartup /Repair /ro /Runtime /Decompile", "", ""},
      {"access | db | Pwd=ZBNHte", kAccessDb, "", ""},
      {"access | db | Macro= M  | User=\"Max Muster;1\" | Pwd=a/b | Cmd= \"a b\" ",
       kAccessDb + " /x \"M\" /user \"Max Muster;;1\" /pwd \"a//b\" /cmd \"a b\"",
       kAccessDb + " /x \"M\" /user \"XXXX\" /pwd \"YYYY\" /cmd \"a b\"", ""},
  });
}

TEST(cuRunMDB_CommandLineTest, WholeDebugLogWithoutThePasswordAndSecondCallAfresh) {
  RunMdbWorld w;
  w.Apply(kOffice + "8.0\\Common\\InstallRoot\\OfficeBin=C:\\O97 | file:C:\\O97\\msaccess.exe | db | Pwd=ZBNHte");
  ASSERT_TRUE(w.runner->GetCommandLine());
  const std::string log = w.runner->DebugLog();
  ASSERT_TRUE(w.runner->GetCommandLine());
  EXPECT_EQ(w.runner->CommandLine(), "\"C:\\O97\\msaccess.exe\" \"" + kDb + "\"");
  EXPECT_EQ(w.runner->DebugLog(), log);
  EXPECT_EQ(log,
            "[Access-Pfad]\r\nOffice-Schlüssel wird verwendet\r\nSchlüssel: "
            "SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot\r\nSchlüsselinhalt: C:\\O97\r\nVerwendeter Pfad: "
            "C:\\O97\\msaccess.exe\r\nAccess-EXE: OK\r\n\r\n[Datenbank-Pfad]\r\nKein Pfad angegeben, im aktuellen "
            "Verzeichnis suchen\r\nKein Dateiname angegeben, im aktuellen Verzeichnis suchen\r\nSuche nach: " +
                kDb + "\r\n - OK: " + kDb +
                "\r\n\r\n[SysDB-Pfad]\r\nKeine SysDB\r\n\r\n[Profil]\r\nKein Profil eingestellt");
}

}  // namespace
}  // namespace krv
