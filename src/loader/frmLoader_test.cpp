#include "loader/frmLoader.h"

#include <gtest/gtest.h>

#include "base/cuAppError.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "testing/StarterHarness.h"

namespace krv {
namespace {

class LoaderTest : public ::testing::Test {
 protected:
  frmLoader Make(std::vector<frmLoader::NamedStep> steps) {
    return frmLoader(LoaderContext{err, lib, objects, h.sys, window, false, "krv25"}, std::move(steps));
  }

  StarterHarness h;
  cuAppError err{h.dialogs, AppInfo{}};
  krvLibrary lib{h.reg, h.fs, h.sys};
  IObjects objects{h.reg, h.fs, h.sys};
  FakeProgressWindow::Log log;
  FakeProgressWindow window{&log};
};

TEST_F(LoaderTest, AStepReturningFalseStopsEverythingAfterIt) {
  std::vector<std::string> ran;
  auto step = [&ran](const char* name, bool go_on) {
    return frmLoader::NamedStep{name, [&ran, name, go_on](frmLoader& l) {
                                  ran.push_back(name);
                                  l.ShowProgress(name);
                                  return go_on;
                                }};
  };
  frmLoader loader = Make({step("a", true), step("b", false), step("c", true)});
  const LoaderResult result = loader.pubInit();
  EXPECT_EQ(ran, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(log.lines, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(result, LoaderResult{});  // a stop without a decision starts nothing
}

TEST_F(LoaderTest, NewestLineOnTopAndTheTenthLineStartsANewPage) {
  frmLoader loader = Make({});
  for (int i = 1; i <= 9; ++i) loader.ShowProgress("Zeile " + std::to_string(i));
  EXPECT_EQ(loader.lblAnzeige().substr(0, 9), "Zeile 9\r\n");
  EXPECT_NE(loader.lblAnzeige().find("Zeile 1\r\n"), std::string::npos);
  loader.ShowProgress("Zeile 10");
  EXPECT_EQ(loader.lblAnzeige(), "Zeile 10\r\n");
  EXPECT_EQ(log.text, "Zeile 10\r\n");
}

TEST_F(LoaderTest, ScreenCheckPassesAt1024x768AndShowsBothNumbersBelow) {
  struct Case {
    int width, height;
    bool passes;
  } cases[] = {{1024, 768, true}, {1024, 767, false}, {1023, 768, false}, {1920, 1080, true}};
  for (const Case& c : cases) {
    h.dialogs.shown.clear();
    h.sys.screen_width = c.width;
    h.sys.screen_height = c.height;
    frmLoader loader = Make({});
    EXPECT_EQ(CheckEnvironment(loader), c.passes) << c.width << "x" << c.height;
    if (c.passes) {
      EXPECT_TRUE(h.dialogs.shown.empty());
      continue;
    }
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].style, kMbIconExclamation);
    EXPECT_NE(h.dialogs.shown[0].text.find(std::to_string(c.width)), std::string::npos);
    EXPECT_NE(h.dialogs.shown[0].text.find(std::to_string(c.height)), std::string::npos);
  }
}

TEST_F(LoaderTest, ErrorInAStepCarriesItsNameInTheSource) {
  frmLoader loader = Make({{"CheckBackend", [](frmLoader&) -> bool { throw KrvError(5, "Lib", "kaputt"); }}});
  try {
    loader.pubInit();
    FAIL() << "the error must leave the loader";
  } catch (const KrvError& e) {
    EXPECT_EQ(e.number, 5);
    EXPECT_NE(e.source.find("CheckBackend"), std::string::npos) << e.source;
    EXPECT_NE(e.source.find("pubInit"), std::string::npos) << e.source;
  }
}

TEST_F(LoaderTest, CommandLineStepFillsTheResultForAccess) {
  h.LibSetting("UseProfile", "0");
  frmLoader loader = Make({{"CmdLine", CmdLine}});
  objects.Init(false, false);
  const LoaderResult r = loader.pubInit();
  EXPECT_EQ(r.Action, kActionAccess);
  EXPECT_TRUE(r.Elevate);
  EXPECT_EQ(r.AccPath, kHarnessAccess);
  EXPECT_NE(r.CommandLine.find("ZBNHte"), std::string::npos);
  EXPECT_EQ(r.CommandLineHidden.find("ZBNHte"), std::string::npos);
  EXPECT_EQ(r.CommandLine.rfind("\"C:\\Office\\msaccess.exe\" ", 0), 0u) << r.CommandLine;
}

}  // namespace
}  // namespace krv
