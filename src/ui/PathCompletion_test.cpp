#include "ui/PathCompletion.h"

#include <gtest/gtest.h>

#include "testing/FakeFileSystem.h"

namespace krv {
namespace {

TEST(PathCompletionTest, CompletesTheLastPart) {
  FakeFileSystem fs;
  for (const char* f : {"D:\\Daten\\korvella.mdb", "D:\\Daten\\archiv.mdb", "D:\\Daten\\archiv2.mdb"}) fs.AddFile(f);
  const struct {
    const char *typed, *text;
    size_t candidates;
  } cases[] = {
      {"D:\\Da", "D:\\Daten\\", 1},                    // a folder gets its backslash
      {"d:\\daten\\K", "d:\\daten\\korvella.mdb", 1},  // case ignored, stored case taken
      {"D:\\Daten\\a", "D:\\Daten\\archiv", 2},        // the common beginning of two
      {"D:\\Daten\\*", "D:\\Daten\\*", 0},             // wildcards are not completed
  };
  for (const auto& c : cases) {
    const PathCompletion done = CompletePath(fs, c.typed);
    EXPECT_EQ(done.text + " " + std::to_string(done.candidates.size()), c.text + (" " + std::to_string(c.candidates)));
  }
}

}  // namespace
}  // namespace krv
