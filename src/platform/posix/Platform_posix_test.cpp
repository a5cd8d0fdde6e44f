#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace krv {
namespace {

TEST(PosixPlatformTest, EveryServiceIsThere) {
  const Platform p = CreateNativePlatform();
  EXPECT_NE(p.registry, nullptr);
  EXPECT_NE(p.fs, nullptr);
  EXPECT_NE(p.shell, nullptr);
  EXPECT_NE(p.dialogs, nullptr);
  EXPECT_NE(p.system, nullptr);
  EXPECT_NE(p.mutex, nullptr);
  EXPECT_TRUE(p.fs->FolderExists("Z:\\"));
  EXPECT_EQ(p.system->ExecutablePath().rfind("Z:\\", 0), 0u);
}

}  // namespace
}  // namespace krv
