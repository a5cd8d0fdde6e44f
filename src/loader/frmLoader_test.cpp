#include "loader/frmLoader.h"

#include <gtest/gtest.h>

#include "testing/LoaderWorld.h"

namespace krv {
namespace {

class LoaderTest : public ::testing::Test {
 protected:
  frmLoader Make(std::vector<frmLoader::NamedStep> steps) {
    return frmLoader(LoaderContext{w.err, w.lib, w.objects, w.h.sys, w.window, false, "krv25"}, std::move(steps));
  }
  LoaderWorld w;
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
  EXPECT_EQ(loader.pubInit(), LoaderResult{});  // a stop without a decision starts nothing
  EXPECT_EQ(ran, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(w.log.lines, (std::vector<std::string>{"a", "b"}));
}

TEST_F(LoaderTest, NewestLineOnTopAndTheTenthLineStartsANewPage) {
  frmLoader loader = Make({});
  for (int i = 1; i <= 9; ++i) loader.ShowProgress("Zeile " + std::to_string(i));
  EXPECT_EQ(loader.lblAnzeige().substr(0, 9), "Zeile 9\r\n");
  EXPECT_NE(loader.lblAnzeige().find("Zeile 1\r\n"), std::string::npos);
  loader.ShowProgress("Zeile 10");
  EXPECT_EQ(loader.lblAnzeige(), "Zeile 10\r\n");
  EXPECT_EQ(w.log.text, "Zeile 10\r\n");
}

TEST_F(LoaderTest, ScreenCheckPassesAt1024x768AndShowsBothNumbersBelow) {
  for (const auto& [width, height, passes] : {std::tuple{1024, 768, true}, {1024, 767, false}, {1023, 768, false}}) {
    w.h.dialogs.shown.clear();
    w.h.sys.screen_width = width, w.h.sys.screen_height = height;
    frmLoader loader = Make({});
    EXPECT_EQ(CheckEnvironment(loader), passes) << width << "x" << height;
    ASSERT_EQ(w.h.dialogs.shown.size(), passes ? 0u : 1u);
    if (passes) continue;
    EXPECT_EQ(w.h.dialogs.shown[0].style, kMbIconExclamation);
    for (const int n : {width, height}) EXPECT_NE(w.h.dialogs.shown[0].text.find(std::to_string(n)), std::string::npos);
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

}  // namespace
}  // namespace krv
