#include "suite/mCommon.h"

#include "base/Text.h"
#include "suite/krvLibrary.h"

namespace krv {

void cmnParseRegConstant(krvLibrary& lib, const std::string& name, std::string* key, std::string* value_name) {
  const std::string path = AddTrailingSeparator(lib.Application().ProductRoot()) + name;
  *key = PathKeyPart(path);
  *value_name = PathLastPart(path);
}

bool cmnSplitHive(std::string* path, Hive* hive) {
  static constexpr struct {
    const char* prefix;
    Hive hive;
  } kPrefixes[] = {
      {"HKCU\\", Hive::CurrentUser},
      {"HKLM\\", Hive::LocalMachine},
      {"HKEY_LOCAL_MACHINE", Hive::LocalMachine},
      {"HKEY_CURRENT_USER", Hive::CurrentUser},
  };
  for (const auto& p : kPrefixes) {
    if (IStartsWith(*path, p.prefix)) {
      path->erase(0, std::string_view(p.prefix).size());
      *hive = p.hive;
      return true;
    }
  }
  *hive = Hive{};
  return false;
}

}  // namespace krv
