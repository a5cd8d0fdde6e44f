#include "suite/IObjects.h"

#include "base/KrvError.h"
#include "base/WinPath.h"
#include "suite/FileVersion.h"
#include "suite/SuiteNames.h"
#include "suite/VersionCompare.h"
#include "suite/krvCNFFile.h"
#include "suite/krvLibrary.h"

namespace krv {
namespace {

constexpr char kSource[] = "IObjects: Init";

// "C:\...", "\\server\share\..." and "\..." name a place on their own.
bool IsRootedPath(const std::string& path) { return path.starts_with('\\') || (path.size() >= 2 && path[1] == ':'); }

}  // namespace

IObjects::IObjects(Registry& reg, FileSystem& fs, System& sys, Database* db) : reg_(reg), fs_(fs), sys_(sys), db_(db) {}

void IObjects::Init(bool need_backend, bool need_front_end) {
  if (need_backend && BackendPath().empty()) {
    throw KrvError(kErrBackendPathNotSet, kSource, "Der Pfad des Daten-Backends ist nicht gesetzt.");
  }
  if (need_front_end && !fs_.FileExists(FrontEndPath())) {
    throw KrvError(kErrMainProgramUnavailable, kSource, "Die Datei '" + FrontEndPath() + "' wurde nicht gefunden.");
  }
}

std::string IObjects::ProgramFolder() { return WinPathFolder(sys_.ExecutablePath()); }

std::string IObjects::FrontEndPath() { return ProgramFolder() + kFrontEndFile; }

std::string IObjects::SuiteFilePath(const std::string& name) { return ProgramFolder() + name; }

std::string IObjects::BackendPath() {
  krvLibrary lib(reg_, fs_, sys_);
  const std::string key = PathKeyPart(std::string(kProductRoot) + "\\" + kBackendPathSetting);
  const std::string name = PathLastPart(kBackendPathSetting);
  std::string path = lib.RegRead(Hive::CurrentUser, key, name, "");
  if (path.empty()) path = lib.RegRead(Hive::LocalMachine, key, name, "");
  if (path.empty() || IsRootedPath(path)) return path;
  return WinPathJoin(ProgramFolder(), path);
}

std::string IObjects::FileVersion(const std::string& path) { return krv::FileVersion(fs_, path); }

std::string IObjects::FrontEndVersion() { return FileVersion(FrontEndPath()); }

std::string IObjects::LibraryVersion() { return FileVersion(SuiteFilePath(kLibraryFile)); }

std::string IObjects::BackendVersion() {
  const std::string path = BackendPath();
  return path.empty() ? std::string() : FileVersion(path);
}

std::string IObjects::FrontEndVersionKey(const char* key) {
  krvCNFFile side(fs_);
  side.Filename = VersionSideFile(FrontEndPath());
  side.RemoveComments = true;
  side.RemoveTrailingTabs = true;
  const auto sections = side.FileRead();
  return sections ? sections->Value("Version", key) : std::string();
}

std::string IObjects::RequiredLibraryVersion() { return FrontEndVersionKey("Library"); }

std::string IObjects::RequiredBackendVersion() { return FrontEndVersionKey("Backend"); }

int IObjects::VersionCompare(const std::string& a, const std::string& b) { return krv::VersionCompare(a, b); }

krvBackend& IObjects::Backend() {
  const std::string path = BackendPath();
  if (!backend_ || backend_->FullPath() != path) backend_ = std::make_unique<krvBackend>(db_, path);
  return *backend_;
}

}  // namespace krv
