#include "loader/frmLoader_CheckFiles.h"

#include "base/WinPath.h"
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/SuiteNames.h"
#include "suite/VersionCompare.h"
#include "suite/krvLibrary.h"
#include "suite/muKRVFunctions.h"

namespace krv {
namespace {

constexpr uint32_t kAttrsToReset = kAttrReadOnly | kAttrHidden | kAttrSystem;

// Clears read-only, hidden and system; the archive bit stays for backup
// tools. Errors are ignored: Access reports a file it cannot open.
void ResetAttributes(FileSystem& fs, const std::string& path) {
  uint32_t attrs = 0;
  if (!fs.GetAttributes(path, &attrs, nullptr) || (attrs & kAttrDirectory) || !(attrs & kAttrsToReset)) return;
  fs.SetAttributes(path, (attrs & kAttrArchive) ? kAttrArchive : kAttrNormal, nullptr);
}

// Jet's lock file of a database: same folder, same name, ".ldb".
std::string LockFile(const std::string& folder, const std::string& database) {
  return WinPathJoin(folder, WinPathStem(database) + ".ldb");
}

// A lock file that a process still holds belongs to a running Access and
// stays (Windows refuses the delete anyway; POSIX would not).
void DeleteStaleLock(FileSystem& fs, const std::string& lock) {
  if (fs.FileExists(lock) && !fs.FileHeld(lock, nullptr)) fs.DeleteFile(lock, nullptr);
}

}  // namespace

bool CheckFiles(frmLoader& loader) {
  LoaderContext& ctx = loader.context();
  FileSystem& fs = ctx.lib.fs();
  loader.ShowProgress("Dateiprüfung ...");
  if (GetLibSetting(ctx.lib, ctx.err, "CheckFiles", "1") != "1") return true;

  const std::string front_end = ctx.objects.FrontEndPath();
  ResetAttributes(fs, front_end);
  const std::string dir = WinPathFolder(front_end);
  const std::string workgroup = ctx.objects.SuiteFilePath(kWorkgroupFile);
  DeleteStaleLock(fs, LockFile(WinPathFolder(workgroup), workgroup));
  const std::string library = ctx.objects.SuiteFilePath(kLibraryFile);
  DeleteStaleLock(fs, LockFile(WinPathFolder(library), library));
  ResetAttributes(fs, library);

  if (GetLibSetting(ctx.lib, ctx.err, "CheckLib", "1") == "1") {
    loader.ShowProgress("Prüfung der LibraryMDE ...");
    const std::string msg = CheckLib(loader);
    if (!msg.empty()) {
      MsgBoxParams box;
      box.buttons = kMbIconStop;
      box.text = msg;
      ctx.err.MsgShow(0, box);
      return false;
    }
  }

  loader.ShowProgress("Module werden geprüft ...");
  for (const DirEntry& entry : fs.List(WinPathJoin(dir, "*.mda"))) {
    if (!entry.is_folder) DeleteStaleLock(fs, LockFile(dir, entry.name));
  }
  return true;
}

std::string CheckLib(frmLoader& loader) {
  LoaderContext& ctx = loader.context();
  try {
    const std::string have = ctx.objects.LibraryVersion();
    const std::string need = ctx.objects.RequiredLibraryVersion();
    // A front end that names no library version requires none.
    if (need.empty() || ctx.objects.VersionCompare(need, have) == kVersionEqual) return {};
    return ctx.err.MsgLoad(kMsgWrongLibrary, kLibraryFile) + kCrLf +
           ctx.err.MsgLoad(kMsgVersionTargetActual, need, have);
  } catch (...) {
    const KrvError e = cuAppError::CurrentError();
    return "Fehler Nr. " + std::to_string(e.number) + " bei der Versionprüfung der LibraryMDE: " + e.description;
  }
}

}  // namespace krv
