// The component check step: outdated system components are reported, and the
// user decides whether to start anyway.
#include <memory>

#include "compcheck/cCompCheck.h"
#include "loader/frmLoader.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"

namespace krv {

bool CheckComponents(frmLoader& loader) {
  LoaderContext& ctx = loader.context();
  try {
    std::unique_ptr<SystemFolders> own;
    SystemFolders* folders = ctx.folders;
    if (!folders) {
      own = CreateSystemFolders(ctx.lib.fs(), ctx.system);
      folders = own.get();
    }
    cCompCheck check({ctx.lib.fs(), ctx.lib.registry(), *folders, ctx.err, ctx.ui, ctx.objects.ProgramFolder()});
    return check.Check(ctx.window.Handle());
  } catch (...) {
    return true;  // a failing check never stops the start
  }
}

}  // namespace krv
