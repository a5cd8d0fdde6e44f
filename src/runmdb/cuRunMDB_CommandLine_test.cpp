// Whole Access command lines for typical set-ups, with the masked copy, the
// bare arguments and the key lines of the debug log.
#include <gtest/gtest.h>

#include "testing/RunMdbFixture.h"

namespace krv {
namespace {

// Access on D: and the database in the program folder, then `set`.
std::function<void(RunMdbWorld&)> WithDb(std::function<void(cuRunMDB&)> set) {
  return [set](RunMdbWorld& w) {
    AccessAndDb(w);
    set(*w.runner);
  };
}

std::vector<RunMdbCase> ArgumentCases() {
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
       WithDb([](cuRunMDB& r) { r.SetProfile("Korvella 10.25"); }),
       kAccessD,
       kDbQ + " /Profile \"Korvella 10.25\"",
       "",
       {"[Profil]", "Profil: Korvella 10.25"}},
      {"no profile, whatever VerifyProfile says",
       WithDb([](cuRunMDB& r) { r.SetVerifyProfile(true); }),
       kAccessD,
       kDbQ,
       "",
       {"[Profil]", "Kein Profil eingestellt"}},
      {"profile with slash and semicolon",
       WithDb([](cuRunMDB& r) { r.SetProfile("Team/A;B"); }),
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
       WithDb([](cuRunMDB& r) {
         for (int i = 6; i >= 0; --i) r.SetAccOption(i, true);
       }),
       kAccessD,
       kDbQ + " /Compact /Excl /nostartup /Repair /ro /Runtime /Decompile",
       "",
       {}},
      {"macro", WithDb([](cuRunMDB& r) { r.SetMacro(" AutoStart "); }), kAccessD, kDbQ + " /x \"AutoStart\"", "", {}},
      {"macro already quoted",
       WithDb([](cuRunMDB& r) { r.SetMacro("\"Start Makro\""); }),
       kAccessD,
       kDbQ + " /x \"Start Makro\"",
       "",
       {}},
      {"user without password",
       WithDb([](cuRunMDB& r) { r.SetSystemDBUser("VZ"); }),
       kAccessD,
       kDbQ + " /user \"VZ\"",
       kDbQ + " /user \"XXXX\"",
       {}},
      {"password without user is not passed",
       WithDb([](cuRunMDB& r) { r.SetSystemDBPwd("ZBNHte"); }),
       kAccessD,
       kDbQ,
       "",
       {}},
      {"user with blank and semicolon, password with slash",
       WithDb([](cuRunMDB& r) {
         r.SetSystemDBUser("Max Muster;1");
         r.SetSystemDBPwd("a/b");
       }),
       kAccessD,
       kDbQ + " /user \"Max Muster;;1\" /pwd \"a//b\"",
       kDbQ + " /user \"XXXX\" /pwd \"YYYY\"",
       {}},
      {"cmd comes last",
       WithDb([](cuRunMDB& r) {
         r.SetSystemDBUser("VZ");
         r.SetSystemDBPwd("ZBNHte");
         r.SetMacro("M");
         r.SetCmd("krv25.exe");
       }),
       kAccessD,
       kDbQ + " /x \"M\" /user \"VZ\" /pwd \"ZBNHte\" /cmd \"krv25.exe\"",
       kDbQ + " /x \"M\" /user \"XXXX\" /pwd \"YYYY\" /cmd \"krv25.exe\"",
       {}},
      {"cmd without user", WithDb([](cuRunMDB& r) { r.SetCmd("a b"); }), kAccessD, kDbQ + " /cmd \"a b\"", "", {}},
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

TEST(cuRunMDB_CommandLineTest, Arguments) { RunCases(ArgumentCases()); }

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

TEST(cuRunMDB_CommandLineTest, SetDefaultsResetsVersionOptionsAndSeparatorsOnly) {
  RunMdbWorld w;
  cuRunMDB& r = *w.runner;
  r.SetAccVersion(3);
  r.SetAccOption(2, true);
  r.SetRegListSeparator(";");
  r.SetAccPath("D:\\A");
  r.SetDefaults();
  EXPECT_EQ(r.AccVersion(), 0);
  EXPECT_FALSE(r.AccOption(2));
  EXPECT_EQ(r.RegListSeparator(), "%|%");
  EXPECT_EQ(r.AccPath(), "D:\\A");
}

}  // namespace
}  // namespace krv
