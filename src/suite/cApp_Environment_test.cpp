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
  void SetUp() override {
    sys.exe_path = "C:\\Programme\\Korvella\\krv25.exe";
    fs.AddFile("C:\\Programme\\Korvella\\krv25.ldb");  // KORVELLA runs when Access runs too
  }
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  krvInfo info{reg, fs, sys};
};

TEST_F(EnvironmentTest, LastRunningProgramDecides) {
  const struct {
    std::vector<std::string> processes;
    int32_t mode;
    bool skip_browser;
    int32_t message;  // 0: no refusal
  } cases[] = {
      {{}, 0, false, 0},
      {{"krvbrw25.exe", "krvcmp25.exe"}, 4, false, 127},
      {{"krvbrw25.exe", "krvcmp25.exe"}, 4, true, 128},
      {{"krvbrw25.exe", "krvcmp25.exe"}, 0, false, 104},  // the browser leaves the compressor's refusal
      {{"msaccess.exe"}, 1, false, 0},
      {{"msaccess.exe", "krvcmp25.exe"}, 1, false, 130},
      {{"MSACCESS.EXE"}, 2, false, 162},
      {{"msaccess.exe"}, 4, false, 126},
      {{"krvset25.exe"}, 0, false, 160},
      {{"krvup25.exe"}, 1, false, 156},
      {{"krvbrw25.exe"}, 3, false, 200},
      {{"krvrep25.exe"}, 4, false, 175},
      {{"krvcmp25.exe"}, 7, false, 104},  // any other mode is the loader's column
      {{"krvcmp25.exe.bak", "xkrvbrw25.exe"}, 3, false, 0},
      {{"krvcmp25.exe"}, -1, false, 0},
      {{"krvcmp25.exe"}, 5, false, 0},
  };
  for (const auto& c : cases) {
    sys.processes = c.processes;
    EXPECT_EQ(CheckEnvironment(info, err, c.mode, c.skip_browser), c.message ? err.MsgLoad(c.message) : "")
        << c.mode << " " << c.message;
  }
  fs = FakeFileSystem();  // Access with another database
  sys.processes = {"msaccess.exe"};
  EXPECT_EQ(CheckEnvironment(info, err, 0, false), "");
  sys.processes = {};
  sys.captions = {"Editor", "KORVELLA II.5 Administrator Tools"};
  EXPECT_EQ(CheckEnvironment(info, err, 3, false), err.MsgLoad(226));
  sys.captions = {"KORVELLA II.5 Administrator Tools - Einstellungen"};
  EXPECT_EQ(CheckEnvironment(info, err, 3, false), "");
  sys.processes = {"krvadm25.exe"};
  EXPECT_EQ(CheckEnvironment(info, err, 3, false), err.MsgLoad(226));
  EXPECT_TRUE(dialogs.shown.empty());  // the caller shows the text
}

TEST_F(EnvironmentTest, SnapshotServesEveryQueryUntilTheLastHolderLetsGo) {
  krvEnvironment& env = info.Environment();
  {
    const ProcessSnapshot outer(env);
    EXPECT_FALSE(env.Browser());
    sys.processes = {"krvbrw25.exe"};
    { const ProcessSnapshot inner(env); }
    EXPECT_FALSE(env.Browser()) << "the outer holder keeps the list taken first";
  }
  EXPECT_TRUE(env.Browser()) << "without a snapshot the system is asked afresh";
}

TEST_F(EnvironmentTest, AdminChecks) {
  sys.admin = true;
  EXPECT_TRUE(CheckCurrentUserIsAdmin(info, err, true));
  sys.admin = false;
  EXPECT_FALSE(CheckCurrentUserIsAdmin(info, err, false));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, err.MsgLoad(204));
  EXPECT_EQ(dialogs.shown[0].style, 48);
  try {
    CheckCurrentUserIsAdmin(info, err, true);
    ADD_FAILURE() << "no error raised";
  } catch (const KrvError& e) {
    EXPECT_EQ(e.number, -2147221503);
    EXPECT_EQ(e.description, err.MsgLoad(204));
    EXPECT_EQ(e.source, "cApp: CheckCurrentUserIsAdmin");
  }
  EXPECT_EQ(dialogs.shown.size(), 1u);

  krvLibrary lib{reg, fs, sys};
  bool confirmed = false;
  EXPECT_FALSE(CheckKRVAdmin(lib, &confirmed));
  sys.admin = true;
  EXPECT_TRUE(CheckKRVAdmin(lib, &confirmed));
  sys.admin = false;  // not asked again
  EXPECT_TRUE(CheckKRVAdmin(lib, &confirmed));
}

}  // namespace
}  // namespace krv
