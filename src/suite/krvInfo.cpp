#include "suite/krvInfo.h"

#include <algorithm>

#include "base/Text.h"
#include "base/WinPath.h"
#include "suite/SuiteNames.h"

namespace krv {

void krvEnvironment::HoldSnapshot() { ++snapshot_holders_; }

void krvEnvironment::ReleaseSnapshot() {
  if (snapshot_holders_ > 0 && --snapshot_holders_ == 0) snapshot_.reset();
}

bool krvEnvironment::ProcessRunning(const char* exe) {
  if (snapshot_holders_ > 0 && !snapshot_) snapshot_ = sys_.ProcessNames();
  const std::vector<std::string> names = snapshot_ ? *snapshot_ : sys_.ProcessNames();
  return std::any_of(names.begin(), names.end(), [exe](const std::string& name) { return IEquals(name, exe); });
}

bool krvEnvironment::AdminToolsWindow() {
  const std::vector<std::string> captions = sys_.WindowCaptions();
  const bool window = std::any_of(captions.begin(), captions.end(),
                                  [](const std::string& caption) { return IEquals(caption, kAdminToolsCaption); });
  return window || ProcessRunning(kAdminToolsExe);
}

bool krvEnvironment::MainProgram() {
  // Any Access may run; KORVELLA runs when Access holds the front end open,
  // which Jet marks with the lock file beside it.
  if (!ProcessRunning(kAccessExe)) return false;
  const std::string folder = WinPathFolder(sys_.ExecutablePath());
  const std::string front_end = kFrontEndFile;
  const std::string lock = front_end.substr(0, front_end.rfind('.')) + ".ldb";
  return fs_.FileExists(folder + lock);
}

bool krvEnvironment::Compressor() { return ProcessRunning(kCompressorExe); }
bool krvEnvironment::UpgradeProgram() { return ProcessRunning(kUpgradeExe); }
bool krvEnvironment::Installation() { return ProcessRunning(kSetupExe); }
bool krvEnvironment::Browser() { return ProcessRunning(kBrowserExe); }
bool krvEnvironment::Replication() { return ProcessRunning(kReplicationExe); }

krvInfo::krvInfo(Registry& /*reg*/, FileSystem& fs, System& sys) : sys_(sys), env_(fs, sys) {}

std::string krvInfo::ProgramFolder() { return WinPathFolder(sys_.ExecutablePath()); }

std::string krvInfo::ProductRoot() const { return kProductRoot; }

bool krvInfo::IsAdmin() { return sys_.IsAdmin(); }

bool krvInfo::AccessRunning() { return env_.ProcessRunning(kAccessExe); }

}  // namespace krv
