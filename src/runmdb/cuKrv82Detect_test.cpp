#include "runmdb/cuKrv82Detect.h"

#include <gtest/gtest.h>

#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

const char* kProfiles = "SOFTWARE\\Microsoft\\Office\\8.0\\Access\\Profiles";

struct DetectCase {
  const char* name;
  std::string profile_value;  // "" : no value
  bool backend_file, frontend_file;
  bool installed;
  std::string backend, frontend;
};

TEST(cuKrv82DetectTest, Table) {
  const DetectCase cases[] = {
      {"nothing registered", "", true, true, false, "", ""},
      {"installed with both files", "SOFTWARE\\Vantorel\\Korvella\\8.2", true, true, true, "D:\\K82\\daten.mdb",
       "C:\\K82\\Wizards\\krv.mde"},
      {"profile value in other letter case", "software\\VANTOREL\\korvella\\8.2", true, true, true,
       "D:\\K82\\daten.mdb", "C:\\K82\\Wizards\\krv.mde"},
      {"profile naming another version", "SOFTWARE\\Vantorel\\Korvella\\8.1", true, true, false, "", ""},
      {"backend deleted", "SOFTWARE\\Vantorel\\Korvella\\8.2", false, true, true, "", "C:\\K82\\Wizards\\krv.mde"},
      {"front end missing", "SOFTWARE\\Vantorel\\Korvella\\8.2", true, false, true, "D:\\K82\\daten.mdb", ""},
  };
  for (const DetectCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeRegistry reg;
    FakeFileSystem fs;
    if (!c.profile_value.empty()) reg.SetString(Hive::LocalMachine, kProfiles, "Korvella 8.2", c.profile_value);
    reg.SetString(Hive::CurrentUser, "SOFTWARE\\Vantorel\\Korvella\\8.2\\Options", "BackendPath", "D:\\K82\\daten.mdb");
    reg.SetString(Hive::LocalMachine, "SOFTWARE\\Vantorel\\Korvella\\8.2\\Wizards", "AddInPath", "C:\\K82\\Wizards");
    if (c.backend_file) fs.AddFile("D:\\K82\\daten.mdb");
    if (c.frontend_file) fs.AddFile("C:\\K82\\Wizards\\krv.mde");
    const cuKrv82Detect detect(reg, fs);
    EXPECT_EQ(detect.IsInstalled(), c.installed);
    EXPECT_EQ(detect.BackendPath(), c.backend);
    EXPECT_EQ(detect.FrontendPath(), c.frontend);
  }
}

TEST(cuKrv82DetectTest, PathsMissingInTheRegistry) {
  FakeRegistry reg;
  FakeFileSystem fs;
  reg.SetString(Hive::LocalMachine, kProfiles, "Korvella 8.2", "SOFTWARE\\Vantorel\\Korvella\\8.2");
  // An expandable string is not read, so the front end is not looked for.
  std::string err;
  reg.WriteValue(Hive::LocalMachine, "SOFTWARE\\Vantorel\\Korvella\\8.2\\Wizards", "AddInPath",
                 RegValue::ExpandSz("C:\\K82"), &err);
  fs.AddFile("C:\\K82\\krv.mde");
  fs.AddFile("krv.mde");
  const cuKrv82Detect detect(reg, fs);
  EXPECT_TRUE(detect.IsInstalled());
  EXPECT_EQ(detect.BackendPath(), "");
  EXPECT_EQ(detect.FrontendPath(), "");
}

}  // namespace
}  // namespace krv
