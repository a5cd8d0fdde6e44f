#include "platform/NetworkPath.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

TEST(NetworkPathTest, ServerNames) {
  const struct {
    const char *path, *unc_server, *mount_host;
  } cases[] = {
      {"\\\\srv1\\daten\\k.mdb", "srv1", "srv1"},
      {"//nas/share", "nas", "nas"},
      {"\\\\?\\C:\\k.mdb", "", ""},
      {"\\\\.\\pipe\\x", "", ""},
      {"C:\\Daten\\k.mdb", "", ""},
      {"fileserver:/export/daten", "", "fileserver"},
      {"[fe80::1]:/export", "", "fe80::1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UncServerName(c.path) + "|" + MountSourceHost(c.path), std::string(c.unc_server) + "|" + c.mount_host)
        << c.path;
  EXPECT_TRUE(IsNetworkPath("\\\\srv1\\daten\\k.mdb"));
  EXPECT_EQ(NetworkServerName("\\\\srv1\\daten\\k.mdb"), "srv1");
}

}  // namespace
}  // namespace krv
