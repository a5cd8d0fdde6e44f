#include "suite/muKRVFunctions_Init.h"

#include "base/Text.h"
#include "suite/Components.h"
#include "suite/SuiteNames.h"
#include "suite/VersionCompare.h"
#include "suite/krvCNFFile.h"
#include "suite/krvLibrary.h"
#include "suite/mLibFunctions_AppRunEx.h"

namespace krv {
namespace {

constexpr char kModule[] = "muKRVFunctions";
constexpr char kInterfaceProgId[] = "KrvInt25.IObjects";
constexpr char kCannotRun[] = "Dieses Programm kann nicht ausgeführt werden, ";

// The texts the starter shows for the library's errors; others pass unchanged.
std::string InitErrorText(const KrvError& e) {
  switch (e.number) {
    case kErrBackendPathNotSet:
      return std::string(kCannotRun) + "wenn der Pfad des Backends nicht gesetzt wurde.";
    case kErrMainProgramUnavailable:
      return e.description + kCrLf + kCrLf + kCannotRun + "wenn das KORVELLA Hauptprogramm nicht verfügbar ist.";
    case kErrCannotCreateComponent:
      return std::string("Mindestens eine Datei ist nicht korrekt installiert oder registriert.") + kCrLf +
             "Sie können dieses Programm erst nach vollständiger und erfolgreicher Installation von KORVELLA II "
             "ausführen.";
    default:
      return e.description;
  }
}

IObjects& InterfaceObject(InterfaceDLLContext& ctx) {
  if (!ctx.objects) {
    const ComponentResult created = CreateComponent(ctx.reg, kInterfaceProgId);
    if (created.number != 0) throw KrvError(created.number, kInterfaceProgId, created.description);
    ctx.objects = std::make_unique<IObjects>(ctx.reg, ctx.fs, ctx.sys, ctx.db);
  }
  return *ctx.objects;
}

// The version the upgrade program takes as input, "" when it cannot be read.
std::string UpgradeInputVersion(FileSystem& fs, const std::string& config_file) {
  try {
    krvCNFFile reader(fs);
    reader.Filename = config_file;
    reader.RemoveComments = true;
    reader.RemoveTrailingTabs = true;
    const std::optional<CnfSections> sections = reader.FileRead();
    return sections ? sections->Value("Backend", "Version") : std::string();
  } catch (...) {
    return {};  // an unreadable configuration only means: no offer
  }
}

}  // namespace

bool FileRead(InterfaceDLLContext& ctx, const std::string& backend_version, const std::string& needed_version) {
  try {
    const std::string folder = AddTrailingSeparator(ctx.lib.Application().ProgramFolder());
    const std::string program = folder + kUpgradeExe;
    if (!ctx.fs.FileExists(program)) return false;
    const std::string version = UpgradeInputVersion(ctx.fs, folder + kUpgradeCnf);
    if (version.empty() || VersionCompare(backend_version, version) != kVersionEqual) return false;
    if (!ctx.fs.FileExists(program)) return false;
    if (ctx.err.MsgShow(kMsgUpgradeOffer, kMbIconExclamation | kMbYesNo, backend_version, needed_version) != kIdYes)
      return false;
    return AppRunEx(ctx.shell, ctx.err, program, kUpgradeArgs, "", 0, 1, false, false);
  } catch (...) {
    ctx.err.ErrRaise(0, kModule, "FileRead");
  }
  return false;
}

bool krvInitInterfaceDLL(InterfaceDLLContext& ctx, bool first, bool second) {
  try {
    try {
      IObjects& objects = InterfaceObject(ctx);
      objects.Init(first, second);
      if (!first || !second) return true;
      const std::string backend = objects.BackendVersion();
      const std::string needed = objects.RequiredBackendVersion();
      if (IEquals(backend, needed) || objects.VersionCompare(needed, backend) != kVersionHigher) return true;
      if (FileRead(ctx, backend, needed)) return false;
      // Access must not open a backend older than its front end expects.
      throw KrvError(kErrMainProgramUnavailable, "IObjects: Init",
                     "Das Daten-Backend '" + objects.BackendPath() + "' hat die Version " + backend +
                         ", es wird jedoch die Version " + needed + " benötigt.");
    } catch (...) {
      const KrvError e = cuAppError::CurrentError();
      KrvError shown = e;
      shown.description = InitErrorText(e);
      throw shown;
    }
  } catch (...) {
    ctx.err.ErrRaise(0, kModule, "krvInitInterfaceDLL");
  }
  return false;
}

}  // namespace krv
