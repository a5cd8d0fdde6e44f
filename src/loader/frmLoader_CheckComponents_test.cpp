#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/FakeSystemFolders.h"
#include "testing/LoaderWorld.h"

namespace krv {
namespace {

TEST(CheckComponentsStepTest, TheAnswerDecidesAndAFailingCheckLetsTheStartGoOn) {
  const struct {
    bool fails, answer, with_ui, go_on;
  } cases[] = {{false, false, true, false}, {true, false, true, true}, {false, false, false, true}};
  for (const auto& c : cases) {
    LoaderWorld w;
    auto& [h, err, lib, objects, log, window] = w;
    FakeSystemFolders folders;
    h.ui.text_window_fails = c.fails;
    h.ui.text_window_answer = c.answer;
    // The side file of an Access file gives it a version, old enough to be outdated.
    h.fs.AddFile("C:\\Programme\\Korvella\\krvrun25.dat",
                 "[qmKrvStarter]\r\n{Components}\r\nalt.mdb=Alt|||Win|9.0\r\n");
    h.fs.AddFile("C:\\Windows\\alt.mdb");
    h.fs.AddFile("C:\\Windows\\alt.mdb.version", "[Version]\r\nFile=1.0\r\n");
    LoaderContext ctx{err, lib, objects, h.sys, window, false, "krv25"};
    ctx.ui = c.with_ui ? &h.ui : nullptr;
    ctx.folders = &folders;
    frmLoader loader(ctx, {});
    EXPECT_EQ(CheckComponents(loader), c.go_on) << c.fails << c.answer << c.with_ui;
    EXPECT_EQ(h.ui.text_windows.size(), c.with_ui ? 1u : 0u);
    EXPECT_EQ(loader.result(), LoaderResult{});
  }
}

}  // namespace
}  // namespace krv
