// Whole Access command lines for typical set-ups, with the masked copy, the
// bare arguments and the key lines of the debug log.
#include <gtest/gtest.h>

#include <functional>

#include "runmdb/RunMdbFixture.h"

namespace krv {
namespace {

struct Case {
  const char* name;
  std::function<void(RunMdbWorld&)> setup;
  std::string exe;          // quoted executable
  std::string args;         // CommandLineArgs; CommandLine is exe, blank, args
  std::string hidden_args;  // the masked arguments; empty: the same as args
  std::vector<std::string> log;
};

const std::string kDb = "C:\\Programme\\Korvella\\krv25.mdb";
const std::string kDbQ = "\"" + kDb + "\"";
const std::string kAccessD = "\"D:\\Access\\msaccess.exe\"";

void AccessOnD(RunMdbWorld& w) {
  w.fs.AddFile("D:\\Access\\msaccess.exe");
  w.runner->SetAccPath("D:\\Access");
}

void AccessAndDb(RunMdbWorld& w) {
  AccessOnD(w);
  w.fs.AddFile(kDb);
}

std::vector<Case> AccessCases() {
  return {
      {"office 8.0 key, database named like the program",
       [](RunMdbWorld& w) {
         w.InstallOffice("8.0", "C:\\Office97\\Office");
         w.fs.AddFile(kDb);
       },
       "\"C:\\Office97\\Office\\msaccess.exe\"",
       kDbQ,
       "",
       {"[Access-Pfad]", "Office-Schlüssel wird verwendet",
        "Schlüssel: SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot", "Schlüsselinhalt: C:\\Office97\\Office",
        "Verwendeter Pfad: C:\\Office97\\Office\\msaccess.exe", "Access-EXE: OK", "", "[Datenbank-Pfad]",
        "Kein Pfad angegeben, im aktuellen Verzeichnis suchen",
        "Kein Dateiname angegeben, im aktuellen Verzeichnis suchen", "Suche nach: " + kDb, " - OK: " + kDb, "",
        "[SysDB-Pfad]", "Keine SysDB", "", "[Profil]", "Kein Profil eingestellt"}},
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

std::vector<Case> ArgumentCases() {
  const std::string wrkgrp = "/wrkgrp \"C:\\Programme\\Korvella\\krvwrk25.mdw\"";
  return {
      {"database and workgroup file from folders",
       [](RunMdbWorld& w) {
         AccessOnD(w);
         w.fs.AddFile("\\\\srv\\daten\\Korvella\\krv25.mde");
         w.fs.AddFile("C:\\Programme\\System\\krvwrk25.mdw");
         w.runner->SetDBPath("\\\\srv\\daten\\Korvella");
         w.runner->SetDBFilename("krv25.mde");
         w.runner->SetSystemDBPath("..\\System");
         w.runner->SetSystemDBFilename("krvwrk25.mdw");
       },
       kAccessD,
       "\"\\\\srv\\daten\\Korvella\\krv25.mde\" /wrkgrp \"C:\\Programme\\System\\krvwrk25.mdw\"",
       "",
       {"[Datenbank-Pfad]", "Berechneter Pfad: \\\\srv\\daten\\Korvella\\",
        "Datenbank: \\\\srv\\daten\\Korvella\\krv25.mde", "Datenbank: OK", "[SysDB-Pfad]",
        "Relativer Pfad: ..\\System\\", "Absoluter Pfad: C:\\Programme\\System\\",
        "Berechneter Pfad: C:\\Programme\\System\\", "SysDB: C:\\Programme\\System\\krvwrk25.mdw", "SysDB: OK"}},
      {"database and workgroup file by name in the program folder",
       [](RunMdbWorld& w) {
         AccessOnD(w);
         w.fs.AddFile("C:\\Programme\\Korvella\\front.mde");
         w.fs.AddFile("C:\\Programme\\Korvella\\krvwrk25.mdw");
         w.runner->SetDBFilename("front.mde");
         w.runner->SetSystemDBFilename("krvwrk25.mdw");
       },
       kAccessD,
       "\"C:\\Programme\\Korvella\\front.mde\" " + wrkgrp,
       "",
       {"Kein Pfad angegeben, im aktuellen Verzeichnis suchen", "Datenbank: C:\\Programme\\Korvella\\front.mde",
        "Datenbank: OK", "SysDB: C:\\Programme\\Korvella\\krvwrk25.mdw", "SysDB: OK"}},
      {"database folder without file name gives no database",
       [](RunMdbWorld& w) {
         AccessOnD(w);
         w.runner->SetDBPath("C:\\Daten");
       },
       kAccessD,
       "",
       "",
       {"Kein Dateiname angegeben, Pfad kann nicht ermittelt werden", "[SysDB-Pfad]"}},
      {"profile with a blank",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetProfile("Korvella 10.25");
       },
       kAccessD,
       kDbQ + " /Profile \"Korvella 10.25\"",
       "",
       {"[Profil]", "Profil: Korvella 10.25"}},
      {"profile with slash and semicolon",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetProfile("Team/A;B");
       },
       kAccessD,
       kDbQ + " /Profile \"Team//A;;B\"",
       "",
       {"Profil: Team/A;B"}},
      {"verified profile, letter case ignored",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.SetHklm("SOFTWARE\\Microsoft\\Office\\10.0\\Access\\Profiles", "KORVELLA 10.25", "x");
         w.runner->SetAccVersion(2);
         w.runner->SetVerifyProfile(true);
         w.runner->SetProfile("Korvella 10.25");
       },
       kAccessD,
       kDbQ + " /Profile \"Korvella 10.25\"",
       "",
       {"Profil: Korvella 10.25", "Schlüssel: SOFTWARE\\Microsoft\\Office\\10.0\\Access\\Profiles", "Profil: OK"}},
      {"all options in index order",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         for (int i = 6; i >= 0; --i) w.runner->SetAccOption(i, true);
       },
       kAccessD,
       kDbQ + " /Compact /Excl /nostartup /Repair /ro /Runtime /Decompile",
       "",
       {}},
      {"excl and compact",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetAccOption(1, true);
         w.runner->SetAccOption(0, true);
       },
       kAccessD,
       kDbQ + " /Compact /Excl",
       "",
       {}},
      {"macro",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetMacro(" AutoStart ");
       },
       kAccessD,
       kDbQ + " /x \"AutoStart\"",
       "",
       {}},
      {"macro already quoted",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetMacro("\"Start Makro\"");
       },
       kAccessD,
       kDbQ + " /x \"Start Makro\"",
       "",
       {}},
      {"user and password",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetSystemDBUser("VZ");
         w.runner->SetSystemDBPwd("ZBNHte");
       },
       kAccessD,
       kDbQ + " /user \"VZ\" /pwd \"ZBNHte\"",
       kDbQ + " /user \"XXXX\" /pwd \"YYYY\"",
       {}},
      {"user without password",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetSystemDBUser("VZ");
       },
       kAccessD,
       kDbQ + " /user \"VZ\"",
       kDbQ + " /user \"XXXX\"",
       {}},
      {"password without user is not passed",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetSystemDBPwd("ZBNHte");
       },
       kAccessD,
       kDbQ,
       "",
       {}},
      {"user with blank and semicolon, password with slash",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetSystemDBUser("Max Muster;1");
         w.runner->SetSystemDBPwd("a/b");
       },
       kAccessD,
       kDbQ + " /user \"Max Muster;;1\" /pwd \"a//b\"",
       kDbQ + " /user \"XXXX\" /pwd \"YYYY\"",
       {}},
      {"cmd comes last",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetSystemDBUser("VZ");
         w.runner->SetSystemDBPwd("ZBNHte");
         w.runner->SetMacro("M");
         w.runner->SetCmd("krv25.exe");
       },
       kAccessD,
       kDbQ + " /x \"M\" /user \"VZ\" /pwd \"ZBNHte\" /cmd \"krv25.exe\"",
       kDbQ + " /x \"M\" /user \"XXXX\" /pwd \"YYYY\" /cmd \"krv25.exe\"",
       {}},
      {"cmd without user",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetCmd("a b");
       },
       kAccessD,
       kDbQ + " /cmd \"a b\"",
       "",
       {}},
      {"what the loader sets",
       [](RunMdbWorld& w) {
         w.fs.AddFile("D:\\Access\\msaccess.exe");
         w.fs.AddFile("C:\\Programme\\Korvella\\krv25.mde");
         w.fs.AddFile("C:\\Programme\\Korvella\\krvwrk25.mdw");
         w.runner->SetAccOption(5, true);
         w.runner->SetAccPath("D:\\Access\\msaccess.exe");
         w.runner->SetAccVersion(2);
         w.runner->SetDBPath("C:\\Programme\\Korvella\\");
         w.runner->SetDBFilename("krv25.mde");
         w.runner->SetSystemDBUser("VZ");
         w.runner->SetSystemDBPwd("ZBNHte");
         w.runner->SetSystemDBPath("C:\\Programme\\Korvella\\");
         w.runner->SetSystemDBFilename("krvwrk25.mdw");
         w.runner->SetCmd("krv25.exe");
       },
       kAccessD,
       "\"C:\\Programme\\Korvella\\krv25.mde\" " + wrkgrp + " /Runtime /user \"VZ\" /pwd \"ZBNHte\" /cmd \"krv25.exe\"",
       "\"C:\\Programme\\Korvella\\krv25.mde\" " + wrkgrp + " /Runtime /user \"XXXX\" /pwd \"YYYY\" /cmd \"krv25.exe\"",
       {"Berechneter Pfad: C:\\Programme\\Korvella\\", "Datenbank: OK", "SysDB: OK"}},
  };
}

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunMdbWorld w;
    c.setup(w);
    ASSERT_TRUE(w.runner->GetCommandLine());
    const std::string sep = c.args.empty() ? "" : " ";
    const std::string& hidden = c.hidden_args.empty() ? c.args : c.hidden_args;
    EXPECT_EQ(w.runner->CommandLine(), c.exe + sep + c.args);
    EXPECT_EQ(w.runner->CommandLineArgs(), c.args);
    EXPECT_EQ(w.runner->CommandLineHiddenUserPW(), c.exe + sep + hidden);
    EXPECT_TRUE(w.LogHasInOrder(c.log));
    EXPECT_FALSE(w.runner->TestModeError());
  }
}

TEST(cuRunMDB_CommandLineTest, AccessExecutable) { RunCases(AccessCases()); }

TEST(cuRunMDB_CommandLineTest, Arguments) { RunCases(ArgumentCases()); }

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

TEST(cuRunMDB_CommandLineTest, TwoCallsGiveTheSameResults) {
  RunMdbWorld w;
  AccessAndDb(w);
  w.runner->SetSystemDBUser("VZ");
  w.runner->SetSystemDBPwd("ZBNHte");
  w.runner->SetCmd("krv25.exe");
  ASSERT_TRUE(w.runner->GetCommandLine());
  const std::string line = w.runner->CommandLine(), hidden = w.runner->CommandLineHiddenUserPW();
  const std::string args = w.runner->CommandLineArgs(), log = w.runner->DebugLog();
  ASSERT_TRUE(w.runner->GetCommandLine());
  EXPECT_EQ(w.runner->CommandLine(), line);
  EXPECT_EQ(w.runner->CommandLineHiddenUserPW(), hidden);
  EXPECT_EQ(w.runner->CommandLineArgs(), args);
  EXPECT_EQ(w.runner->DebugLog(), log);
}

TEST(cuRunMDB_CommandLineTest, MaskedLineAndLogNeverShowUserOrPassword) {
  for (const auto& [user, pwd] : std::vector<std::pair<std::string, std::string>>{
           {"Geheimnutzer", "Kennwort§42"}, {"XXXX", "YYYY/;"}, {"ü ß", "  Passwort mit Blank  "}}) {
    RunMdbWorld w;
    AccessAndDb(w);
    w.runner->SetSystemDBUser(user);
    w.runner->SetSystemDBPwd(pwd);
    w.runner->SetCmd("krv25.exe");
    ASSERT_TRUE(w.runner->GetCommandLine());
    const std::string& hidden = w.runner->CommandLineHiddenUserPW();
    EXPECT_EQ(hidden, kAccessD + " " + kDbQ + " /user \"XXXX\" /pwd \"YYYY\" /cmd \"krv25.exe\"");
    if (user != "XXXX") {
      EXPECT_EQ(hidden.find(user), std::string::npos);
      EXPECT_EQ(hidden.find(pwd), std::string::npos);
    }
    EXPECT_EQ(w.runner->DebugLog().find(user), std::string::npos);
    EXPECT_EQ(w.runner->DebugLog().find(pwd), std::string::npos);
  }
}

TEST(cuRunMDB_CommandLineTest, PropertiesAndDefaults) {
  RunMdbWorld w;
  cuRunMDB& r = *w.runner;
  EXPECT_EQ(r.AccVersion(), 0);
  for (int i = 0; i < cuRunMDB::kOptionCount; ++i) EXPECT_FALSE(r.AccOption(i));
  r.SetAccVersion(-5);  // every value up to 3 is stored
  EXPECT_EQ(r.AccVersion(), -5);
  r.SetAccVersion(3);
  r.SetAccOption(2, true);
  r.SetRegListSeparator(";");
  r.SetAccPath("D:\\A");
  r.SetSystemDBUser("VZ");
  r.SetDBRegListString("HKLM\\K\\V");
  r.SetDefaults();
  EXPECT_EQ(r.AccVersion(), 0);
  EXPECT_FALSE(r.AccOption(2));
  EXPECT_EQ(r.RegListSeparator(), "%|%");
  EXPECT_EQ(r.AccPath(), "D:\\A");
  EXPECT_EQ(r.SystemDBUser(), "VZ");
  EXPECT_EQ(r.DBRegListString(), "HKLM\\K\\V");

  EXPECT_EQ(cuRunMDB::RegProfileKey(0), "SOFTWARE\\Microsoft\\Office\\8.0\\Access\\Profiles");
  EXPECT_EQ(cuRunMDB::RegProfileKey(3), "SOFTWARE\\Microsoft\\Office\\11.0\\Access\\Profiles");
  EXPECT_EQ(cuRunMDB::RegProfileKey(4), "");
  EXPECT_EQ(cuRunMDB::RegProfileKey(-1), "");
}

}  // namespace
}  // namespace krv
