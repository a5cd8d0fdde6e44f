// POSIX only: tests of the Windows path mapping against a temporary folder.
#include "platform/posix/NativePath_posix.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "testing/TempDir.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

TEST(NativePathTest, MapsDriveZToTheRoot) {
  struct Case {
    const char* win;
    const char* native;
  } cases[] = {
      {"Z:\\opt\\x", "/opt/x"},   {"\\opt\\x", "/opt/x"},     {"a\\b", "a/b"}, {"..\\x", "../x"}, {"Z:rel\\y", "rel/y"},
      {"Z:\\a\\..\\..\\b", "/b"}, {"Z:\\a\\.\\b\\", "/a/b/"}, {"a\\..", "."},
  };
  for (const auto& c : cases) {
    std::string native, err;
    EXPECT_TRUE(MapWinPath(c.win, &native, &err)) << c.win;
    EXPECT_EQ(native, c.native) << c.win;
  }
}

TEST(NativePathTest, OtherDrivesAndNetworkNamesFailCleanly) {
  for (const char* win : {"", "C:\\x", "c:", "\\\\server\\share\\x", "//server/x", "\\\\?\\C:\\x"}) {
    std::string native = "unchanged", err;
    EXPECT_FALSE(MapWinPath(win, &native, &err)) << win;
    EXPECT_FALSE(FindNativePath(win, &native, &err)) << win;
    EXPECT_EQ(native, "unchanged");
    EXPECT_NE(err.find("NativePath("), std::string::npos) << err;
  }
}

TEST(NativePathTest, ExecutablePathsMapBackToDriveZ) {
  EXPECT_EQ(NativeToWinPath("/opt/k/krv25"), "Z:\\opt\\k\\krv25");
  EXPECT_EQ(NativeToWinPath("//a//./b/"), "Z:\\a\\b\\");
  char* cwd = getcwd(nullptr, 0);
  ASSERT_NE(cwd, nullptr);
  EXPECT_EQ(NativeToWinPath("x/y"), NativeToWinPath(cwd) + "\\x\\y");
  free(cwd);
}

TEST(NativePathTest, FindsNamesThatDifferOnlyInLetterCase) {
  TempDir tmp;
  fs::create_directories(tmp.native() + "/Daten/Übung");
  std::ofstream(tmp.native() + "/Daten/Übung/KRV25.MDB") << "x";
  std::ofstream(tmp.native() + "/Daten/Ab") << "x";
  std::ofstream(tmp.native() + "/Daten/aB") << "x";
  std::ofstream(tmp.native() + "/Daten/exact") << "x";
  std::ofstream(tmp.native() + "/Daten/EXACT") << "x";
  const std::string root = NativeToWinPath(tmp.native());
  struct Case {
    const char* win;
    const char* native;
  } cases[] = {
      {"\\daten\\übung\\krv25.mdb", "/Daten/Übung/KRV25.MDB"},
      {"\\DATEN\\ÜBUNG\\", "/Daten/Übung/"},
      {"\\daten\\neu\\Datei.txt", "/Daten/neu/Datei.txt"},  // the missing part stays as given
      {"\\daten\\exact", "/Daten/exact"},                   // the exact name wins
      {"\\daten\\AB", "/Daten/Ab"},                         // several candidates: the same one every time
  };
  for (const auto& c : cases) {
    std::string native, err;
    ASSERT_TRUE(FindNativePath(root + c.win, &native, &err)) << err;
    EXPECT_EQ(native, tmp.native() + c.native) << c.win;
  }
}

}  // namespace
}  // namespace krv
