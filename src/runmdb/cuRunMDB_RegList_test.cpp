// Registry list strings: parsing entries, building them and editing the lists.
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

// hive|key|value|sub folder|file name, or the error number.
std::string Parse(cuRunMDB& r, const std::string& entry) {
  int32_t hkey = 0;
  std::string key, value, sub, file;
  try {
    r.RegListParse(entry, &hkey, &key, &value, &sub, &file);
  } catch (const KrvError& e) {
    return "error " + std::to_string(e.number - RunMdbErrorNumber(0));
  }
  return std::to_string(hkey - kHKCR) + "|" + key + "|" + value + "|" + sub + "|" + file;
}

TEST(RegListTest, Parse) {
  RunMdbWorld w;
  const struct {
    std::string entry, want;
  } cases[] = {
      {"HKLM\\SOFTWARE\\Office\\InstallRoot\\Path", "2|SOFTWARE\\Office\\InstallRoot|Path||"},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Common\\OfficeBin%|Filename%|msaccess.exe",
       "2|SOFTWARE\\Common|OfficeBin||msaccess.exe"},
      {"HKLM\\SOFTWARE\\A\\InstallRoot\\%|SubDir|%Office10", "2|SOFTWARE\\A\\InstallRoot||Office10|"},  // default value
      {"hkcu\\Software\\K\\Path", "1|Software\\K|Path||"},
      {"HKLM\\K\\V%|subdir|%Sub%|FILENAME%|a.mdb", "2|K|V|Sub|a.mdb"},
      {"HKLM\\K\\V%|Filename%|a%|SubDir|%b", "2|K|V||a%|SubDir|%b"},  // all after the file-name separator
      {"\\V", "error 4"},
      {"HKXX\\K\\V%|SubDir|%s", "error 8"},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(*w.runner, c.entry), c.want) << c.entry;
}

TEST(RegListTest, Build) {
  RunMdbWorld w;
  const struct {
    std::string key, value, file, sub;
    int32_t hkey;
    std::string hkey_name, want;
  } cases[] = {
      {"SOFTWARE\\Office\\InstallRoot", "Path", "", "", kHKLM, "", "HKLM\\SOFTWARE\\Office\\InstallRoot\\Path"},
      {"SOFTWARE\\Common\\", "OfficeBin", "msaccess.exe", "", -1, "hkey_local_machine",
       "HKLM\\SOFTWARE\\Common\\OfficeBin%|Filename%|msaccess.exe"},
      {"Software\\X", "", "f.mdb", "Daten", kHKCU, "ignored", "HKCU\\Software\\X\\%|SubDir|%Daten%|Filename%|f.mdb"},
      {"", "V", "", "", kHKU, "", "HKU\\V"},
      {"K", "V", "", "", kHKCR, "", "HKCR\\K\\V"},
      {"K", "V", "", "", -1, "", "error 1"},
      {"K", "V", "", "", 0x12345, "HKLM", "error 1"},
      {"K", "V", "", "", -1, "HKEY_DYN_DATA", "error 16"},
  };
  for (const auto& c : cases) {
    std::string got;
    try {
      got = w.runner->RegListBuild(c.key, c.value, c.file, c.sub, c.hkey, c.hkey_name);
    } catch (const KrvError& e) {
      got = "error " + std::to_string(e.number - RunMdbErrorNumber(0));
      EXPECT_EQ(e.source, "krv25: RegListBuild");
    }
    EXPECT_EQ(got, c.want);
  }
}

TEST(RegListTest, CustomSeparatorsUntilSetDefaults) {
  RunMdbWorld w;
  cuRunMDB& r = *w.runner;
  r.SetRegListSubDirSeparator("<s>");
  r.SetRegListFilenameSeparator("<f>");
  r.SetRegListSeparator(";");
  EXPECT_EQ(Parse(r, "HKLM\\K\\V<S>d<F>x.mdb"), "2|K|V|d|x.mdb");
  EXPECT_EQ(r.RegListBuild("K", "V", "x.mdb", "d", kHKLM, ""), "HKLM\\K\\V<s>d<f>x.mdb");
  r.RegListAdd(1, "HKLM\\A\\B");
  r.RegListAdd(1, "HKLM\\C\\D");
  EXPECT_EQ(r.DBRegListString(), "HKLM\\A\\B;HKLM\\C\\D");
  r.SetDefaults();
  EXPECT_EQ(Parse(r, "HKLM\\K\\V%|SubDir|%d%|Filename%|x"), "2|K|V|d|x");
  EXPECT_EQ(r.RegListSeparator(), "%|%");
}

TEST(RegListTest, ArrayAndAdd) {
  RunMdbWorld w;
  cuRunMDB& r = *w.runner;
  std::vector<std::pair<std::string, std::string>> rows = {{"keep", "me"}};
  EXPECT_EQ(r.RegListArray(1, &rows), 0);
  EXPECT_EQ(rows.size(), 1u);  // untouched
  r.RegListAdd(2, "HKLM\\K\\");
  r.RegListAdd(2, "");
  r.RegListAdd(2, " HKCU\\K\\V%|SubDir|%a\\b ");
  r.RegListAdd(3, "HKLM\\X\\Y");
  EXPECT_EQ(r.SystemDBRegListString(), "HKLM\\K\\%|% HKCU\\K\\V%|SubDir|%a\\b ");
  EXPECT_EQ(r.AccRegListString() + r.DBRegListString(), "");
  ASSERT_EQ(r.RegListArray(2, &rows), 2);
  EXPECT_EQ(rows[0], (std::pair<std::string, std::string>{"HKLM\\K", ""}));
  // The raw entry: the sub folder stays inside the last component.
  EXPECT_EQ(rows[1], (std::pair<std::string, std::string>{"HKCU\\K\\V%|SubDir|%a", "b"}));
  r.SetSystemDBRegListString("A%|%%|%B%|%");
  EXPECT_EQ(r.RegListArray(2, &rows), 3);
  EXPECT_EQ(rows[0], (std::pair<std::string, std::string>{"A", "A"}));
  EXPECT_THROW(r.RegListArray(3, &rows), KrvError);
}

}  // namespace
}  // namespace krv
