// POSIX only: tests of the system facts, with a fake /proc where it matters.
#include "platform/posix/System_posix.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/posix/NativePath_posix.h"
#include "testing/TempDir.h"

namespace krv {
namespace {

namespace fs = std::filesystem;
using std::string_literals::operator""s;

TEST(PosixSystemTest, CommandLineTailJoinsTheArgumentsAfterTheProgram) {
  struct Case {
    std::string cmdline;
    const char* tail;
  } cases[] = {
      {"krv25\0"s, ""},
      {"/opt/k/krv25\0/L\0/D\0"
       "5\0"s,
       "/L /D 5"},
      {"krv25\0/D\0"
       "5 Sekunden\0\0"s,
       "/D \"5 Sekunden\" \"\""},            // quoted so a split gives them back
      {"krv25\0a\\\"b"s, "\"a\\\\\\\"b\""},  // last string without its NUL
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLineTailFromCmdline(c.cmdline), c.tail) << c.tail;
}

TEST(PosixSystemTest, ProgramNameIsTheLowerCaseBaseNameOfTheFirstArgument) {
  struct Case {
    std::string cmdline;
    const char* name;
  } cases[] = {
      {"C:\\Program Files\\Microsoft Office\\OFFICE11\\MSACCESS.EXE\0/x\0"s, "msaccess.exe"},
      {"/usr/bin/Bash\0-c\0x/y\0"s, "bash"},
      {"Übung.EXE\0"s, "übung.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgramNameFromCmdline(c.cmdline), c.name) << c.name;
}

TEST(PosixSystemTest, ProcessNamesComeFromCommAndCmdline) {
  TempDir proc;
  auto add = [&](const std::string& pid, const std::string& comm, const std::string& cmdline) {
    fs::create_directory(proc.native() + "/" + pid);
    std::ofstream(proc.native() + "/" + pid + "/comm") << comm;
    std::ofstream(proc.native() + "/" + pid + "/cmdline", std::ios::binary) << cmdline;
  };
  add("1", "systemd\n", "/sbin/init\0splash\0"s);
  add("42", "MSACCESS.EXE\n", "C:\\Programme\\Office\\MSACCESS.EXE\0"s);
  add("43", "wine64-preload\n", "Z:\\opt\\k\\krvbrw25.exe\0"s);
  add("self", "ignored\n", "ignored\0"s);
  std::vector<std::string> names = ProcessNamesIn(proc.native());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"init", "krvbrw25.exe", "msaccess.exe", "systemd", "wine64-preload"}));
  EXPECT_TRUE(ProcessNamesIn(proc.native() + "/fehlt").empty());
}

TEST(PosixSystemTest, SeesItsOwnProcessAndExecutable) {
  PosixSystem system;
  std::string target(4096, '\0');
  target.resize(static_cast<size_t>(readlink("/proc/self/exe", target.data(), target.size())));
  const std::string exe = system.ExecutablePath();
  EXPECT_EQ(exe.rfind("Z:\\", 0), 0u) << exe;
  std::string native, err;
  ASSERT_TRUE(MapWinPath(exe, &native, &err)) << err;
  EXPECT_EQ(native, target);
  const std::vector<std::string> names = system.ProcessNames();
  EXPECT_NE(std::find(names.begin(), names.end(), fs::path(target).filename().string()), names.end());
  EXPECT_TRUE(system.WindowCaptions().empty());
}

TEST(PosixSystemTest, ScreenSizeFromTheEnvironmentOrTheDefault) {
  struct Case {
    const char* text;
    bool ok;
    int width, height;
  } cases[] = {{"1280x1024", true, 1280, 1024},
               {"800X600", true, 800, 600},
               {"1280x", false, 0, 0},
               {"1280 x 1024", false, 0, 0},
               {"99999999999x1", false, 0, 0}};
  for (const auto& c : cases) {
    int width = 0, height = 0;
    EXPECT_EQ(ParseScreenSize(c.text, &width, &height), c.ok) << c.text;
    EXPECT_EQ(width, c.width) << c.text;
    EXPECT_EQ(height, c.height) << c.text;
  }
  PosixSystem system;
  int width = 0, height = 0;
  setenv("KRV_SCREEN_SIZE", "1024x768", 1);
  ASSERT_TRUE(system.PrimaryScreenSize(&width, &height));
  EXPECT_EQ(width * 10000 + height, 1024 * 10000 + 768);
  setenv("KRV_SCREEN_SIZE", "gross", 1);
  ASSERT_TRUE(system.PrimaryScreenSize(&width, &height));
  EXPECT_EQ(width * 10000 + height, 1920 * 10000 + 1080);
  unsetenv("KRV_SCREEN_SIZE");
}

}  // namespace
}  // namespace krv
