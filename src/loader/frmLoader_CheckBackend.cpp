// Clears lock records that a crashed Access left in the backend: only when
// nobody holds the backend's lock file, which is then deleted.
#include "base/WinPath.h"
#include "loader/frmLoader.h"
#include "platform/System.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"

namespace krv {

bool CheckBackend(frmLoader& loader) {
  loader.ShowProgress("Daten-Backend prüfen ...");
  LoaderContext& ctx = loader.context();
  krvBackend& backend = ctx.objects.Backend();
  if (backend.LockCheck()) return true;
  if (backend.RecordCount(kLockTable, "") == 0) return true;
  const std::string lock_file = WinPathFolder(backend.Name()) + WinPathStem(backend.Name()) + ".ldb";
  FileSystem& fs = ctx.lib.fs();
  if (!fs.FileExists(lock_file)) return true;
  try {
    backend.Close();
    ctx.system.PumpMessages();
    ctx.system.PumpMessages();
    // POSIX deletes a file that a running Access holds; Windows refuses. Ask first on both.
    if (!fs.FileHeld(lock_file, nullptr)) fs.DeleteFile(lock_file, nullptr);
  } catch (...) {
    // a lock file that stays means: the backend is in use, its records stay
  }
  const bool released = !fs.FileExists(lock_file);
  if (ctx.reinit_interface) {
    if (!ctx.reinit_interface()) return false;
  } else {
    ctx.objects.Init(true, true);
  }
  if (released) ctx.objects.Backend().EmptyTable(kLockTable, true);
  return true;
}

}  // namespace krv
