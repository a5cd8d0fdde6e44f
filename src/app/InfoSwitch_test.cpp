#include "app/InfoSwitch.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

TEST(InfoSwitchTest, OnlyTheFirstWordAsksForHelpOrVersion) {
  struct Case {
    const char* line;
    InfoSwitch want;
  } cases[] = {
      {"/?", InfoSwitch::kHelp},     {" \t/?  /L", InfoSwitch::kHelp},
      {"--HELP", InfoSwitch::kHelp}, {"--Version /O", InfoSwitch::kVersion},
      {"", InfoSwitch::kNone},       {"/L /?", InfoSwitch::kNone},  // "/L" ends the evaluation before "/?"
      {"/?x", InfoSwitch::kNone},    {"-version", InfoSwitch::kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(InfoSwitchOf(c.line), c.want) << c.line;
}

}  // namespace
}  // namespace krv
