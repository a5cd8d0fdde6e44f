#include "ui/PathCompletion.h"

#include <gtest/gtest.h>

#include "testing/FakeFileSystem.h"

namespace krv {
namespace {

TEST(PathCompletionTest, CompletesTheLastPart) {
  FakeFileSystem fs;
  for (const char* f : {"D:\\Daten\\korvella.mdb", "D:\\Daten\\archiv.mdb", "D:\\Daten\\archiv2.mdb"}) fs.AddFile(f);
  const struct {
    const char* typed;
    const char* text;
    size_t candidates;
  } cases[] = {
      {"D:\\Da", "D:\\Daten\\", 1},                    // a folder gets its backslash
      {"d:\\daten\\K", "d:\\daten\\korvella.mdb", 1},  // case ignored, stored case taken
      {"D:\\Daten\\a", "D:\\Daten\\archiv", 2},        // the common beginning of two
      {"D:\\Daten\\x", "D:\\Daten\\x", 0},
      {"D:\\Daten\\*", "D:\\Daten\\*", 0},  // wildcards are not completed
  };
  for (const auto& c : cases) {
    const PathCompletion done = CompletePath(fs, c.typed);
    EXPECT_EQ(done.text, c.text) << c.typed;
    EXPECT_EQ(done.candidates.size(), c.candidates) << c.typed;
  }
}

}  // namespace
}  // namespace krv
