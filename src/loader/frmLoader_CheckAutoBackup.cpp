// The loader's automatic-backup step.
#include "base/cuAppError.h"
#include "loader/cAutoBackup.h"
#include "loader/frmLoader.h"
#include "suite/krvLibrary.h"
#include "suite/mCommon_CmdLine.h"

namespace krv {

bool CheckAutoBackup(frmLoader& loader) {
  LoaderContext& ctx = loader.context();
  loader.ShowProgress(ctx.err.MsgLoad(kMsgCheckingAutoBackup));
  loader.m_AutoBackup = std::make_shared<cAutoBackup>(ctx.lib, ctx.objects, ctx.err);
  cAutoBackup& backup = *loader.m_AutoBackup;
  backup.Status = [&loader](const std::string& text) { loader.ShowProgress(text); };
  if (!backup.Active()) return true;

  LoaderResult& result = loader.result();
  switch (backup.AutoBackup()) {
    case kAutoBackupCorrect:
      result.Action = kActionAdminTools;
      result.File = cmnCmdLineAdminTools(ctx.lib, ctx.lib.fs(), ctx.err);
      result.Args = "/AutoBackup";
      result.Elevate = true;
      return false;
    case kAutoBackupEndStart:
      result.Action = ctx.no_menu ? kActionNothing : kActionMenu;
      return false;
    default:
      return true;
  }
}

}  // namespace krv
