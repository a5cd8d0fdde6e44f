// The interface library's registry service: keys and values of
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE for the loader's steps. Reading
// never fails (the default stands in); a change the registry refuses raises a
// KrvError naming the key and value, as the library's calls raise errors to
// their caller.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace krv {

// Raised when the registry refuses a change (no write access).
inline constexpr int32_t kErrRegistryDenied = 70;
// Raised for any other failed change, and for a hive other than HKCU or HKLM.
inline constexpr int32_t kErrRegistryFailed = 75;

class RegistryService {
 public:
  explicit RegistryService(Registry& reg) : reg_(reg) {}

  // Keys may carry leading or trailing backslashes.
  bool KeyExists(Hive hive, const std::string& key);
  // REG_SZ and REG_EXPAND_SZ as stored, REG_DWORD as its decimal number;
  // `def` when the value is missing, unreadable or of another type.
  std::string Read(Hive hive, const std::string& key, const std::string& name, const std::string& def);
  // Write a REG_SZ or REG_DWORD value, creating the key.
  void WriteText(Hive hive, const std::string& key, const std::string& name, const std::string& text);
  void WriteNumber(Hive hive, const std::string& key, const std::string& name, uint32_t number);
  // Deletes the key with everything below it; a missing key is no error.
  void DeleteKey(Hive hive, const std::string& key);

 private:
  void Write(Hive hive, const std::string& key, const std::string& name, const RegValue& value);
  Registry& reg_;
};

}  // namespace krv
