// POSIX only: tests of the Windows path mapping against a temporary folder.
#include "platform/posix/NativePath_posix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "testing/TempDir.h"

namespace krv {
namespace {

TEST(NativePathTest, MapsDriveZToTheRootAndNothingElse) {
  const struct {
    const char *win, *native;
  } cases[] = {
      {"\\opt\\x", "/opt/x"},     {"..\\x", "../x"},          {"Z:rel\\y", "rel/y"},
      {"Z:\\a\\..\\..\\b", "/b"}, {"z:\\a\\.\\b\\", "/a/b/"}, {"a\\..", "."},
  };
  for (const auto& [win, native] : cases) {
    std::string got, err;
    EXPECT_TRUE(MapWinPath(win, &got, &err) && got == native) << win << " " << got;
  }
  for (const char* win : {"", "C:\\x", "\\\\server\\share\\x"}) {  // no place on this system
    std::string got, err;
    EXPECT_FALSE(MapWinPath(win, &got, &err) || FindNativePath(win, &got, &err) || !err.starts_with("NativePath("));
  }
  EXPECT_EQ(NativeToWinPath("x//./y/"), NativeToWinPath(std::filesystem::current_path().string()) + "\\x\\y\\");
}

TEST(NativePathTest, FindsNamesThatDifferOnlyInLetterCase) {
  TempDir tmp;
  std::filesystem::create_directories(tmp.native() + "/Daten/Übung");
  for (const char* f : {"Übung/KRV25.MDB", "Ab", "aB", "exact", "EXACT"}) std::ofstream(tmp.native() + "/Daten/" + f);
  for (const auto& [win, native] :
       {std::pair<const char*, const char*>{"\\daten\\übung\\krv25.mdb", "/Daten/Übung/KRV25.MDB"},
        {"\\DATEN\\ÜBUNG\\", "/Daten/Übung/"},
        {"\\daten\\neu\\Datei.txt", "/Daten/neu/Datei.txt"},  // the missing part stays as given
        {"\\daten\\exact", "/Daten/exact"},                   // the exact name wins
        {"\\daten\\AB", "/Daten/Ab"}}) {                      // several candidates: the same one every time
    std::string got, err;
    ASSERT_TRUE(FindNativePath(NativeToWinPath(tmp.native()) + win, &got, &err)) << err;
    EXPECT_EQ(got, tmp.native() + native) << win;
  }
}

}  // namespace
}  // namespace krv
