#include "runmdb/cuKrv82Detect.h"

#include <gtest/gtest.h>

#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

TEST(cuKrv82DetectTest, ProfileDecidesFilesMustExist) {
  const std::string product = "SOFTWARE\\Vantorel\\Korvella\\8.2";
  const struct {
    std::string profile_value;  // "" : no value
    bool backend_file, frontend_file, expand_addins, installed;
    std::string backend, frontend;
  } cases[] = {
      {"", true, true, false, false, "", ""},
      {"software\\VANTOREL\\korvella\\8.2", true, true, false, true, "D:\\K82\\daten.mdb", "C:\\K82\\krv.mde"},
      {"SOFTWARE\\Vantorel\\Korvella\\8.1", true, true, false, false, "", ""},
      {product, false, true, false, true, "", "C:\\K82\\krv.mde"},
      {product, true, false, false, true, "D:\\K82\\daten.mdb", ""},
      {product, true, true, true, true, "D:\\K82\\daten.mdb", ""},  // an expandable string is not read
  };
  for (const auto& c : cases) {
    FakeRegistry reg;
    FakeFileSystem fs;
    if (!c.profile_value.empty()) {
      reg.SetString(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Office\\8.0\\Access\\Profiles", "Korvella 8.2",
                    c.profile_value);
    }
    reg.SetString(Hive::CurrentUser, product + "\\Options", "BackendPath", "D:\\K82\\daten.mdb");
    reg.WriteValue(Hive::LocalMachine, product + "\\Wizards", "AddInPath",
                   c.expand_addins ? RegValue::ExpandSz("C:\\K82") : RegValue::Sz("C:\\K82"), nullptr);
    if (c.backend_file) fs.AddFile("D:\\K82\\daten.mdb");
    if (c.frontend_file) fs.AddFile("C:\\K82\\krv.mde");
    const cuKrv82Detect detect(reg, fs);
    EXPECT_EQ(detect.IsInstalled(), c.installed) << c.profile_value;
    EXPECT_EQ(detect.BackendPath(), c.backend) << c.profile_value;
    EXPECT_EQ(detect.FrontendPath(), c.frontend) << c.profile_value;
  }
}

}  // namespace
}  // namespace krv
