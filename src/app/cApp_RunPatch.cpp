// The patch run: the first step of Init.
#include "app/cApp.h"
#include "app/mGlobals.h"
#include "base/Text.h"
#include "base/WinPath.h"
#include "suite/SuiteNames.h"
#include "suite/krvLibrary.h"

namespace krv {

namespace {
constexpr char kStarterTitle[] = "KORVELLA II.5 Startprogramm";
}  // namespace

int32_t cApp::RunPatch(std::string* file, std::string* args) {
  try {
    krvLibrary& lib = g_.Library();
    const std::string root = RemoveTrailingSeparator(info_->ProductRoot());
    if (!lib.RegValueExists(Hive::CurrentUser, root + "\\Loader", "RunPatch")) return kPatchGoOn;
    if (!IEquals(lib.RegRead(Hive::CurrentUser, root + "\\Loader", "RunPatch", "0"), "1")) return kPatchGoOn;

    const std::string patch = AddTrailingSeparator(lib.Application().ProgramFolder()) + kPatchExe;
    if (!g_.env.fs.FileExists(patch)) return kPatchGoOn;

    switch (
        err_->MsgShow(info_->IsAdmin() ? kMsgPatchNeededAdmin : kMsgPatchNeeded, kMbYesNoCancel | kMbIconQuestion)) {
      case kIdCancel:
        return kPatchStop;
      case kIdYes: {
        lib.RegWrite(Hive::CurrentUser, root + "\\Patch", "Run",
                     AddTrailingSeparator(ProgramDir()) + ProgramName() + ".exe /L");
        *file = patch;
        *args = PrepareArgument(std::string("/") + kStarterTitle);
        return kPatchRun;
      }
      default:
        return kPatchGoOn;
    }
  } catch (...) {
    err_->ErrRaise(0, "cApp", "RunPatch");
    throw;
  }
}

}  // namespace krv
