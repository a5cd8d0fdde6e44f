#include "loader/frmLoader_TrustedLocations.h"

#include "base/KrvError.h"
#include "base/Text.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"
#include "suite/mCommon.h"

namespace krv {
namespace {

constexpr char kTrustedLocationsSetting[] = "Options\\AccessTrustedLocationsKey";
constexpr char kLocationName[] = "Korvella II.5";

// Writes every value of the location key; "Path" comes last, so a key cut
// short by a crash has no "Path" and is written whole by the next start. A key
// this call created is removed again when a write fails.
void WriteLocation(RegistryService& reg, Hive hive, const std::string& key, const std::string& dir, bool created) {
  try {
    reg.WriteText(hive, key, "Description", kLocationName);
    reg.WriteNumber(hive, key, "AllowSubfolders", 1);
    reg.WriteNumber(hive, key, "AllowNetworkLocations", 1);
    reg.WriteText(hive, key, "Path", dir);
  } catch (...) {
    try {
      if (created) reg.DeleteKey(hive, key);
    } catch (...) {
    }
    throw;
  }
}

}  // namespace

bool TrustedLocations(frmLoader& loader) {
  LoaderContext& ctx = loader.context();
  RegistryService reg = ctx.objects.Reg();
  std::string setting_key, setting_name;
  cmnParseRegConstant(ctx.lib, kTrustedLocationsSetting, &setting_key, &setting_name);
  const std::string setting = reg.Read(Hive::LocalMachine, setting_key, setting_name, "");
  if (setting.empty()) return true;

  std::string key = AddTrailingSeparator(setting) + kLocationName;
  Hive hive{};
  if (!cmnSplitHive(&key, &hive)) {
    throw KrvError(kErrRegistryFailed, "TrustedLocations",
                   "Die Einstellung '" + std::string(kTrustedLocationsSetting) + "' = '" + setting +
                       "' beginnt nicht mit HKCU\\, HKLM\\, HKEY_CURRENT_USER oder HKEY_LOCAL_MACHINE.");
  }
  const std::string dir = AddTrailingSeparator(ctx.objects.ProgramFolder());
  const bool exists = reg.KeyExists(hive, key);
  const std::string path = exists ? reg.Read(hive, key, "Path", "") : std::string();
  if (path.empty()) {
    WriteLocation(reg, hive, key, dir, !exists);
  } else if (!IEquals(path, dir)) {
    reg.WriteText(hive, key, "Path", dir);  // the program folder moved; the rest is the administrator's
  }
  return true;
}

}  // namespace krv
