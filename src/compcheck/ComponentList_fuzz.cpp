// Feeds arbitrary text to the reader of the component list (krvrun25.dat),
// checking what must hold for every element it reports.
#include <cstdint>
#include <string_view>

#include "compcheck/cCompCheck.h"
#include "suite/VersionCompare.h"
#include "testing/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const krv::ComponentEntry& entry : krv::ComponentListParse(text)) {
    krv::FuzzCheck(!entry.file_name.empty() && entry.file_name.find_first_of("\r\n=") == std::string::npos);
    krv::FuzzCheck(!entry.fields.empty());
    for (const std::string& field : entry.fields) krv::FuzzCheck(field.find_first_of("|\r\n;") == std::string::npos);
    krv::FuzzCheck(entry.Field(0).empty() && entry.Field(entry.fields.size() + 1).empty());
    const int order = krv::VersionCompare(entry.Field(5), entry.Field(2));
    krv::FuzzCheck(order >= krv::kVersionNotComparable && order <= krv::kVersionHigher);
  }
  return 0;
}
