// Win32 code only: starting real programs through the shell.
#include <gtest/gtest.h>

#include "base/WinPath.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/TestSupport_win32.h"
#include "testing/TempDir.h"

namespace krv::win32 {
namespace {

TEST(Win32ShellTest, WaitsUntilTheProgramHasEndedInItsWorkingFolder) {
  for (const bool elevate : {false, true}) {
    // Windows would ask the person at the screen for rights; Wine starts the program as it is.
    if (elevate && !RunningUnderWine()) GTEST_SKIP() << "needs someone to answer the rights prompt";
    TempDir dir;
    // The pause makes a return before the end visible: the file would not be there yet.
    const ShellStart start{"cmd.exe", "/c ping -n 2 127.0.0.1 >nul & cd > ordner.txt", dir.native(), 0, true, elevate};
    std::string err, content;
    ASSERT_TRUE(NewShell()->Start(start, &err)) << err;
    ASSERT_TRUE(NewFileSystem()->ReadFile(WinPathJoin(dir.native(), "ordner.txt"), &content, &err)) << err;
    EXPECT_NE(content.find(WinPathName(dir.native())), std::string::npos) << content;
  }
}

TEST(Win32ShellTest, MissingProgramFailsWithoutADialog) {
  TempDir dir;
  const ShellStart start{WinPathJoin(dir.native(), "krvfehlt25.exe"), "", "", 1, true, false};
  std::string err;
  EXPECT_FALSE(NewShell()->Start(start, &err));
  EXPECT_NE(err.find("ShellExecuteExW(" + start.file + ")"), std::string::npos) << err;
}

}  // namespace
}  // namespace krv::win32
