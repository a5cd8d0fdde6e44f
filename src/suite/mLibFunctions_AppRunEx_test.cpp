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

TEST(AppRunExTest, FailedStartIsFalseWithoutMessageUnexpectedErrorsArePassedOn) {
  FakeShell shell;
  FakeDialogs dialogs;
  cuAppError err{dialogs, AppInfo{}};
  EXPECT_TRUE(AppRunEx(shell, err, "C:\\K\\krvadm25.exe", "/x \"a b\"", "C:\\K", 0, 1, true, false));
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0].directory, "C:\\K");
  EXPECT_TRUE(shell.started[0].wait);
  shell.fail_files.insert("c:\\k\\fehlt.exe");
  EXPECT_FALSE(AppRunEx(shell, err, "C:\\K\\Fehlt.exe", "", "", 0, 1, true, true));
  EXPECT_TRUE(dialogs.shown.empty());

  BrokenShell broken;
  try {
    AppRunEx(broken, err, "x.exe", "", "", 0, 1, false, false);
    ADD_FAILURE() << "no error raised";
  } catch (const KrvError& e) {
    EXPECT_EQ(e.source, "mLibFunctions: AppRunEx");
    EXPECT_NE(e.description.find("kaputt"), std::string::npos);
  }
}

}  // namespace
}  // namespace krv
