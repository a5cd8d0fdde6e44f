#include "suite/FileVersion.h"

#include <span>

#include "base/Text.h"
#include "suite/PeVersion.h"
#include "suite/SuiteNames.h"
#include "suite/krvCNFFile.h"

namespace krv {
namespace {

// Larger files are no program of the suite; reading them would only cost memory.
constexpr uint64_t kMaxPeSize = 256u << 20;

bool IsAccessFile(const std::string& path) {
  for (const char* ext : {".mde", ".mdb", ".mdw", ".mda", ".accde", ".accdb"}) {
    if (IEndsWith(path, ext)) return true;
  }
  return false;
}

std::string PeVersionOf(FileSystem& fs, const std::string& path) {
  uint64_t length = 0;
  std::string bytes;
  if (!fs.FileLength(path, &length, nullptr) || length > kMaxPeSize || !fs.ReadFile(path, &bytes, nullptr)) return {};
  std::string version;
  const std::span<const uint8_t> image(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return PeFileVersion(image, &version) ? version : std::string();
}

}  // namespace

std::string VersionSideFile(const std::string& path) { return path + kVersionFileSuffix; }

std::string FileVersion(FileSystem& fs, const std::string& path) {
  if (path.empty() || !fs.FileExists(path)) return {};
  if (!IsAccessFile(path)) return PeVersionOf(fs, path);
  krvCNFFile side(fs);
  side.Filename = VersionSideFile(path);
  side.RemoveComments = true;
  side.RemoveTrailingTabs = true;
  const auto sections = side.FileRead();
  return sections ? sections->Value("Version", "File") : std::string();
}

}  // namespace krv
