// POSIX only: tests of the system facts, with a fake /proc where it matters.
#include "platform/posix/System_posix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "testing/TempDir.h"

namespace krv {
namespace {

using std::string_literals::operator""s;

TEST(PosixSystemTest, CommandLineGivesTheTailAndTheLowerCaseProgramName) {
  const struct {
    std::string cmdline;
    const char *tail, *name;
  } cases[] = {
      {"/opt/k/Krv25\0/D\0z s\0\0"s, "/D \"z s\" \"\"", "krv25"},
      {"C:\\Office\\ÜBUNG.EXE\0a\\\"b"s, "\"a\\\\\\\"b\"", "übung.exe"},  // last string without its NUL
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommandLineTailFromCmdline(c.cmdline), c.tail) << c.tail;
    EXPECT_EQ(ProgramNameFromCmdline(c.cmdline), c.name) << c.name;
  }
}

TEST(PosixSystemTest, ProcessNamesComeFromCommAndCmdline) {
  TempDir proc;
  for (const auto& [pid, comm, cmdline] : {std::tuple{"1", "systemd\n", "/sbin/init\0x\0"s},
                                           {"42", "MSACCESS.EXE\n", "C:\\Office\\MSACCESS.EXE\0"s},
                                           {"self", "ignored\n", "ignored\0"s}}) {
    std::filesystem::create_directory(proc.native() + "/" + pid);
    std::ofstream(proc.native() + "/" + pid + "/comm") << comm;
    std::ofstream(proc.native() + "/" + pid + "/cmdline", std::ios::binary) << cmdline;
  }
  std::vector<std::string> names = ProcessNamesIn(proc.native());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"init", "msaccess.exe", "systemd"}));
  const std::string exe = PosixSystem().ExecutablePath();  // from the real /proc
  EXPECT_TRUE(exe.starts_with("Z:\\") && exe.ends_with("\\krv_platform_tests")) << exe;
}

TEST(PosixSystemTest, ScreenSizeFromTheEnvironmentOrTheDefault) {
  for (const auto& [text, w, h] :
       {std::tuple{"1024X768", 1024, 768}, {"1280x", 1920, 1080}, {"200000x1", 1920, 1080}}) {
    setenv("KRV_SCREEN_SIZE", text, 1);
    int width = 0, height = 0;
    ASSERT_TRUE(PosixSystem().PrimaryScreenSize(&width, &height));
    EXPECT_EQ(width * 100000 + height, w * 100000 + h) << text;
  }
  unsetenv("KRV_SCREEN_SIZE");
}

}  // namespace
}  // namespace krv
