// Errors of GetCommandLine: what test mode softens, what it still raises, and
// values refused because they would break out of their argument.
#include <gtest/gtest.h>

#include <functional>

#include "base/KrvError.h"
#include "runmdb/RunMdbErrors.h"
#include "testing/RunMdbFixture.h"

namespace krv {
namespace {

// Runs GetCommandLine and returns the error it raised (number 0 if none).
KrvError Build(RunMdbWorld& w) {
  try {
    w.runner->GetCommandLine();
  } catch (const KrvError& e) {
    return e;
  }
  return {};
}

struct Softened {
  const char* name;
  std::function<void(RunMdbWorld&)> setup;
  int32_t code;
  std::string description;
  std::string line_in_test_mode;
};

TEST(cuRunMDB_ErrorsTest, TestModeSoftensMissingFilesAndData) {
  const Softened cases[] = {
      {"executable missing",
       [](RunMdbWorld& w) {
         w.fs.AddFile("C:\\Programme\\Korvella\\krv25.mdb");
         w.runner->SetAccPath("D:\\Access");
       },
       3, "Die Datei 'D:\\Access\\msaccess.exe' wurde nicht gefunden.", kAccessD + " " + kDbQ},
      {"database missing",
       [](RunMdbWorld& w) {
         AccessOnD(w);
         w.runner->SetDBPath("C:\\Daten");
         w.runner->SetDBFilename("krv.mdb");
       },
       5, "Die Datenbank 'C:\\Daten\\krv.mdb' ist nicht vorhanden.", kAccessD + " \"C:\\Daten\\krv.mdb\""},
      {"no database, but /Compact needs one",
       [](RunMdbWorld& w) {
         AccessOnD(w);
         w.runner->SetAccOption(0, true);
       },
       6,
       "Es sind keine Pfadinformationen für die zu startende Datenbank verfügbar.\r\nWenn Sie keinen Pfad angeben, "
       "muss sich eine Datenbank namens 'krv25.mdb/mde/mda' im Programmpfad befinden.",
       kAccessD + " /Compact"},
      {"profile not registered",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetVerifyProfile(true);
         w.runner->SetProfile("Korvella 10.25");
       },
       7, "Kann den Eintrag des Profiles 'Korvella 10.25' nicht in der Registry finden.",
       kAccessD + " " + kDbQ + " /Profile \"Korvella 10.25\""},
      {"profile check with an AccVersion outside the table",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.SetHklm("SOFTWARE\\Microsoft\\Office\\8.0\\Access\\Profiles", "P", "");
         w.runner->SetAccVersion(-2);
         w.runner->SetVerifyProfile(true);
         w.runner->SetProfile("P");
       },
       7, "Kann den Eintrag des Profiles 'P' nicht in der Registry finden.", kAccessD + " " + kDbQ + " /Profile \"P\""},
      {"workgroup file missing",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetSystemDBFilename("krvwrk25.mdw");
       },
       9, "System-Datenbank 'C:\\Programme\\Korvella\\krvwrk25.mdw' nicht gefunden.",
       kAccessD + " " + kDbQ + " /wrkgrp \"C:\\Programme\\Korvella\\krvwrk25.mdw\""},
      {"database list finds nothing",
       [](RunMdbWorld& w) {
         AccessOnD(w);
         w.runner->SetDBRegListString("HKLM\\SOFTWARE\\K\\Missing%|%HKCU\\Software\\K\\Db");
       },
       13,
       "Die benutzerdefinierten Registryeinträge für den Datenbank-Pfad sind nicht vorhanden, enthalten keinen Wert "
       "oder an den angegebenen Positionen wurde keine Datenbank gefunden.",
       kAccessD},
      {"database list entry with sub folder but no file name leaves its value",
       [](RunMdbWorld& w) {
         AccessOnD(w);
         w.SetHklm("SOFTWARE\\K", "Folder", "C:\\Daten");
         w.fs.AddFolder("C:\\Daten\\Korvella");
         w.runner->SetDBRegListString("HKLM\\SOFTWARE\\K\\Folder%|SubDir|%Korvella");
       },
       5, "Die Datenbank 'C:\\Daten' ist nicht vorhanden.", kAccessD + " \"C:\\Daten\""},
      {"workgroup list finds nothing",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.SetHklm("SOFTWARE\\K", "Wrk", "C:\\Daten\\");  // a folder and no file name
         w.runner->SetSystemDBRegListString("HKLM\\SOFTWARE\\K\\Wrk");
       },
       15,
       "Die benutzerdefinierten Registryeinträge für den Pfad der Systemdatenbank sind nicht vorhanden, enthalten "
       "keinen Wert oder an den angegebenen Positionen wurde keine Systemdatenbank gefunden.",
       kAccessD + " " + kDbQ},
  };
  for (const Softened& c : cases) {
    SCOPED_TRACE(c.name);
    RunMdbWorld strict;
    c.setup(strict);
    strict.pointer.value = kMousePointerHourglass;
    const KrvError e = Build(strict);
    EXPECT_EQ(e.number, RunMdbErrorNumber(c.code));
    EXPECT_EQ(e.description, c.description);
    EXPECT_TRUE(e.source.starts_with("krv25: ")) << e.source;
    EXPECT_TRUE(e.source.ends_with(": GetCommandLine")) << e.source;
    EXPECT_EQ(strict.runner->CommandLine(), "");
    EXPECT_EQ(strict.pointer.value, kMousePointerDefault);

    RunMdbWorld test;
    c.setup(test);
    test.runner->SetTestMode(true);
    ASSERT_TRUE(test.runner->GetCommandLine());
    EXPECT_TRUE(test.runner->TestModeError());
    EXPECT_EQ(test.runner->CommandLine(), c.line_in_test_mode);
    const size_t blank = c.line_in_test_mode.find(' ');  // the executables here hold no blank
    EXPECT_EQ(test.runner->CommandLineArgs(), blank == std::string::npos ? "" : c.line_in_test_mode.substr(blank + 1));
  }
}

struct Raised {
  const char* name;
  std::function<void(RunMdbWorld&)> setup;
  int32_t code;
  std::string description;
  std::string source;
};

TEST(cuRunMDB_ErrorsTest, TestModeStillRaises) {
  const Raised cases[] = {
      {"office keys hold no folder", [](RunMdbWorld& w) { w.runner->SetAccVersion(2); }, 2,
       "Der Access-Pfad kann nicht aus der Registry ermittelt werden.", "krv25: GetAccessPath: GetCommandLine"},
      {"AccVersion outside the table",
       [](RunMdbWorld& w) {
         w.InstallOffice("8.0", "C:\\Office");
         w.runner->SetAccVersion(-2);
       },
       2, "Der Access-Pfad kann nicht aus der Registry ermittelt werden.", "krv25: GetAccessPath: GetCommandLine"},
      {"access list entry without key", [](RunMdbWorld& w) { w.runner->SetAccRegListString("HKLM\\Path"); }, 4,
       "Der Schlüssellisten-Eintrag 'HKLM\\Path' ist fehlerhaft bzw. kann nicht interpretiert werden.",
       "krv25: RegListParse: GetCommandLine"},
      {"database list entry with unknown hive",
       [](RunMdbWorld& w) {
         AccessOnD(w);
         w.runner->SetDBRegListString("HKEY_CURRENT_CONFIG\\K\\V");
       },
       8, "Der Schlüssellisten-Eintrag 'HKEY_CURRENT_CONFIG\\K\\V' enthält keinen Verweis auf den HKey.",
       "krv25: RegListParse: GetCommandLine"},
      {"workgroup list entry with unknown hive after a good one",
       [](RunMdbWorld& w) {
         AccessAndDb(w);
         w.runner->SetSystemDBRegListString("HKLM\\SOFTWARE\\K\\V%|%HKXY\\K\\V");
       },
       8, "Der Schlüssellisten-Eintrag 'HKXY\\K\\V' enthält keinen Verweis auf den HKey.",
       "krv25: RegListParse: GetCommandLine"},
      {"access list finds nothing",
       [](RunMdbWorld& w) {
         w.SetHklm("SOFTWARE\\K", "Path", "C:\\Nope");
         w.runner->SetAccRegListString("HKLM\\SOFTWARE\\K\\Path%|%HKLM\\SOFTWARE\\K\\Missing");
       },
       11,
       "Die benutzerdefinierten Registryeinträge für den Access-Pfad sind nicht vorhanden, enthalten keinen Wert "
       "oder an den angegebenen Positionen wurde keine ausführbare Access-Datei gefunden.",
       "krv25: GetAccessPath: GetCommandLine"},
  };
  for (const Raised& c : cases) {
    for (const bool test_mode : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (test_mode ? " (test mode)" : ""));
      RunMdbWorld w;
      c.setup(w);
      w.runner->SetTestMode(test_mode);
      const KrvError e = Build(w);
      EXPECT_EQ(e.number, RunMdbErrorNumber(c.code));
      EXPECT_EQ(e.description, c.description);
      EXPECT_EQ(e.source, c.source);
      EXPECT_EQ(w.runner->CommandLine(), "");
      EXPECT_EQ(w.runner->CommandLineHiddenUserPW(), "");
      EXPECT_TRUE(w.runner->DebugLog().starts_with("[Access-Pfad]\r\n"));
    }
  }
}

TEST(cuRunMDB_ErrorsTest, PropertyRangeErrors) {
  RunMdbWorld w;
  w.runner->SetTestMode(true);
  w.runner->SetAccVersion(1);
  try {
    w.runner->SetAccVersion(4);
    ADD_FAILURE() << "AccVersion 4 accepted";
  } catch (const KrvError& e) {
    EXPECT_EQ(e.number, RunMdbErrorNumber(17));
    EXPECT_EQ(e.description, "'4' ist kein zulässiger Wert für die Eigenschaft 'AccVersion'.");
    EXPECT_EQ(e.source, "krv25: AccVersion (Let)");
  }
  EXPECT_EQ(w.runner->AccVersion(), 1);
  for (const int index : {-1, 7}) {
    try {
      w.runner->SetAccOption(index, true);
      ADD_FAILURE() << "AccOption " << index << " accepted";
    } catch (const KrvError& e) {
      EXPECT_EQ(e.number, RunMdbErrorNumber(16));
      EXPECT_EQ(e.description, "'" + std::to_string(index) + "' ist kein zulässiger Wert.");
      EXPECT_EQ(e.source, "krv25: AccOption (Let)");
    }
  }
  EXPECT_THROW(w.runner->AccOption(7), KrvError);
}

struct Unsafe {
  const char* name;
  std::function<void(RunMdbWorld&)> setup;
  std::string label;
  std::string secret;  // must not appear in the description
};

TEST(cuRunMDB_ErrorsTest, ValuesThatWouldBreakOutOfTheirArgumentAreRefused) {
  auto user_and_password = [](const char* pwd) {
    return [pwd](RunMdbWorld& w) {
      w.runner->SetSystemDBUser("VZ");
      w.runner->SetSystemDBPwd(pwd);
    };
  };
  const Unsafe cases[] = {
      {"quote in user", [](RunMdbWorld& w) { w.runner->SetSystemDBUser("a\"b"); }, "Benutzername", "a\"b"},
      {"lone quote as user", [](RunMdbWorld& w) { w.runner->SetSystemDBUser("\""); }, "Benutzername", ""},
      {"quote in password", user_and_password("geheim\" /x Evil"), "Kennwort", "geheim"},
      {"password ending with a backslash", user_and_password("geheim\\"), "Kennwort", "geheim"},
      {"line break in password", user_and_password("geheim\r\n/Excl"), "Kennwort", "geheim"},
      {"quote in profile", [](RunMdbWorld& w) { w.runner->SetProfile("Pro\"fil"); }, "Profil", ""},
      {"quote in macro", [](RunMdbWorld& w) { w.runner->SetMacro("M\" /Repair \"x"); }, "Makro", ""},
      {"quote in cmd", [](RunMdbWorld& w) { w.runner->SetCmd("x\" /pwd \"y"); }, "Cmd", ""},
      {"cmd ending with a backslash", [](RunMdbWorld& w) { w.runner->SetCmd("C:\\Daten\\"); }, "Cmd", ""},
      {"quote in database name",
       [](RunMdbWorld& w) {
         w.fs.AddFile("C:\\Programme\\Korvella\\a\" b.mdb");
         w.runner->SetDBFilename("a\" b.mdb");
       },
       "Datenbank", ""},
      {"quote in workgroup file name",
       [](RunMdbWorld& w) {
         w.fs.AddFile("C:\\Programme\\Korvella\\x\" /wrkgrp \"y.mdw");
         w.runner->SetSystemDBFilename("x\" /wrkgrp \"y.mdw");
       },
       "Systemdatenbank", ""},
  };
  for (const Unsafe& c : cases) {
    for (const bool test_mode : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (test_mode ? " (test mode)" : ""));
      RunMdbWorld w;
      AccessAndDb(w);
      c.setup(w);
      w.runner->SetTestMode(test_mode);
      const KrvError e = Build(w);
      EXPECT_EQ(e.number, static_cast<int32_t>(0x80040412u));
      EXPECT_EQ(e.description, "Der Wert für '" + c.label +
                                   "' kann nicht an Access übergeben werden: Er enthält ein Anführungszeichen oder "
                                   "ein Steuerzeichen oder endet mit einem umgekehrten Schrägstrich.");
      EXPECT_EQ(e.source, "krv25: GetCommandLine");
      if (!c.secret.empty()) {
        EXPECT_EQ(w.runner->DebugLog().find(c.secret), std::string::npos);
        EXPECT_EQ(e.description.find(c.secret), std::string::npos);
      }
      EXPECT_EQ(w.runner->CommandLine(), "");
      EXPECT_EQ(w.runner->CommandLineHiddenUserPW(), "");
    }
  }
}

TEST(cuRunMDB_ErrorsTest, TestModeErrorIsClearedByTheNextCall) {
  RunMdbWorld w;
  w.runner->SetTestMode(true);
  w.runner->SetAccPath("D:\\Access");
  ASSERT_TRUE(w.runner->GetCommandLine());
  EXPECT_TRUE(w.runner->TestModeError());
  w.fs.AddFile("D:\\Access\\msaccess.exe");
  ASSERT_TRUE(w.runner->GetCommandLine());
  EXPECT_FALSE(w.runner->TestModeError());
}

TEST(cuRunMDB_ErrorsTest, QuotedAccessPathFromTheRegistryIsRefused) {
  RunMdbWorld w;
  w.SetHklm("SOFTWARE\\K", "Path", "C:\\Off\"ice");
  w.fs.AddFile("C:\\Off\"ice\\msaccess.exe");
  w.runner->SetAccRegListString("HKLM\\SOFTWARE\\K\\Path");
  const KrvError e = Build(w);
  EXPECT_EQ(e.number, RunMdbErrorNumber(kRunMdbUnsafeArgument));
  EXPECT_NE(e.description.find("'Access-Pfad'"), std::string::npos);
}

TEST(cuRunMDB_ErrorsTest, ValuesQuotedAsAWholeArePassedAsTheyAre) {
  RunMdbWorld w;
  AccessAndDb(w);
  w.runner->SetSystemDBUser("\"VZ\"");
  w.runner->SetCmd(" \"krv25.exe\" ");
  ASSERT_TRUE(w.runner->GetCommandLine());
  EXPECT_EQ(w.runner->CommandLine(), kAccessD + " " + kDbQ + " /user \"VZ\" /cmd \"krv25.exe\"");
}

}  // namespace
}  // namespace krv
