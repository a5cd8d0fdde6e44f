#include "runmdb/cuKrv82Detect.h"

#include "base/Text.h"
#include "runmdb/cuRunMDB_Helpers.h"

namespace krv {
namespace {

using H = cuRunMDB_Helpers;

constexpr int32_t kHKCU = static_cast<int32_t>(0x80000001u);
constexpr int32_t kHKLM = static_cast<int32_t>(0x80000002u);
constexpr const char* kProfileValue = "SOFTWARE\\Microsoft\\Office\\8.0\\Access\\Profiles\\Korvella 8.2";
constexpr const char* kProductKey = "SOFTWARE\\Vantorel\\Korvella\\8.2";

}  // namespace

cuKrv82Detect::cuKrv82Detect(Registry& registry, FileSystem& fs) noexcept {
  try {
    Detect(registry, fs);
  } catch (...) {
    // Detection is a courtesy: whatever was found so far stands.
  }
}

void cuKrv82Detect::Detect(Registry& registry, FileSystem& fs) {
  const H helpers(registry, fs);
  const std::string profiles_key = H::FileExtractPath(kProfileValue, false, true);
  const std::string profile_name = H::FileExtractName(kProfileValue, false);
  const std::string product = helpers.RegGetSettingString(kHKLM, profiles_key, profile_name, "");
  if (product.empty() || !IEquals(product, kProductKey)) return;
  is_installed_ = true;

  const std::string backend =
      helpers.RegGetSettingString(kHKCU, std::string(kProductKey) + "\\Options", "BackendPath", "");
  if (!backend.empty() && helpers.FileExists(backend)) backend_path_ = backend;

  const std::string addins =
      helpers.RegGetSettingString(kHKLM, std::string(kProductKey) + "\\Wizards\\", "AddInPath", "");
  if (addins.empty()) return;
  const std::string frontend = H::TerminateString(addins, "\\") + "krv.mde";
  if (helpers.FileExists(frontend)) frontend_path_ = frontend;
}

}  // namespace krv
