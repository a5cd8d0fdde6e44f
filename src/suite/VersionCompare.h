// Comparison of dotted numeric versions ("2.5.0.12"), field by field.
#pragma once

#include <string_view>

namespace krv {

// Result codes of VersionCompare(a, b):
enum VersionOrder : int {
  kVersionNotComparable = -1,  // a text is empty or a field is not a number
  kVersionEqual = 0,           // same version ("2.5" and "2.5.0.0" too)
  kVersionLower = 1,           // a is older than b
  kVersionHigher = 2,          // a is newer than b
};

// Blanks around the texts and around the fields are ignored; missing
// trailing fields count as 0; fields may have any number of digits.
int VersionCompare(std::string_view a, std::string_view b);

}  // namespace krv
