// Win32 code only: starting real programs through the shell.
#include <gtest/gtest.h>

#include "base/WinPath.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/TestSupport_win32.h"
#include "testing/TempDir.h"

namespace krv::win32 {
namespace {

TEST(Win32ShellTest, WaitsUntilTheProgramHasEndedAndUsesTheWorkingFolder) {
  TempDir dir;
  auto shell = NewShell();
  auto fs = NewFileSystem();
  ShellStart start;
  start.file = "cmd.exe";
  // The pause makes a return before the end visible: the file would not be there yet.
  start.args = "/c ping -n 2 127.0.0.1 >nul & cd > ordner.txt";
  start.directory = dir.native();
  start.show = 0;
  start.wait = true;
  std::string err;
  ASSERT_TRUE(shell->Start(start, &err)) << err;
  std::string content;
  ASSERT_TRUE(fs->ReadFile(WinPathJoin(dir.native(), "ordner.txt"), &content, &err)) << err;
  EXPECT_NE(content.find(WinPathName(dir.native())), std::string::npos) << content;
}

TEST(Win32ShellTest, ElevatedStartAsksForRightsAndRuns) {
  // Windows would ask the person at the screen; Wine starts the program as it is.
  if (!RunningUnderWine()) GTEST_SKIP() << "needs someone to answer the rights prompt";
  TempDir dir;
  ShellStart start;
  start.file = "cmd.exe";
  start.args = "/c echo ok> erhoeht.txt";
  start.directory = dir.native();
  start.show = 0;
  start.wait = true;
  start.elevate = true;
  std::string err;
  ASSERT_TRUE(NewShell()->Start(start, &err)) << err;
  EXPECT_TRUE(NewFileSystem()->FileExists(WinPathJoin(dir.native(), "erhoeht.txt")));
}

TEST(Win32ShellTest, MissingProgramFailsWithoutADialog) {
  TempDir dir;
  auto shell = NewShell();
  ShellStart start;
  start.file = WinPathJoin(dir.native(), "krvfehlt25.exe");
  start.wait = true;
  std::string err;
  EXPECT_FALSE(shell->Start(start, &err));
  EXPECT_NE(err.find("ShellExecuteExW(" + start.file + ")"), std::string::npos) << err;
}

}  // namespace
}  // namespace krv::win32
