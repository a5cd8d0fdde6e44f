#include "platform/Registry.h"

#include "base/Text.h"

namespace krv {
namespace {

struct HiveNames {
  Hive hive;
  const char* long_name;
  const char* short_name;
};

constexpr HiveNames kHives[] = {
    {Hive::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {Hive::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {Hive::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {Hive::Users, "HKEY_USERS", "HKU"},
};

}  // namespace

const char* HiveName(Hive hive) {
  for (const auto& h : kHives) {
    if (h.hive == hive) return h.long_name;
  }
  return "";
}

bool ParseHiveName(const std::string& name, Hive* hive) {
  for (const auto& h : kHives) {
    if (IEquals(name, h.long_name) || IEquals(name, h.short_name)) {
      *hive = h.hive;
      return true;
    }
  }
  return false;
}

}  // namespace krv
