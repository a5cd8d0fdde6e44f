// Finding msaccess.exe: Office keys, explicit and relative folders, lists.
#include <gtest/gtest.h>

#include "testing/RunMdbFixture.h"

namespace krv {
namespace {

std::vector<RunMdbCase> AccessCases() {
  return {
      {"office 8.0 key, database named like the program",
       [](RunMdbWorld& w) {
         w.InstallOffice("8.0", "C:\\Office97\\Office");
         w.fs.AddFile(kDb);
       },
       "\"C:\\Office97\\Office\\msaccess.exe\"",
       kDbQ,
       "",
       {}},
      {"AccVersion -1 reads the office 8.0 key",
       [](RunMdbWorld& w) {
         w.InstallOffice("8.0", "C:\\Office97\\Office\\");
         w.runner->SetAccVersion(-1);
       },
       "\"C:\\Office97\\Office\\msaccess.exe\"",
       "",
       "",
       {"Schlüsselinhalt: C:\\Office97\\Office\\", "Verwendeter Pfad: C:\\Office97\\Office\\msaccess.exe",
        "Suche nach: C:\\Programme\\Korvella\\krv25.mdb", " - nicht vorhanden",
        "Suche nach: C:\\Programme\\Korvella\\krv25.mde", " - nicht vorhanden",
        "Suche nach: C:\\Programme\\Korvella\\krv25.mda", " - nicht vorhanden", "Keine Datenbank gefunden"}},
      {"office 9.0 access key, both keys named",
       [](RunMdbWorld& w) {
         w.InstallOffice("9.0", "C:\\Office2000\\Office");
         w.runner->SetAccVersion(1);
       },
       "\"C:\\Office2000\\Office\\msaccess.exe\"",
       "",
       "",
       {"Schlüssel: SOFTWARE\\Microsoft\\Office\\9.0\\Access\\InstallRoot", "Schlüsselinhalt: C:\\Office2000\\Office",
        "Schlüssel: SOFTWARE\\Microsoft\\Office\\9.0\\Common\\InstallRoot",
        "Verwendeter Pfad: C:\\Office2000\\Office\\msaccess.exe"}},
      {"office 10.0 common key only, .mde chosen",
       [](RunMdbWorld& w) {
         w.InstallOffice("10.0", "C:\\OfficeXP\\Office10", true);
         w.runner->SetAccVersion(2);
         w.fs.AddFile("C:\\Programme\\Korvella\\krv25.mde");
       },
       "\"C:\\OfficeXP\\Office10\\msaccess.exe\"",
       "\"C:\\Programme\\Korvella\\krv25.mde\"",
       "",
       {"Schlüssel: SOFTWARE\\Microsoft\\Office\\10.0\\Access\\InstallRoot", "Schlüsselinhalt: ",
        "Schlüssel: SOFTWARE\\Microsoft\\Office\\10.0\\Common\\InstallRoot", "Schlüsselinhalt: C:\\OfficeXP\\Office10",
        "Suche nach: C:\\Programme\\Korvella\\krv25.mdb", " - nicht vorhanden",
        "Suche nach: C:\\Programme\\Korvella\\krv25.mde", " - OK: C:\\Programme\\Korvella\\krv25.mde"}},
      {"office 11.0 access key wins, .mdb before .mde",
       [](RunMdbWorld& w) {
         w.InstallOffice("11.0", "C:\\O11\\Access");
         w.SetHklm("SOFTWARE\\Microsoft\\Office\\11.0\\Common\\InstallRoot", "Path", "C:\\O11\\Common");
         w.runner->SetAccVersion(3);
         w.fs.AddFile("C:\\Programme\\Korvella\\krv25.mde");
         w.fs.AddFile("C:\\Programme\\Korvella\\krv25.MDB");
       },
       "\"C:\\O11\\Access\\msaccess.exe\"",
       kDbQ,
       "",
       {"Schlüsselinhalt: C:\\O11\\Access", "Schlüssel: SOFTWARE\\Microsoft\\Office\\11.0\\Common\\InstallRoot",
        "Verwendeter Pfad: C:\\O11\\Access\\msaccess.exe", " - OK: " + kDb}},
      {"explicit folder",
       AccessOnD,
       kAccessD,
       "",
       "",
       {"[Access-Pfad]", "Absoluter Pfad wird verwendet: D:\\Access\\msaccess.exe", "Access-EXE: OK"}},
      {"explicit executable",
       [](RunMdbWorld& w) {
         AccessOnD(w);
         w.runner->SetAccPath("D:\\Access\\MSACCESS.EXE");
       },
       kAccessD,
       "",
       "",
       {"Absoluter Pfad wird verwendet: D:\\Access\\msaccess.exe"}},
      {"quoted explicit executable",
       [](RunMdbWorld& w) {
         AccessOnD(w);
         w.runner->SetAccPath(" \"D:\\Access\\msaccess.exe\" ");
       },
       kAccessD,
       "",
       "",
       {"Absoluter Pfad wird verwendet: D:\\Access\\msaccess.exe"}},
      {"folder one level above the program folder",
       [](RunMdbWorld& w) {
         w.fs.AddFile("C:\\Programme\\Office\\msaccess.exe");
         w.runner->SetAccPath("..\\Office");
       },
       "\"C:\\Programme\\Office\\msaccess.exe\"",
       "",
       "",
       {"Relativer Pfad: ..\\Office\\", "Absoluter Pfad: C:\\Programme\\Office\\",
        "Absoluter Pfad wird verwendet: C:\\Programme\\Office\\msaccess.exe"}},
      {"walking up stops at the drive",
       [](RunMdbWorld& w) {
         w.fs.AddFile("C:\\Office\\msaccess.exe");
         w.runner->SetAccPath("..\\..\\..\\..\\Office");
       },
       "\"C:\\Office\\msaccess.exe\"",
       "",
       "",
       {"Absoluter Pfad: C:\\Office\\"}},
      {"folder inside the program folder",
       [](RunMdbWorld& w) {
         w.fs.AddFile("C:\\Programme\\Korvella\\Access\\msaccess.exe");
         w.runner->SetAccPath("Access");
       },
       "\"C:\\Programme\\Korvella\\Access\\msaccess.exe\"",
       "",
       "",
       {"Absoluter Pfad: C:\\Programme\\Korvella\\Access\\"}},
      {"unc folder",
       [](RunMdbWorld& w) {
         w.fs.AddFile("\\\\srv\\apps\\Office\\msaccess.exe");
         w.runner->SetAccPath("\\\\srv\\apps\\Office");
       },
       "\"\\\\srv\\apps\\Office\\msaccess.exe\"",
       "",
       "",
       {"Absoluter Pfad wird verwendet: \\\\srv\\apps\\Office\\msaccess.exe"}},
      {"list whose first entry points to a missing file",
       [](RunMdbWorld& w) {
         w.SetHklm("SOFTWARE\\Custom\\Access", "Path", "E:\\Nope");
         w.reg.SetString(Hive::CurrentUser, "Software\\Custom\\InstallRoot", "", "F:\\Office");
         w.fs.AddFile("F:\\Office\\Office10\\msaccess.exe");
         w.runner->SetAccPath("D:\\ignored");
         w.runner->SetAccRegListString(
             "HKLM\\SOFTWARE\\Custom\\Access\\Path%|% HKCU\\Software\\Custom\\InstallRoot\\%|SubDir|%Office10");
       },
       "\"F:\\Office\\Office10\\msaccess.exe\"",
       "",
       "",
       {"Schlüsselliste wird aufgelöst",
        "Gespeicherter Wert: HKLM\\SOFTWARE\\Custom\\Access\\Path",
        " - HKey: HKLM",
        " - Schlüssel: SOFTWARE\\Custom\\Access",
        " - Wertname: Path",
        " - Unterordner: -",
        " - Dateiname: -",
        "Schlüsselinhalt: E:\\Nope",
        "Access-EXE: E:\\Nope\\msaccess.exe",
        "Access-EXE: Nicht vorhanden an dieser Position",
        "Gespeicherter Wert: HKCU\\Software\\Custom\\InstallRoot\\%|SubDir|%Office10",
        " - HKey: HKCU",
        " - Schlüssel: Software\\Custom\\InstallRoot",
        " - Wertname: -",
        " - Unterordner: Office10",
        " - Dateiname: -",
        "Schlüsselinhalt: F:\\Office",
        "Schlüssel um Unterpfad ergänzt: F:\\Office\\Office10\\",
        "Access-EXE: F:\\Office\\Office10\\msaccess.exe",
        "Access-EXE: OK"}},
      {"list value naming the executable keeps it, sub folder ignored",
       [](RunMdbWorld& w) {
         w.SetHklm("SOFTWARE\\Custom", "Exe", "G:\\Acc\\MSACCESS.EXE");
         w.fs.AddFile("G:\\Acc\\msaccess.exe");
         w.runner->SetAccRegListString("HKLM\\Software\\Custom\\Exe%|SubDir|%x%|Filename%|other.exe");
       },
       "\"G:\\Acc\\MSACCESS.EXE\"",
       "",
       "",
       {" - Unterordner: x", " - Dateiname: other.exe", "Access-EXE: G:\\Acc\\MSACCESS.EXE", "Access-EXE: OK"}},
      {"empty entry between separators is skipped",
       [](RunMdbWorld& w) {
         w.SetHklm("SOFTWARE\\Custom", "Path", "G:\\Acc");
         w.fs.AddFile("G:\\Acc\\msaccess.exe");
         w.runner->SetAccRegListString("%|%HKLM\\SOFTWARE\\Custom\\Path");
       },
       "\"G:\\Acc\\msaccess.exe\"",
       "",
       "",
       {"Gespeicherter Wert: ", "Gespeicherter Wert: HKLM\\SOFTWARE\\Custom\\Path"}},
  };
}

TEST(cuRunMDB_CommandLineTest, AccessExecutable) { RunCases(AccessCases()); }

TEST(cuRunMDB_CommandLineTest, WholeDebugLog) {
  RunMdbWorld w;
  w.InstallOffice("8.0", "C:\\Office97\\Office");
  w.fs.AddFile(kDb);
  ASSERT_TRUE(w.runner->GetCommandLine());
  EXPECT_EQ(w.runner->DebugLog(),
            "[Access-Pfad]\r\nOffice-Schlüssel wird verwendet\r\n"
            "Schlüssel: SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot\r\n"
            "Schlüsselinhalt: C:\\Office97\\Office\r\nVerwendeter Pfad: C:\\Office97\\Office\\msaccess.exe\r\n"
            "Access-EXE: OK\r\n\r\n[Datenbank-Pfad]\r\nKein Pfad angegeben, im aktuellen Verzeichnis suchen\r\n"
            "Kein Dateiname angegeben, im aktuellen Verzeichnis suchen\r\n"
            "Suche nach: C:\\Programme\\Korvella\\krv25.mdb\r\n - OK: C:\\Programme\\Korvella\\krv25.mdb\r\n\r\n"
            "[SysDB-Pfad]\r\nKeine SysDB\r\n\r\n[Profil]\r\nKein Profil eingestellt");
}

TEST(cuRunMDB_CommandLineTest, OfficeLogStopsAfterTheKeyThatGaveAFolder) {
  RunMdbWorld w;
  w.InstallOffice("11.0", "C:\\O11");
  w.SetHklm("SOFTWARE\\Microsoft\\Office\\11.0\\Common\\InstallRoot", "Path", "C:\\Common");
  w.runner->SetAccVersion(3);
  ASSERT_TRUE(w.runner->GetCommandLine());
  const std::vector<std::string> lines = w.LogLines();
  const std::vector<std::string> want = {"[Access-Pfad]",
                                         "Office-Schlüssel wird verwendet",
                                         "Schlüssel: SOFTWARE\\Microsoft\\Office\\11.0\\Access\\InstallRoot",
                                         "Schlüsselinhalt: C:\\O11",
                                         "Schlüssel: SOFTWARE\\Microsoft\\Office\\11.0\\Common\\InstallRoot",
                                         "Verwendeter Pfad: C:\\O11\\msaccess.exe",
                                         "Access-EXE: OK"};
  ASSERT_GE(lines.size(), want.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(want.size())), want);
}

}  // namespace
}  // namespace krv
