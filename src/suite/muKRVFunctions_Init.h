// Preparing the interface library before a start, and the offer to upgrade a
// data backend that is older than the front end needs.
#pragma once

#include <memory>
#include <string>

#include "base/cuAppError.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "suite/IObjects.h"

namespace krv {

class krvLibrary;

inline constexpr char kUpgradeArgs[] = "/Update";

// What the two procedures work with. `objects` is the process's interface
// library object (created here on first use).
struct InterfaceDLLContext {
  Registry& reg;
  FileSystem& fs;
  System& sys;
  Shell& shell;
  cuAppError& err;
  krvLibrary& lib;
  std::unique_ptr<IObjects>& objects;
  Database* db = nullptr;  // the backend object's database service
};

// Creates the interface library object if needed and prepares it: `first`
// requires the data backend's path, `second` the front end; with both, a
// backend older than the front end needs leads to FileRead's upgrade offer.
// Returns true when the start may go on, false when the upgrade program was
// started (the caller then ends the starter).
// Errors are raised with their fixed texts (0x80042004 no backend path,
// 0x8004141C main program unavailable, 429 component missing) and the source
// "muKRVFunctions: krvInitInterfaceDLL"; a backend that stays too old is
// error 0x8004141C.
bool krvInitInterfaceDLL(InterfaceDLLContext& ctx, bool first, bool second);

// Offers the upgrade (message 182) when the upgrade program (kUpgradeExe)
// exists and its configuration file (kUpgradeCnf) names `backend_version` as
// the version it upgrades from; on Yes starts the upgrade program with
// "/Update" and returns true (the starter is then to end). Missing programs,
// files, sections or keys give false without a word.
bool FileRead(InterfaceDLLContext& ctx, const std::string& backend_version, const std::string& needed_version);

}  // namespace krv
