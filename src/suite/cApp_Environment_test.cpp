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
  void SetUp() override { fs.AddFile("C:\\Programme\\Korvella\\krv25.ldb"); }  // Access runs KORVELLA
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  krvInfo info{reg, fs, sys};
};

TEST_F(EnvironmentTest, LastRunningProgramDecidesFromOneSnapshot) {
  // running programs, window captions, mode, skip the browser, the refusal (0: none)
  const std::tuple<std::vector<std::string>, std::vector<std::string>, int32_t, bool, int32_t> cases[] = {
      {{"krvbrw25.exe", "krvcmp25.exe"}, {}, 4, false, 127},
      {{"krvbrw25.exe", "krvcmp25.exe"}, {}, 4, true, 128},
      {{"krvbrw25.exe", "krvcmp25.exe"}, {}, 0, false, 104},  // the browser leaves the compressor's refusal
      {{"krvcmp25.exe.bak", "xkrvbrw25.exe", "krvup25.exe"}, {}, 3, false, 197},
      {{"krvcmp25.exe"}, {}, 7, false, 104},  // any other mode is the loader's column
      {{}, {"Editor", "KORVELLA II.5 Administrator Tools"}, 1, false, 226},
      {{}, {"KORVELLA II.5 Administrator Tools - Einstellungen"}, 1, false, 0},
      {{"MSACCESS.EXE"}, {}, 2, false, 162},
  };
  for (const auto& [processes, captions, mode, skip_browser, message] : cases) {
    sys.processes = processes, sys.captions = captions;
    EXPECT_EQ(CheckEnvironment(info, err, mode, skip_browser), message ? err.MsgLoad(message) : "") << message;
  }
  fs = FakeFileSystem();  // Access with another database
  EXPECT_EQ(CheckEnvironment(info, err, 2, false), "");
  // One snapshot serves every query until its last holder lets go.
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
  krvLibrary lib{reg, fs, sys};
  bool confirmed = false;
  EXPECT_FALSE(CheckKRVAdmin(lib, &confirmed));
  EXPECT_FALSE(CheckCurrentUserIsAdmin(info, err, false));
  EXPECT_EQ(dialogs.shown.at(0).text + "|" + std::to_string(dialogs.shown[0].style), err.MsgLoad(204) + "|48");
  EXPECT_THROW(CheckCurrentUserIsAdmin(info, err, true), KrvError);
  sys.admin = true;
  EXPECT_TRUE(CheckCurrentUserIsAdmin(info, err, true) && CheckKRVAdmin(lib, &confirmed));
  sys.admin = false;  // not asked again
  EXPECT_TRUE(CheckKRVAdmin(lib, &confirmed));
}

}  // namespace
}  // namespace krv
