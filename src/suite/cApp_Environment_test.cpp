#include "suite/cApp_Environment.h"

#include <gtest/gtest.h>

#include "suite/krvInfo.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

class EnvironmentTest : public testing::Test {
 protected:
  void SetUp() override { sys.exe_path = "C:\\Programme\\Korvella\\krv25.exe"; }
  // Access with the front end open.
  void KorvellaRuns() {
    sys.processes.push_back("msaccess.exe");
    fs.AddFile("C:\\Programme\\Korvella\\krv25.ldb");
  }
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  krvInfo info{reg, fs, sys};
  krvLibrary lib{reg, fs, sys};
};

TEST_F(EnvironmentTest, LastRunningProgramDecides) {
  struct Case {
    const char* name;
    std::vector<std::string> processes;
    bool korvella;
    int32_t mode;
    bool skip_browser;
    int32_t message;  // 0: no refusal
  } cases[] = {
      {"nothing runs", {}, false, 0, false, 0},
      {"compressor then browser, settings", {"krvcmp25.exe", "krvbrw25.exe"}, false, 4, false, 127},
      {"browser listed first, same order", {"krvbrw25.exe", "krvcmp25.exe"}, false, 4, false, 127},
      {"korvella beside the browser", {}, true, 1, false, 0},
      {"korvella and compressor, browser", {"krvcmp25.exe"}, true, 1, false, 130},
      {"korvella, loader", {}, true, 0, false, 103},
      {"korvella, version info", {}, true, 2, false, 162},
      {"korvella, compressor", {}, true, 3, false, 198},
      {"korvella, settings", {}, true, 4, false, 126},
      {"browser does not replace the compressor's refusal", {"krvcmp25.exe", "krvbrw25.exe"}, false, 0, false, 104},
      {"upgrade then replication", {"krvup25.exe", "krvrep25.exe"}, false, 2, false, 177},
      {"installation, compressor", {"krvset25.exe"}, false, 3, false, 199},
      {"installation, loader", {"krvset25.exe"}, false, 0, false, 160},
      {"upgrade, browser", {"krvup25.exe"}, false, 1, false, 156},
      {"browser, browser", {"krvbrw25.exe"}, false, 1, false, 131},
      {"browser, compressor", {"krvbrw25.exe"}, false, 3, false, 200},
      {"compressor, compressor", {"krvcmp25.exe"}, false, 3, false, 202},
      {"replication, settings", {"krvrep25.exe"}, false, 4, false, 175},
      {"replication, loader", {"krvrep25.exe"}, false, 0, false, 178},
      {"any other mode is the loader's column", {"krvcmp25.exe"}, false, 7, false, 104},
      {"no check for -1", {"krvcmp25.exe"}, true, -1, false, 0},
      {"no check for 5", {"krvcmp25.exe"}, true, 5, false, 0},
  };
  for (const Case& c : cases) {
    sys.processes = c.processes;
    fs = FakeFileSystem();
    if (c.korvella) KorvellaRuns();
    const std::string expected = c.message ? err.MsgLoad(c.message) : std::string();
    EXPECT_EQ(CheckEnvironment(info, err, c.mode, c.skip_browser), expected) << c.name;
  }
  EXPECT_TRUE(dialogs.shown.empty());  // the caller shows the text
}

TEST_F(EnvironmentTest, SkipBrowserIgnoresTheBrowserInEveryMode) {
  sys.processes = {"krvbrw25.exe"};
  for (int32_t mode : {0, 1, 2, 3, 4, 6}) EXPECT_EQ(CheckEnvironment(info, err, mode, true), "") << mode;
  for (int32_t mode : {1, 2, 3, 4}) EXPECT_NE(CheckEnvironment(info, err, mode, false), "") << mode;
  sys.processes = {"krvcmp25.exe", "krvbrw25.exe"};
  EXPECT_EQ(CheckEnvironment(info, err, 4, true), err.MsgLoad(128));
}

TEST_F(EnvironmentTest, AdministratorToolsRefuseEverythingElse) {
  sys.captions = {"KORVELLA II.5 Administrator Tools"};
  sys.processes = {"krvcmp25.exe", "krvbrw25.exe"};
  for (int32_t mode : {0, 1, 2, 3, 4}) EXPECT_EQ(CheckEnvironment(info, err, mode, false), err.MsgLoad(226)) << mode;
  EXPECT_EQ(CheckEnvironment(info, err, -1, false), "");
}

TEST_F(EnvironmentTest, CurrentUserIsAdmin) {
  sys.admin = true;
  EXPECT_TRUE(CheckCurrentUserIsAdmin(info, err, true));
  EXPECT_TRUE(CheckCurrentUserIsAdmin(info, err, false));
  EXPECT_TRUE(dialogs.shown.empty());

  sys.admin = false;
  EXPECT_FALSE(CheckCurrentUserIsAdmin(info, err, false));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, err.MsgLoad(204));
  EXPECT_EQ(dialogs.shown[0].style, 48);

  try {
    CheckCurrentUserIsAdmin(info, err, true);
    FAIL() << "no error raised";
  } catch (const KrvError& e) {
    EXPECT_EQ(e.number, -2147221503);
    EXPECT_EQ(e.description, err.MsgLoad(204));
    EXPECT_EQ(e.source, "cApp: CheckCurrentUserIsAdmin");
  }
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(EnvironmentTest, KrvAdminIsAskedUntilConfirmed) {
  bool confirmed = false;
  sys.admin = false;
  EXPECT_FALSE(CheckKRVAdmin(lib, &confirmed));
  EXPECT_FALSE(confirmed);
  sys.admin = true;
  EXPECT_TRUE(CheckKRVAdmin(lib, &confirmed));
  EXPECT_TRUE(confirmed);
  sys.admin = false;  // not asked again
  EXPECT_TRUE(CheckKRVAdmin(lib, &confirmed));
}

}  // namespace
}  // namespace krv
