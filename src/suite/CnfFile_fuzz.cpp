// Feeds arbitrary text to the configuration reader with every option, and its
// values to the version comparison, checking what must always hold.
#include <cstdint>
#include <string_view>

#include "suite/VersionCompare.h"
#include "suite/krvCNFFile.h"
#include "testing/FuzzCheck.h"

namespace {

void CheckCompare(std::string_view a, std::string_view b) {
  const int ab = krv::VersionCompare(a, b), ba = krv::VersionCompare(b, a);
  krv::FuzzCheck(ab >= krv::kVersionNotComparable && ab <= krv::kVersionHigher);
  if (ab == krv::kVersionLower) krv::FuzzCheck(ba == krv::kVersionHigher);
  if (ab == krv::kVersionHigher) krv::FuzzCheck(ba == krv::kVersionLower);
  if (ab == krv::kVersionEqual || ab == krv::kVersionNotComparable) krv::FuzzCheck(ba == ab);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (int options = 0; options < 4; ++options) {
    const krv::CnfSections sections = krv::krvCNFFile::Parse(text, options & 1, options & 2);
    std::string_view previous;
    for (const krv::CnfSection& section : sections.items) {
      krv::FuzzCheck(sections.Section(section.name) == &section);  // names are unique
      for (const krv::CnfKey& key : section.keys) {
        krv::FuzzCheck(!key.name.empty() && key.name.find_first_of("\r\n=") == std::string::npos);
        krv::FuzzCheck(key.value.find_first_of("\r\n") == std::string::npos);
        if (options & 1) krv::FuzzCheck(key.value.find(';') == std::string::npos);
        krv::FuzzCheck(section.Key(key.name) != nullptr);
        CheckCompare(key.value, previous);
        previous = key.value;
      }
    }
  }
  return 0;
}
