#include "suite/mLibFunctions_AppRunEx.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "testing/FakeDialogs.h"
#include "testing/FakeShell.h"

namespace krv {
namespace {

struct BrokenShell : Shell {
  bool Start(const ShellStart&, std::string*) override { throw std::runtime_error("kaputt"); }
};

class AppRunExTest : public testing::Test {
 protected:
  FakeShell shell;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
};

TEST_F(AppRunExTest, PassesTheRequestOn) {
  struct Case {
    bool wait, elevate;
  } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
  for (const Case& c : cases) {
    shell.started.clear();
    EXPECT_TRUE(
        AppRunEx(shell, err, "C:\\Korvella\\krvadm25.exe", "/x \"a b\"", "C:\\Korvella", 0, 1, c.wait, c.elevate));
    ASSERT_EQ(shell.started.size(), 1u);
    const ShellStart& s = shell.started[0];
    EXPECT_EQ(s.file, "C:\\Korvella\\krvadm25.exe");
    EXPECT_EQ(s.args, "/x \"a b\"");
    EXPECT_EQ(s.directory, "C:\\Korvella");
    EXPECT_EQ(s.show, 1);
    EXPECT_EQ(s.wait, c.wait);
    EXPECT_EQ(s.elevate, c.elevate);
  }
}

TEST_F(AppRunExTest, FailedStartIsFalseWithoutMessage) {
  shell.fail_files.insert("c:\\korvella\\fehlt.exe");
  EXPECT_FALSE(AppRunEx(shell, err, "C:\\Korvella\\Fehlt.exe", "", "", 0, 1, true, true));
  EXPECT_TRUE(shell.started.empty());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(AppRunExTest, UnexpectedErrorIsPassedOn) {
  BrokenShell broken;
  try {
    AppRunEx(broken, err, "x.exe", "", "", 0, 1, false, false);
    FAIL() << "no error raised";
  } catch (const KrvError& e) {
    EXPECT_EQ(e.source, "mLibFunctions: AppRunEx");
    EXPECT_NE(e.description.find("kaputt"), std::string::npos);
  }
}

}  // namespace
}  // namespace krv
