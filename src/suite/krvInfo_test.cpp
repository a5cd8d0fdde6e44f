#include "suite/krvInfo.h"

#include <gtest/gtest.h>

#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

class krvInfoTest : public testing::Test {
 protected:
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  krvInfo info{reg, fs, sys};
};

TEST_F(krvInfoTest, SnapshotServesEveryQueryUntilTheLastHolderLetsGo) {
  krvEnvironment& env = info.Environment();
  {
    const ProcessSnapshot outer(env);
    EXPECT_FALSE(env.Browser());
    sys.processes = {"krvbrw25.exe"};
    {
      const ProcessSnapshot inner(env);
      EXPECT_FALSE(env.Browser()) << "the list taken first still serves";
    }
    EXPECT_FALSE(env.Browser()) << "the outer holder keeps it";
  }
  EXPECT_TRUE(env.Browser()) << "without a snapshot the system is asked afresh";
}

TEST_F(krvInfoTest, RunningProgramsByExecutableName) {
  struct Case {
    std::vector<std::string> processes;
    bool compressor, upgrade, setup, browser, replication;
  } cases[] = {
      {{}, false, false, false, false, false},
      {{"explorer.exe", "krvcmp25.exe"}, true, false, false, false, false},
      {{"KRVUP25.EXE"}, false, true, false, false, false},
      {{"krvset25.exe", "krvbrw25.exe"}, false, false, true, true, false},
      {{"krvrep25.exe"}, false, false, false, false, true},
      {{"krvcmp25.exe.bak", "xkrvbrw25.exe"}, false, false, false, false, false},
  };
  for (const Case& c : cases) {
    sys.processes = c.processes;
    krvEnvironment& env = info.Environment();
    EXPECT_EQ(env.Compressor(), c.compressor);
    EXPECT_EQ(env.UpgradeProgram(), c.upgrade);
    EXPECT_EQ(env.Installation(), c.setup);
    EXPECT_EQ(env.Browser(), c.browser);
    EXPECT_EQ(env.Replication(), c.replication);
  }
}

TEST_F(krvInfoTest, MainProgramIsAccessWithTheFrontEndOpen) {
  sys.exe_path = "C:\\Programme\\Korvella\\krv25.exe";
  EXPECT_FALSE(info.Environment().MainProgram());
  sys.processes = {"msaccess.exe"};
  EXPECT_TRUE(info.AccessRunning());
  EXPECT_FALSE(info.Environment().MainProgram());  // some other database
  fs.AddFile("C:\\Programme\\Korvella\\krv25.ldb");
  EXPECT_TRUE(info.Environment().MainProgram());
  sys.processes = {};
  EXPECT_FALSE(info.AccessRunning());
  EXPECT_FALSE(info.Environment().MainProgram());  // a stale lock file alone
}

TEST_F(krvInfoTest, AdministratorToolsByCaptionOrProcess) {
  EXPECT_FALSE(info.Environment().AdminToolsWindow());
  sys.captions = {"KORVELLA II.5 Administrator Tools - Einstellungen"};
  EXPECT_FALSE(info.Environment().AdminToolsWindow());
  sys.captions = {"Editor", "KORVELLA II.5 Administrator Tools"};
  EXPECT_TRUE(info.Environment().AdminToolsWindow());
  sys.captions = {};
  sys.processes = {"krvadm25.exe"};
  EXPECT_TRUE(info.Environment().AdminToolsWindow());
}

}  // namespace
}  // namespace krv
