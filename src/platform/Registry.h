// Registry: hives, keys and typed values, named case-insensitively and stored
// case-preserving. Implementations: Win32 (advapi32), POSIX (.reg files),
// memory (tests). Key paths are relative to the hive, backslash-separated,
// without leading or trailing backslash. The value name "" is the default value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace krv {

// The Windows predefined key handles, as the settings code writes them.
enum class Hive : uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
};

// Windows value type numbers.
enum RegType : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
  kRegQword = 11,
};

// A typed value. REG_SZ and REG_EXPAND_SZ carry UTF-8 `text`; REG_DWORD carries
// `dword`; every other type carries the bytes Windows would store in `data`
// (REG_MULTI_SZ as UTF-16LE with its terminators).
struct RegValue {
  uint32_t type = kRegSz;
  std::string text;
  uint32_t dword = 0;
  std::vector<uint8_t> data;

  static RegValue Sz(std::string s) {
    RegValue v;
    v.type = kRegSz;
    v.text = std::move(s);
    return v;
  }
  static RegValue ExpandSz(std::string s) {
    RegValue v;
    v.type = kRegExpandSz;
    v.text = std::move(s);
    return v;
  }
  static RegValue Dword(uint32_t d) {
    RegValue v;
    v.type = kRegDword;
    v.dword = d;
    return v;
  }
  static RegValue Raw(uint32_t type, std::vector<uint8_t> bytes) {
    RegValue v;
    v.type = type;
    v.data = std::move(bytes);
    return v;
  }
  bool operator==(const RegValue&) const = default;
};

enum class RegStatus {
  kOk,
  kNotFound,  // key or value missing
  kDenied,    // the caller may not do this (read-only hive, no rights)
  kFailed,    // anything else; `err` says what
};

// "HKEY_CURRENT_USER" and friends; "" for an unknown number.
const char* HiveName(Hive hive);
// Long or short name (HKCU, HKLM, HKCR, HKU), any letter case. False if unknown.
bool ParseHiveName(const std::string& name, Hive* hive);

class Registry {
 public:
  virtual ~Registry() = default;

  virtual bool KeyExists(Hive hive, const std::string& key) = 0;
  // Creates the key and any missing parents; succeeds if it exists already.
  virtual RegStatus CreateKey(Hive hive, const std::string& key, std::string* err) = 0;
  // Deletes the key with everything below it. kNotFound if it did not exist.
  virtual RegStatus DeleteKeyTree(Hive hive, const std::string& key, std::string* err) = 0;

  virtual bool ValueExists(Hive hive, const std::string& key, const std::string& name) = 0;
  virtual RegStatus ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                              std::string* err) = 0;
  // Creates the key if missing. Replacing a value keeps its place in the order.
  virtual RegStatus WriteValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                               std::string* err) = 0;
  virtual RegStatus DeleteValue(Hive hive, const std::string& key, const std::string& name, std::string* err) = 0;

  // Value names in creation order; subkey names as stored. Empty if the key is missing.
  virtual std::vector<std::string> ValueNames(Hive hive, const std::string& key) = 0;
  virtual std::vector<std::string> SubKeys(Hive hive, const std::string& key) = 0;

  // Whether every store of settings can be read. False with `why` naming the
  // store (the hive file) and what is wrong with it; a damaged store must
  // never read as an empty one. Stores that do not exist yet are fine.
  virtual bool CheckStores(std::string* why) {
    (void)why;
    return true;
  }
};

}  // namespace krv
