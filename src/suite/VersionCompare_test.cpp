#include "suite/VersionCompare.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

TEST(VersionCompare, FieldByFieldAsNumbers) {
  const struct {
    const char *a, *b;
    int expected;
  } cases[] = {
      {"2.5.0.12", "2.5.0.10", kVersionHigher},
      {"2.5.0.9", "2.5.0.10", kVersionLower},
      {"2.5", "2.5.0.0", kVersionEqual},
      {"2.5.0.1", "2.5", kVersionHigher},
      {" 02.05 . 1 ", "2.5.1", kVersionEqual},
      {"3", "2.99.99.99", kVersionHigher},
      {"99999999999999999999", "100000000000000000000", kVersionLower},
  };
  for (const auto& c : cases) EXPECT_EQ(VersionCompare(c.a, c.b), c.expected) << c.a << " vs " << c.b;
  for (const char* bad : {"", "2.5a", "2..5", "2.5.", "-1.0", "2.5 1"}) {
    EXPECT_EQ(VersionCompare(bad, "2.5"), kVersionNotComparable) << bad;
    EXPECT_EQ(VersionCompare("2.5", bad), kVersionNotComparable) << bad;
  }
}

}  // namespace
}  // namespace krv
