#include "runmdb/cuRunMDB_Helpers.h"

#include <gtest/gtest.h>

#include "runmdb/cuKrv82Detect.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

using H = cuRunMDB_Helpers;

TEST(cuRunMDB_HelpersTest, String2Array) {
  for (const auto& [source, sep, want] : std::vector<std::tuple<std::string, std::string, std::vector<std::string>>>{
           {"a%|%%|%b%|%  ", "%|%", {"a", "", "b"}},
           {" a %|SUBDIR|% b ", "%|SubDir|%", {"a", "b"}},
           {"\\..\\x\\", "\\", {"..", "x"}},
           {"a,b", "", {"a,b"}},
           {"", ",", {"keep"}}}) {
    std::vector<std::string> items = {"keep"};
    EXPECT_EQ(H::String2Array(source, &items, sep), source.empty() ? 0 : int32_t(want.size())) << source;
    EXPECT_EQ(items, want) << source;
  }
}

TEST(cuRunMDB_HelpersTest, FilesAndRegistryReads) {
  FakeRegistry reg;
  FakeFileSystem fs;
  fs.AddFolder("C:\\D");
  reg.SetString(Hive::LocalMachine, "K", "Nul", std::string("ab\0cd", 5));
  reg.SetDword(Hive::LocalMachine, "K", "Dword", 7);
  const H h(reg, fs);
  const int32_t hklm = static_cast<int32_t>(0x80000002u);
  EXPECT_FALSE(h.FileExists("C:\\D"));
  EXPECT_EQ(h.RegGetSettingString(hklm, "K", "Nul", "d") + h.RegGetSettingString(hklm, "K", "Dword", "d") +
                h.RegGetSettingString(-1, "K", "Nul", "d"),
            "abdd");
  EXPECT_TRUE(h.RegValueExists(hklm, "K", "DWORD") && !h.RegValueExists(-1, "K", "Nul"));
}

// Korvella 8.2 counts as installed when the Access profile names its key;
// its files count only when they exist.
TEST(cuKrv82DetectTest, ProfileDecidesFilesMustExist) {
  const std::string product = "SOFTWARE\\Vantorel\\Korvella\\8.2";
  const struct {
    std::string profile;
    bool files, expand_addins;
    std::string want;  // installed, back end | front end
  } cases[] = {
      {"software\\VANTOREL\\korvella\\8.2", true, false, "1D:\\K82\\daten.mdb|C:\\K82\\krv.mde"},
      {"SOFTWARE\\Vantorel\\Korvella\\8.1", true, false, "0|"},
      {product, false, false, "1|"},
      {product, true, true, "1D:\\K82\\daten.mdb|"},  // an expandable string is not read
  };
  for (const auto& c : cases) {
    FakeRegistry reg;
    FakeFileSystem fs;
    reg.SetString(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Office\\8.0\\Access\\Profiles", "Korvella 8.2", c.profile);
    reg.SetString(Hive::CurrentUser, product + "\\Options", "BackendPath", "D:\\K82\\daten.mdb");
    reg.WriteValue(Hive::LocalMachine, product + "\\Wizards", "AddInPath",
                   c.expand_addins ? RegValue::ExpandSz("C:\\K82") : RegValue::Sz("C:\\K82"), nullptr);
    if (c.files) fs.AddFile("D:\\K82\\daten.mdb"), fs.AddFile("C:\\K82\\krv.mde");
    const cuKrv82Detect detect(reg, fs);
    EXPECT_EQ(std::to_string(detect.IsInstalled()) + detect.BackendPath() + "|" + detect.FrontendPath(), c.want);
  }
}

}  // namespace
}  // namespace krv
