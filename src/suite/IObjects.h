// The interface library's root object (KrvInt25.IObjects), as far as the
// starter's core needs it: the paths of front end and data backend, and the
// versions of front end, library and backend.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "suite/RegistryService.h"
#include "suite/krvBackend.h"

namespace krv {

// Error numbers of Init (raised as KrvError). The second also stands for a
// data backend older than the front end needs.
inline constexpr int32_t kErrBackendPathNotSet = -2147213308;       // 0x80042004
inline constexpr int32_t kErrMainProgramUnavailable = -2147216356;  // 0x8004141C

class IObjects {
 public:
  // `db` is the database service of the backend object (may be null in tests
  // that never ask it).
  IObjects(Registry& reg, FileSystem& fs, System& sys, Database* db = nullptr);

  // Prepares the object. With `need_backend` a missing backend path raises
  // kErrBackendPathNotSet; with `need_front_end` a missing front end raises
  // kErrMainProgramUnavailable. Source of both errors: "IObjects: Init".
  void Init(bool need_backend, bool need_front_end);

  // Folder of the suite's programs, with a trailing backslash.
  std::string ProgramFolder();
  // Program folder + kFrontEndFile.
  std::string FrontEndPath();
  // The user setting "Options\BackendPath" below the product root, else the
  // machine's; a path without drive or UNC name is taken relative to the
  // program folder. "" when not set.
  std::string BackendPath();
  // Full path of a suite file in the program folder (kLibraryFile).
  std::string SuiteFilePath(const std::string& name);

  // Version texts; "" when unknown.
  std::string FrontEndVersion();
  std::string LibraryVersion();          // of kLibraryFile
  std::string BackendVersion();          // of the data backend
  std::string RequiredLibraryVersion();  // key "Library" of the front end's version file
  std::string RequiredBackendVersion();  // key "Backend" of the front end's version file
  std::string FileVersion(const std::string& path);
  // VersionCompare (VersionCompare.h).
  int VersionCompare(const std::string& a, const std::string& b);

  // The registry service on HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
  RegistryService Reg() { return RegistryService(reg_); }
  // The backend object of the current BackendPath (made anew when it changes).
  krvBackend& Backend();

 private:
  std::string FrontEndVersionKey(const char* key);
  Registry& reg_;
  FileSystem& fs_;
  System& sys_;
  Database* db_;
  std::unique_ptr<krvBackend> backend_;
};

}  // namespace krv
