// The loader's last step: the Access command line.
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "platform/FileSystem.h"
#include "platform/System.h"
#include "runmdb/cuRunMDB.h"
#include "suite/AccessCheck.h"
#include "suite/IObjects.h"
#include "suite/SuiteNames.h"
#include "suite/krvInfo.h"
#include "suite/krvLibrary.h"
#include "suite/mCommon_CmdLine.h"
#include "suite/muKRVFunctions.h"

namespace krv {

namespace {

constexpr char kProfileName[] = "Korvella 10.25";
constexpr char kWorkgroupUser[] = "VZ";
constexpr char kWorkgroupPassword[] = "ZBNHte";
constexpr int kRuntimeOption = 5;
constexpr int32_t kAccessVersion2002 = 2;

bool IsOne(const std::string& value) { return value == "1"; }

}  // namespace

std::string CmdLine_AccPath(frmLoader& loader) {
  LoaderContext& ctx = loader.context();
  std::string path = RegRead(ctx.lib, kAccessPathSetting, true, "");
  if (!path.empty() && !ctx.lib.fs().FileExists(path)) path.clear();
  if (!path.empty()) return path;

  AccessCheck check(ctx.lib);
  if (check.Check()) {
    const std::string admin_tools = cmnCmdLineAdminTools(ctx.lib, ctx.lib.fs(), ctx.err);
    if (!admin_tools.empty()) {
      const bool admin = ctx.system.IsAdmin();
      ctx.err.MsgShow(kMsgAccessMissing, kMbIconInformation);
      LoaderResult& result = loader.result();
      result.Action = kActionAdminTools;
      result.File = admin_tools;
      result.Args = " /Access";
      result.Elevate = !admin;
      result.MessageId = kMsgAdminToolsAccessFailed;
    }
  }
  return "";
}

bool CmdLine(frmLoader& loader) {
  LoaderContext& ctx = loader.context();
  loader.ShowProgress(ctx.err.MsgLoad(kMsgEvaluatingOptions));

  RunMdbContext run_ctx{ctx.lib.registry(), ctx.lib.fs(), ctx.objects.ProgramFolder(),
                        ctx.program_name,   kAppTitle,    ctx.pointer};
  cuRunMDB run(run_ctx);
  if (IsOne(GetLibSetting(ctx.lib, ctx.err, "UseProfile", "0"))) run.SetProfile(kProfileName);
  if (!IsOne(GetLibSetting(ctx.lib, ctx.err, "NoRuntime", "0"))) run.SetAccOption(kRuntimeOption, true);

  const std::string access = CmdLine_AccPath(loader);
  if (access.empty()) return false;
  run.SetAccPath(access);
  run.SetAccVersion(kAccessVersion2002);

  const std::string front_end = ctx.objects.FrontEndPath();
  run.SetDBPath(PathKeyPart(front_end));
  run.SetDBFilename(PathLastPart(front_end));
  run.SetSystemDBUser(kWorkgroupUser);
  run.SetSystemDBPwd(kWorkgroupPassword);
  if (run.Profile().empty()) {
    const std::string workgroup = ctx.objects.SuiteFilePath(kWorkgroupFile);
    run.SetSystemDBPath(PathKeyPart(workgroup));
    run.SetSystemDBFilename(PathLastPart(workgroup));
  }
  run.SetCmd(kStarterExe);

  if (!run.GetCommandLine()) return false;
  LoaderResult& result = loader.result();
  result.CommandLine = run.CommandLine();
  result.CommandLineHidden = run.CommandLineHiddenUserPW();
  result.Args = run.CommandLineArgs();
  result.AccPath = run.AccPath();
  result.Action = kActionAccess;
  return true;
}

}  // namespace krv
