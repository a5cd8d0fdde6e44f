#include <gtest/gtest.h>

#include <tuple>

#include "base/KrvError.h"
#include "runmdb/RunMdbErrors.h"
#include "testing/RunMdbFixture.h"

namespace krv {
namespace {

constexpr int32_t kHKCR = static_cast<int32_t>(0x80000000u);
using Rows = std::vector<std::pair<std::string, std::string>>;

// The result of `f`, or the error number and source.
template <typename F>
std::string Try(F f) try {
  return f();
} catch (const KrvError& e) {
  return "error " + std::to_string(e.number - RunMdbErrorNumber(0)) + " " + e.source;
}

std::string Parse(cuRunMDB& r, const std::string& entry) {
  int32_t hkey = 0;
  std::string key, value, sub, file;
  r.RegListParse(entry, &hkey, &key, &value, &sub, &file);
  return std::to_string(hkey - kHKCR) + "|" + key + "|" + value + "|" + sub + "|" + file;
}

TEST(RegListTest, ParseBuildSeparatorsArrayAndAdd) {
  RunMdbWorld w;
  cuRunMDB& r = *w.runner;
  const std::pair<std::string, std::string> cases[] = {
      {"HKEY_LOCAL_MACHINE\\S\\OfficeBin%|Filename%|msaccess.exe", "2|S|OfficeBin||msaccess.exe"},
      {"HKLM\\SOFTWARE\\A\\InstallRoot\\%|SubDir|%Office10", "2|SOFTWARE\\A\\InstallRoot||Office10|"},  // default value
      {"hkcu\\Software\\K\\Path", "1|Software\\K|Path||"},
      {"HKLM\\K\\V%|Filename%|a%|SubDir|%b", "2|K|V||a%|SubDir|%b"},  // all after the file-name separator
  };
  for (const auto& [entry, want] : cases) EXPECT_EQ(Parse(r, entry), want) << entry;

  // key, value name, file name, sub folder, hive number, hive name, the entry or the error
  const std::tuple<std::string, std::string, std::string, std::string, int32_t, std::string, std::string> builds[] = {
      {"S\\", "OfficeBin", "msaccess.exe", "", -1, "hkey_local_machine", "HKLM\\S\\OfficeBin%|Filename%|msaccess.exe"},
      {"S\\X", "", "f.mdb", "Daten", kHKCR + 1, "ignored", "HKCU\\S\\X\\%|SubDir|%Daten%|Filename%|f.mdb"},
      {"K", "V", "", "", kHKCR, "", "HKCR\\K\\V"},
      {"K", "V", "", "", -1, "", "error 1 krv25: RegListBuild"},
      {"K", "V", "", "", 0x12345, "HKLM", "error 1 krv25: RegListBuild"},
      {"K", "V", "", "", -1, "HKEY_DYN_DATA", "error 16 krv25: RegListBuild"},
  };
  for (const auto& b : builds) {
    const auto build = [&] {
      return r.RegListBuild(std::get<0>(b), std::get<1>(b), std::get<2>(b), std::get<3>(b), std::get<4>(b),
                            std::get<5>(b));
    };
    EXPECT_EQ(Try(build), std::get<6>(b));
  }

  Rows rows = {{"keep", "me"}};
  EXPECT_EQ(r.RegListArray(1, &rows) + rows.size(), 1u);  // an empty list leaves the rows untouched
  r.RegListAdd(2, "HKLM\\K\\");
  r.RegListAdd(2, "");
  r.RegListAdd(2, " HKCU\\K\\V%|SubDir|%a\\b ");
  r.RegListAdd(3, "HKLM\\X\\Y");
  EXPECT_EQ(r.SystemDBRegListString() + r.AccRegListString() + r.DBRegListString(),
            "HKLM\\K\\%|% HKCU\\K\\V%|SubDir|%a\\b ");
  EXPECT_EQ(r.RegListArray(2, &rows), 2);  // the raw entry: the sub folder stays inside the last component
  EXPECT_EQ(rows, (Rows{{"HKLM\\K", ""}, {"HKCU\\K\\V%|SubDir|%a", "b"}}));
  r.SetSystemDBRegListString("A%|%%|%B%|%");
  EXPECT_EQ(r.RegListArray(2, &rows), 3);
  EXPECT_EQ(rows, (Rows{{"A", "A"}, {"", ""}, {"B", "B"}}));
  EXPECT_THROW(r.RegListArray(3, &rows), KrvError);
  r.SetRegListSubDirSeparator("<s>");
  r.SetRegListFilenameSeparator("<f>");
  r.SetRegListSeparator(";");
  EXPECT_EQ(Parse(r, "HKLM\\K\\V<S>d<F>x.mdb"), "2|K|V|d|x.mdb");
  EXPECT_EQ(r.RegListBuild("K", "V", "x.mdb", "d", kHKCR + 2, ""), "HKLM\\K\\V<s>d<f>x.mdb");
  r.RegListAdd(1, "HKLM\\A\\B");
  r.RegListAdd(1, "HKLM\\C\\D");
  EXPECT_EQ(r.DBRegListString(), "HKLM\\A\\B;HKLM\\C\\D");
  r.SetDefaults();
  EXPECT_EQ(Parse(r, "HKLM\\K\\V%|SubDir|%d%|Filename%|x") + r.RegListSeparator(), "2|K|V|d|x%|%");
}

}  // namespace
}  // namespace krv
