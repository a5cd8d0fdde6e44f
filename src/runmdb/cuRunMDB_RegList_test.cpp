#include <gtest/gtest.h>

#include "base/KrvError.h"
#include "runmdb/RunMdbErrors.h"
#include "testing/RunMdbFixture.h"

namespace krv {
namespace {

constexpr int32_t kHKCR = static_cast<int32_t>(0x80000000u);
constexpr int32_t kHKCU = static_cast<int32_t>(0x80000001u);
constexpr int32_t kHKLM = static_cast<int32_t>(0x80000002u);
constexpr int32_t kHKU = static_cast<int32_t>(0x80000003u);

struct Parsed {
  int32_t hkey = 0;
  std::string key, value_name, sub_dir, filename;
  bool operator==(const Parsed&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Parsed& p) {
  return os << p.hkey << "|" << p.key << "|" << p.value_name << "|" << p.sub_dir << "|" << p.filename;
}

class RegListTest : public RunMdbTest {
 protected:
  Parsed Parse(const std::string& entry) {
    Parsed p;
    runner->RegListParse(entry, &p.hkey, &p.key, &p.value_name, &p.sub_dir, &p.filename);
    return p;
  }
  KrvError ParseError(const std::string& entry) {
    try {
      Parse(entry);
    } catch (const KrvError& e) {
      return e;
    }
    ADD_FAILURE() << "no error for " << entry;
    return {};
  }
};

const char* kEntry1 = "HKLM\\SOFTWARE\\Microsoft\\Office\\11.0\\Access\\InstallRoot\\Path";
const char* kEntry2 =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot\\OfficeBin"
    "%|Filename%|msaccess.exe";

TEST_F(RegListTest, WorkedExampleParses) {
  runner->SetAccRegListString(std::string(kEntry1) + "%|%" + kEntry2);
  std::vector<std::pair<std::string, std::string>> rows;
  ASSERT_EQ(runner->RegListArray(0, &rows), 2);
  EXPECT_EQ(Parse(rows[0].first + "\\" + rows[0].second),
            (Parsed{kHKLM, "SOFTWARE\\Microsoft\\Office\\11.0\\Access\\InstallRoot", "Path", "", ""}));
  EXPECT_EQ(Parse(kEntry2),
            (Parsed{kHKLM, "SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot", "OfficeBin", "", "msaccess.exe"}));
}

TEST_F(RegListTest, WorkedExampleBuilds) {
  EXPECT_EQ(runner->RegListBuild("SOFTWARE\\Microsoft\\Office\\11.0\\Access\\InstallRoot", "Path", "", "", kHKLM, ""),
            kEntry1);
  // A long hive name is written back in short form; the file name comes last.
  EXPECT_EQ(runner->RegListBuild("SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot\\", "OfficeBin", "msaccess.exe",
                                 "", -1, "hkey_local_machine"),
            "HKLM\\SOFTWARE\\Microsoft\\Office\\8.0\\Common\\InstallRoot\\OfficeBin%|Filename%|msaccess.exe");
  EXPECT_EQ(runner->RegListBuild("Software\\X", "", "f.mdb", "Daten", kHKCU, "ignored"),
            "HKCU\\Software\\X\\%|SubDir|%Daten%|Filename%|f.mdb");
  EXPECT_EQ(runner->RegListBuild("", "V", "", "", kHKU, ""), "HKU\\V");
}

TEST_F(RegListTest, ParseCases) {
  struct Case {
    std::string entry;
    Parsed want;
  } cases[] = {
      // A trailing backslash addresses the key's default value.
      {"HKLM\\SOFTWARE\\A\\InstallRoot\\%|SubDir|%Office10", {kHKLM, "SOFTWARE\\A\\InstallRoot", "", "Office10", ""}},
      {"hkey_current_user\\Software\\K\\Path", {kHKCU, "Software\\K", "Path", "", ""}},
      {"hkcu\\Software\\K\\Path", {kHKCU, "Software\\K", "Path", "", ""}},
      {"HKCR\\K\\V", {kHKCR, "K", "V", "", ""}},
      {"HKEY_USERS\\S-1\\K\\V", {kHKU, "S-1\\K", "V", "", ""}},
      // Separators are found whatever their letter case.
      {"HKLM\\K\\V%|subdir|%Sub%|FILENAME%|a.mdb", {kHKLM, "K", "V", "Sub", "a.mdb"}},
      // Everything after the file-name separator is file name.
      {"HKLM\\K\\V%|Filename%|a%|SubDir|%b", {kHKLM, "K", "V", "", "a%|SubDir|%b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.entry), c.want) << c.entry;
}

TEST_F(RegListTest, ParseErrorsNameTheEntry) {
  struct Case {
    std::string entry;
    int32_t code;
    std::string description;
  } cases[] = {
      {"HKLM\\Path", 4,
       "Der Schlüssellisten-Eintrag 'HKLM\\Path' ist fehlerhaft bzw. kann nicht interpretiert werden."},
      {"", 4, "Der Schlüssellisten-Eintrag '' ist fehlerhaft bzw. kann nicht interpretiert werden."},
      {"\\V", 4, "Der Schlüssellisten-Eintrag '\\V' ist fehlerhaft bzw. kann nicht interpretiert werden."},
      {"HKEY_CURRENT_CONFIG\\System\\V", 8,
       "Der Schlüssellisten-Eintrag 'HKEY_CURRENT_CONFIG\\System\\V' enthält keinen Verweis auf den HKey."},
      {"HKXX\\K\\V%|SubDir|%s", 8,
       "Der Schlüssellisten-Eintrag 'HKXX\\K\\V%|SubDir|%s' enthält keinen Verweis auf den HKey."},
  };
  for (const Case& c : cases) {
    const KrvError e = ParseError(c.entry);
    EXPECT_EQ(e.number, RunMdbErrorNumber(c.code)) << c.entry;
    EXPECT_EQ(e.description, c.description);
    EXPECT_EQ(e.source, "krv25: RegListParse");
  }
}

TEST_F(RegListTest, CustomSeparators) {
  runner->SetRegListSubDirSeparator("<s>");
  runner->SetRegListFilenameSeparator("<f>");
  runner->SetRegListSeparator(";");
  EXPECT_EQ(Parse("HKLM\\K\\V<S>d<F>x.mdb"), (Parsed{kHKLM, "K", "V", "d", "x.mdb"}));
  EXPECT_EQ(runner->RegListBuild("K", "V", "x.mdb", "d", kHKLM, ""), "HKLM\\K\\V<s>d<f>x.mdb");
  runner->RegListAdd(1, "HKLM\\A\\B");
  runner->RegListAdd(1, "HKLM\\C\\D");
  EXPECT_EQ(runner->DBRegListString(), "HKLM\\A\\B;HKLM\\C\\D");
  runner->SetDefaults();
  EXPECT_EQ(runner->RegListSeparator(), "%|%");
  EXPECT_EQ(runner->RegListSubDirSeparator(), "%|SubDir|%");
  EXPECT_EQ(runner->RegListFilenameSeparator(), "%|Filename%|");
}

TEST_F(RegListTest, BuildErrors) {
  struct Case {
    int32_t hkey;
    std::string name;
    int32_t code;
    std::string description;
  } cases[] = {
      {-1, "", 1, "Der HKey wurde nicht angegeben."},
      {0x12345, "HKLM", 1, "Der HKey wurde nicht angegeben."},
      {-1, "HKEY_DYN_DATA", 16, "'HKEY_DYN_DATA' ist kein zulässiger Wert."},
  };
  for (const Case& c : cases) {
    try {
      runner->RegListBuild("K", "V", "", "", c.hkey, c.name);
      ADD_FAILURE() << "no error for " << c.name;
    } catch (const KrvError& e) {
      EXPECT_EQ(e.number, RunMdbErrorNumber(c.code));
      EXPECT_EQ(e.description, c.description);
      EXPECT_EQ(e.source, "krv25: RegListBuild");
    }
  }
}

TEST_F(RegListTest, ArrayAndAdd) {
  std::vector<std::pair<std::string, std::string>> rows = {{"keep", "me"}};
  EXPECT_EQ(runner->RegListArray(1, &rows), 0);
  EXPECT_EQ(rows.size(), 1u);  // untouched

  runner->RegListAdd(2, "HKLM\\K\\");
  runner->RegListAdd(2, "");
  runner->RegListAdd(2, " HKCU\\K\\V%|SubDir|%a\\b ");
  runner->RegListAdd(3, "HKLM\\X\\Y");
  EXPECT_EQ(runner->SystemDBRegListString(), "HKLM\\K\\%|% HKCU\\K\\V%|SubDir|%a\\b ");
  EXPECT_EQ(runner->AccRegListString(), "");
  EXPECT_EQ(runner->DBRegListString(), "");
  ASSERT_EQ(runner->RegListArray(2, &rows), 2);
  EXPECT_EQ(rows[0], (std::pair<std::string, std::string>{"HKLM\\K", ""}));
  // The raw entry: the sub folder stays inside the last component.
  EXPECT_EQ(rows[1], (std::pair<std::string, std::string>{"HKCU\\K\\V%|SubDir|%a", "b"}));

  runner->SetSystemDBRegListString("A%|%%|%B%|%");
  EXPECT_EQ(runner->RegListArray(2, &rows), 3);
  EXPECT_EQ(rows[1].first, "");

  try {
    runner->RegListArray(3, &rows);
    ADD_FAILURE();
  } catch (const KrvError& e) {
    EXPECT_EQ(e.number, static_cast<int32_t>(0x80040410u));
    EXPECT_EQ(e.description, "'3' ist kein zulässiger Wert.");
  }
}

TEST_F(RegListTest, HiveNames) {
  EXPECT_EQ(cuRunMDB::HKeyEnum2String(kHKCR), "HKCR");
  EXPECT_EQ(cuRunMDB::HKeyEnum2String(kHKU), "HKU");
  EXPECT_EQ(cuRunMDB::HKeyEnum2String(-1), "");
  EXPECT_EQ(cuRunMDB::HKeyEnum2String(static_cast<int32_t>(0x80000005u)), "");
  EXPECT_EQ(cuRunMDB::HKeyString2Enum("HKEY_CLASSES_ROOT"), kHKCR);
  EXPECT_EQ(cuRunMDB::HKeyString2Enum("Hkey_Users"), kHKU);
  EXPECT_EQ(cuRunMDB::HKeyString2Enum("hklm"), kHKLM);
  EXPECT_EQ(cuRunMDB::HKeyString2Enum("HKEY_CURRENT_CONFIG"), -1);
  EXPECT_EQ(cuRunMDB::HKeyString2Enum(""), -1);
}

TEST(RunMdbErrorsTest, NumbersAndDescriptions) {
  EXPECT_EQ(RunMdbErrorNumber(4), static_cast<int32_t>(0x80040404u));
  EXPECT_EQ(RunMdbErrorNumber(17), static_cast<int32_t>(0x80040411u));
  // The argument is inserted as given, even when it holds placeholders.
  EXPECT_EQ(RunMdbErrorDescription(3, "a##b@@c", ""), "Die Datei 'a##b@@c' wurde nicht gefunden.");
  EXPECT_EQ(RunMdbErrorDescription(0, "x", ""), "");
  EXPECT_EQ(RunMdbErrorDescription(19, "x", ""), "");
  for (int32_t code = 1; code <= 18; ++code) EXPECT_FALSE(RunMdbErrorDescription(code, "", "").empty()) << code;
}

}  // namespace
}  // namespace krv
