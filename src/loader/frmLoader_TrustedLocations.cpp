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

// Writes every value of the location key. "Path" comes last: a key that a
// failed write or a crash cut short has no "Path", is no location for Access,
// and is written whole by the next start.
void WriteLocation(RegistryService& reg, Hive hive, const std::string& key, const std::string& dir) {
  reg.WriteText(hive, key, "Description", kLocationName);
  reg.WriteNumber(hive, key, "AllowSubfolders", 1);
  reg.WriteNumber(hive, key, "AllowNetworkLocations", 1);
  reg.WriteText(hive, key, "Path", dir);
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
  const std::string path = reg.KeyExists(hive, key) ? reg.Read(hive, key, "Path", "") : std::string();
  if (path.empty()) {
    WriteLocation(reg, hive, key, dir);
  } else if (!IEquals(path, dir)) {
    reg.WriteText(hive, key, "Path", dir);  // the program folder moved; the rest is the administrator's
  }
  return true;
}

}  // namespace krv
