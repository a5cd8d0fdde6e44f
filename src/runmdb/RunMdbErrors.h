// The numbered errors of the Access runner: number 0x80040400 plus the code,
// a German description per code.
#pragma once

#include <cstdint>
#include <string>

namespace krv {

enum RunMdbError : int32_t {
  kRunMdbNoHKey = 1,
  kRunMdbNoAccessPathInRegistry = 2,
  kRunMdbFileNotFound = 3,
  kRunMdbBadListEntry = 4,
  kRunMdbDatabaseMissing = 5,
  kRunMdbNoDatabaseInfo = 6,
  kRunMdbProfileNotFound = 7,
  kRunMdbEntryWithoutHKey = 8,
  kRunMdbSystemDbMissing = 9,
  kRunMdbAccessListEmpty = 10,
  kRunMdbAccessListUnresolved = 11,
  kRunMdbDatabaseListEmpty = 12,
  kRunMdbDatabaseListUnresolved = 13,
  kRunMdbSystemDbListEmpty = 14,
  kRunMdbSystemDbListUnresolved = 15,
  kRunMdbInvalidValue = 16,
  kRunMdbInvalidAccVersion = 17,
  // A value that would break out of its quoted argument on the Access command line.
  kRunMdbUnsafeArgument = 18,
};

constexpr int32_t kRunMdbErrorBase = static_cast<int32_t>(0x80040400u);

inline int32_t RunMdbErrorNumber(int32_t code) {
  return static_cast<int32_t>(static_cast<uint32_t>(kRunMdbErrorBase) + static_cast<uint32_t>(code));
}

// The description of `code` with "@@" turned into CR LF and every "##" into
// `arg`; `exe_name` is the program's file name without folder and extension
// (named by code 6). Empty for an unknown code.
std::string RunMdbErrorDescription(int32_t code, const std::string& arg, const std::string& exe_name);

}  // namespace krv
