#include "suite/mCommon_CmdLine.h"

#include <gtest/gtest.h>

#include "suite/krvLibrary.h"
#include "testing/FakeDialogs.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

TEST(CmdLineTest, AdminToolsPathOrMessageAndCompressorWithBackendSwitch) {
  FakeRegistry reg;
  FakeFileSystem fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  krvLibrary lib{reg, fs, sys};
  sys.exe_path = "C:\\Programme\\Korvella II\\krv25.exe";
  EXPECT_EQ(cmnCmdLineAdminTools(lib, fs, err), "");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Datei nicht gefunden: C:\\Programme\\Korvella II\\krvadm25.exe");
  EXPECT_EQ(dialogs.shown[0].style, 16);
  fs.AddFile("C:\\Programme\\Korvella II\\KRVADM25.EXE");
  EXPECT_EQ(cmnCmdLineAdminTools(lib, fs, err), "C:\\Programme\\Korvella II\\krvadm25.exe");
  EXPECT_EQ(dialogs.shown.size(), 1u);

  std::string file, args;
  EXPECT_EQ(cmnCmdLineCompressor(lib, &file, &args), "C:\\Programme\\Korvella II\\krvcmp25.exe /Backend");
  EXPECT_EQ(file + "|" + args, "C:\\Programme\\Korvella II\\krvcmp25.exe|/Backend");
}

}  // namespace
}  // namespace krv
