#include "suite/VersionCompare.h"

#include <vector>

#include "base/Text.h"

namespace krv {
namespace {

// The fields as digit strings without leading zeros ("" is zero); false when
// a field is empty or holds anything but digits.
bool SplitFields(std::string_view text, std::vector<std::string_view>* fields) {
  text = Trim(text);
  if (text.empty()) return false;
  for (;;) {
    const size_t dot = text.find('.');
    std::string_view field = Trim(text.substr(0, dot));
    if (field.empty()) return false;
    for (char c : field) {
      if (c < '0' || c > '9') return false;
    }
    while (!field.empty() && field.front() == '0') field.remove_prefix(1);
    fields->push_back(field);
    if (dot == std::string_view::npos) return true;
    text.remove_prefix(dot + 1);
  }
}

// Compares two numbers given as digit strings without leading zeros, so
// fields of any length compare correctly.
int CompareDigits(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

int VersionCompare(std::string_view a, std::string_view b) {
  std::vector<std::string_view> fa, fb;
  if (!SplitFields(a, &fa) || !SplitFields(b, &fb)) return kVersionNotComparable;
  const size_t n = fa.size() > fb.size() ? fa.size() : fb.size();
  for (size_t i = 0; i < n; ++i) {
    const std::string_view x = i < fa.size() ? fa[i] : std::string_view();
    const std::string_view y = i < fb.size() ? fb[i] : std::string_view();
    const int c = CompareDigits(x, y);
    if (c != 0) return c < 0 ? kVersionLower : kVersionHigher;
  }
  return kVersionEqual;
}

}  // namespace krv
