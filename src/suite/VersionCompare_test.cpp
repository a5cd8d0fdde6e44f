#include "suite/VersionCompare.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

struct Case {
  const char* a;
  const char* b;
  int expected;
};

TEST(VersionCompare, FieldByField) {
  const Case cases[] = {
      {"2.5.0.12", "2.5.0.10", kVersionHigher},
      {"2.5.0.10", "2.5.0.12", kVersionLower},
      {"2.5.0.3", "2.5.0.3", kVersionEqual},
      {"10.0", "9.9", kVersionHigher},  // numbers, not text
      {"2.5.0.9", "2.5.0.10", kVersionLower},
      {"2.5", "2.5.0.0", kVersionEqual},  // missing fields are 0
      {"2.5.0.1", "2.5", kVersionHigher},
      {"2.5", "2.5.0.1", kVersionLower},
      {"02.05", "2.5", kVersionEqual},
      {" 2.5 . 1 ", "2.5.1", kVersionEqual},
      {"3", "2.99.99.99", kVersionHigher},
      {"123456789012345678901234567890.1", "123456789012345678901234567890.0", kVersionHigher},
      {"99999999999999999999", "100000000000000000000", kVersionLower},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VersionCompare(c.a, c.b), c.expected) << c.a << " vs " << c.b;
  }
}

TEST(VersionCompare, TextsThatAreNoVersionCannotBeCompared) {
  for (const char* bad : {"", "  ", "2.5a", "2..5", "2.5.", ".2", "v2", "2,5", "-1.0", "2.5 1"}) {
    EXPECT_EQ(VersionCompare(bad, "2.5"), kVersionNotComparable) << bad;
    EXPECT_EQ(VersionCompare("2.5", bad), kVersionNotComparable) << bad;
  }
}

}  // namespace
}  // namespace krv
