#include "suite/AccessCheck.h"

#include "suite/SuiteNames.h"
#include "suite/krvLibrary.h"

namespace krv {

bool AccessCheck::Check() {
  const std::string key = std::string(kProductRoot) + "\\Options";
  const std::string path = lib_.RegRead(Hive::LocalMachine, key, "AccessPath", "");
  return path.empty() || !lib_.fs().FileExists(path);
}

}  // namespace krv
