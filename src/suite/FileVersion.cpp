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
// Enough for the headers and section table of any PE file.
constexpr uint64_t kHeadSize = 64u << 10;

bool IsAccessFile(const std::string& path) {
  for (const char* ext : {".mde", ".mdb", ".mdw", ".mda", ".accde", ".accdb"}) {
    if (IEndsWith(path, ext)) return true;
  }
  return false;
}

// The headers first, then only the resource section: system DLLs are large,
// and the version is all that is wanted of them.
std::string PeVersionOf(FileSystem& fs, const std::string& path) {
  std::string head, section, version;
  if (!fs.ReadFileRange(path, 0, kHeadSize, &head, nullptr)) return {};
  const auto bytes = [](const std::string& s) {
    return std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(s.data()), s.size());
  };
  uint64_t at = 0, size = 0;
  if (!PeResourceSection(bytes(head), &at, &size) || size > kMaxPeSize) return {};
  if (!fs.ReadFileRange(path, at, size, &section, nullptr)) return {};
  return PeFileVersion(bytes(head), at, bytes(section), &version) ? version : std::string();
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
