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
  sys.exe_path = "C:\\K II\\krv25.exe";
  EXPECT_EQ(cmnCmdLineAdminTools(lib, fs, err), "");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text + " " + std::to_string(dialogs.shown[0].style),
            "Datei nicht gefunden: C:\\K II\\krvadm25.exe 16");
  fs.AddFile("C:\\K II\\KRVADM25.EXE");
  EXPECT_EQ(cmnCmdLineAdminTools(lib, fs, err), "C:\\K II\\krvadm25.exe");
  std::string file, args;
  EXPECT_EQ(cmnCmdLineCompressor(lib, &file, &args) + "|" + file + "|" + args,
            "C:\\K II\\krvcmp25.exe /Backend|C:\\K II\\krvcmp25.exe|/Backend");
}

}  // namespace
}  // namespace krv
