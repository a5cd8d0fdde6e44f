// Offers the upgrade program when the backend is still empty and a
// predecessor installation with its own backend is found.
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "runmdb/cuKrv82Detect.h"
#include "suite/IObjects.h"
#include "suite/SuiteNames.h"
#include "suite/krvLibrary.h"

namespace krv {

bool CheckUpgrade(frmLoader& loader) {
  loader.ShowProgress("Datenbestand prüfen ...");
  LoaderContext& ctx = loader.context();
  const std::string backend = ctx.objects.BackendPath();
  if (backend.empty()) return true;
  if (!ctx.objects.Backend().IsEmpty()) return true;
  const cuKrv82Detect predecessor(ctx.lib.registry(), ctx.lib.fs());
  if (predecessor.BackendPath().empty()) return true;
  const std::string program = ctx.objects.SuiteFilePath(kUpgradeExe);
  if (!ctx.lib.fs().FileExists(program)) return true;
  if (ctx.err.MsgShow(kMsgUpgradePredecessor, kMbYesNo | kMbIconQuestion, backend) != kIdYes) return true;
  LoaderResult& result = loader.result();
  result.File = program;
  result.Args = " /D" + PrepareArgument(backend);  // "/D" and the path reach the program as one argument
  result.Action = kActionUpgrade;
  return false;
}

}  // namespace krv
