// Registry list strings: parsing entries, building them and editing the lists.
#include <gtest/gtest.h>

#include <tuple>

#include "base/KrvError.h"
#include "runmdb/RunMdbErrors.h"
#include "testing/RunMdbFixture.h"

namespace krv {
namespace {

constexpr int32_t kHKCR = static_cast<int32_t>(0x80000000u);
constexpr int32_t kHKLM = static_cast<int32_t>(0x80000002u);

// hive|key|value|sub folder|file name, or the error number and source.
std::string Parse(cuRunMDB& r, const std::string& entry) try {
  int32_t hkey = 0;
  std::string key, value, sub, file;
  r.RegListParse(entry, &hkey, &key, &value, &sub, &file);
  return std::to_string(hkey - kHKCR) + "|" + key + "|" + value + "|" + sub + "|" + file;
} catch (const KrvError& e) {
  return "error " + std::to_string(e.number - RunMdbErrorNumber(0)) + " " + e.source;
}

TEST(RegListTest, Parse) {
  RunMdbWorld w;
  const std::pair<std::string, std::string> cases[] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Common\\OfficeBin%|Filename%|msaccess.exe",
       "2|SOFTWARE\\Common|OfficeBin||msaccess.exe"},
      {"HKLM\\SOFTWARE\\A\\InstallRoot\\%|SubDir|%Office10", "2|SOFTWARE\\A\\InstallRoot||Office10|"},  // default value
      {"hkcu\\Software\\K\\Path", "1|Software\\K|Path||"},
      {"HKLM\\K\\V%|Filename%|a%|SubDir|%b", "2|K|V||a%|SubDir|%b"},  // all after the file-name separator
      {"\\V", "error 4 krv25: RegListParse"},
      {"HKXX\\K\\V%|SubDir|%s", "error 8 krv25: RegListParse"},
  };
  for (const auto& [entry, want] : cases) EXPECT_EQ(Parse(*w.runner, entry), want) << entry;
}

TEST(RegListTest, Build) {
  RunMdbWorld w;
  // key, value name, file name, sub folder, hive number, hive name, the entry or the error
  const std::tuple<std::string, std::string, std::string, std::string, int32_t, std::string, std::string> cases[] = {
      {"SOFTWARE\\Common\\", "OfficeBin", "msaccess.exe", "", -1, "hkey_local_machine",
       "HKLM\\SOFTWARE\\Common\\OfficeBin%|Filename%|msaccess.exe"},
      {"Software\\X", "", "f.mdb", "Daten", kHKCR + 1, "ignored",
       "HKCU\\Software\\X\\%|SubDir|%Daten%|Filename%|f.mdb"},
      {"", "V", "", "", kHKCR + 3, "", "HKU\\V"},
      {"K", "V", "", "", kHKCR, "", "HKCR\\K\\V"},
      {"K", "V", "", "", -1, "", "error 1"},
      {"K", "V", "", "", 0x12345, "HKLM", "error 1"},
      {"K", "V", "", "", -1, "HKEY_DYN_DATA", "error 16"},
  };
  for (const auto& [key, value, file, sub, hkey, hkey_name, want] : cases) {
    try {
      EXPECT_EQ(w.runner->RegListBuild(key, value, file, sub, hkey, hkey_name), want);
    } catch (const KrvError& e) {
      EXPECT_EQ("error " + std::to_string(e.number - RunMdbErrorNumber(0)) + " " + e.source,
                want + " krv25: RegListBuild");
    }
  }
}

// "key=value;" for each row
std::string Rows(const std::vector<std::pair<std::string, std::string>>& rows) {
  std::string out;
  for (const auto& [key, value] : rows) out += key + "=" + value + ";";
  return out;
}

TEST(RegListTest, SeparatorsArrayAndAdd) {
  RunMdbWorld w;
  cuRunMDB& r = *w.runner;
  std::vector<std::pair<std::string, std::string>> rows = {{"keep", "me"}};
  EXPECT_EQ(r.RegListArray(1, &rows) + rows.size(), 1u);  // an empty list leaves the rows untouched
  r.RegListAdd(2, "HKLM\\K\\");
  r.RegListAdd(2, "");
  r.RegListAdd(2, " HKCU\\K\\V%|SubDir|%a\\b ");
  r.RegListAdd(3, "HKLM\\X\\Y");
  EXPECT_EQ(r.SystemDBRegListString() + r.AccRegListString() + r.DBRegListString(),
            "HKLM\\K\\%|% HKCU\\K\\V%|SubDir|%a\\b ");
  EXPECT_EQ(r.RegListArray(2, &rows), 2);  // the raw entry: the sub folder stays inside the last component
  EXPECT_EQ(Rows(rows), "HKLM\\K=;HKCU\\K\\V%|SubDir|%a=b;");
  r.SetSystemDBRegListString("A%|%%|%B%|%");
  EXPECT_EQ(r.RegListArray(2, &rows), 3);
  EXPECT_EQ(Rows(rows), "A=A;=;B=B;");
  EXPECT_THROW(r.RegListArray(3, &rows), KrvError);

  r.SetRegListSubDirSeparator("<s>");
  r.SetRegListFilenameSeparator("<f>");
  r.SetRegListSeparator(";");
  EXPECT_EQ(Parse(r, "HKLM\\K\\V<S>d<F>x.mdb"), "2|K|V|d|x.mdb");
  EXPECT_EQ(r.RegListBuild("K", "V", "x.mdb", "d", kHKLM, ""), "HKLM\\K\\V<s>d<f>x.mdb");
  r.RegListAdd(1, "HKLM\\A\\B");
  r.RegListAdd(1, "HKLM\\C\\D");
  EXPECT_EQ(r.DBRegListString(), "HKLM\\A\\B;HKLM\\C\\D");
  r.SetDefaults();
  EXPECT_EQ(Parse(r, "HKLM\\K\\V%|SubDir|%d%|Filename%|x") + r.RegListSeparator(), "2|K|V|d|x%|%");
}

}  // namespace
}  // namespace krv
