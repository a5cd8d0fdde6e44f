// The interface library's registry service: keys and values of
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE for the loader's steps. Reading
// never fails (the default stands in); a change the registry refuses raises a
// KrvError naming the key and value, as the library's calls raise errors to
// their caller. Keys may carry leading or trailing backslashes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace krv {

inline constexpr int32_t kErrRegistryDenied = 70;  // no write access
inline constexpr int32_t kErrRegistryFailed = 75;  // any other failed change

class RegistryService {
 public:
  explicit RegistryService(Registry& reg) : reg_(reg) {}

  bool KeyExists(Hive hive, const std::string& key);
  // REG_SZ and REG_EXPAND_SZ as stored; `def` for anything else.
  std::string Read(Hive hive, const std::string& key, const std::string& name, const std::string& def);
  // Write a REG_SZ or REG_DWORD value, creating the key.
  void WriteText(Hive hive, const std::string& key, const std::string& name, const std::string& text);
  void WriteNumber(Hive hive, const std::string& key, const std::string& name, uint32_t number);

 private:
  void Write(Hive hive, const std::string& key, const std::string& name, const RegValue& value);
  Registry& reg_;
};

}  // namespace krv
