// Feeds arbitrary text to the reader of the component list (krvrun25.dat),
// checking what must hold for every element it reports.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "compcheck/cCompCheck.h"
#include "suite/VersionCompare.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const krv::ComponentEntry& entry : krv::ComponentListParse(text)) {
    Check(!entry.file_name.empty() && entry.file_name.find_first_of("\r\n=") == std::string::npos);
    Check(!entry.fields.empty());
    for (const std::string& field : entry.fields) Check(field.find_first_of("|\r\n;") == std::string::npos);
    Check(entry.Field(0).empty() && entry.Field(entry.fields.size() + 1).empty());
    const int order = krv::VersionCompare(entry.Field(5), entry.Field(2));
    Check(order >= krv::kVersionNotComparable && order <= krv::kVersionHigher);
  }
  return 0;
}
