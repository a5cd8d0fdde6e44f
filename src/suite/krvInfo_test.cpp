#include "suite/krvInfo.h"

#include <gtest/gtest.h>

#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

TEST(krvInfoTest, SnapshotServesEveryQueryUntilTheLastHolderLetsGo) {
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  krvInfo info{reg, fs, sys};
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

}  // namespace
}  // namespace krv
