#include "loader/frmLoader.h"

#include "base/cuAppError.h"
#include "loader/frmLoader_CheckFiles.h"
#include "loader/frmLoader_TrustedLocations.h"
#include "platform/System.h"

namespace krv {

namespace {
constexpr int kLinesPerPage = 9;
}  // namespace

frmLoader::frmLoader(LoaderContext context) : frmLoader(std::move(context), StandardSteps()) {}

frmLoader::frmLoader(LoaderContext context, std::vector<NamedStep> steps)
    : ctx_(std::move(context)), steps_(std::move(steps)) {}

std::vector<frmLoader::NamedStep> frmLoader::StandardSteps() {
  return {
      {"CheckLastSyncDate", CheckLastSyncDate},
      {"CheckEnvironment", CheckEnvironment},
      {"CheckBackend", CheckBackend},
      {"CheckUpgrade", CheckUpgrade},
      {"CheckFiles", CheckFiles},
      {"CheckComponents", CheckComponents},
      {"CheckRetention", CheckRetention},
      {"CompressBackend", CompressBackend},
      {"CheckAutoBackup", CheckAutoBackup},
      {"TrustedLocations", TrustedLocations},
      {"CmdLine", CmdLine},
  };
}

LoaderResult frmLoader::pubInit() {
  try {
    result_ = LoaderResult{};
    ctx_.window.Show(kAppTitle);
    ctx_.system.PumpMessages();
    for (const NamedStep& step : steps_) {
      bool go_on = false;
      try {
        go_on = step.run(*this);
      } catch (...) {
        ctx_.err.ErrRaise(0, "frmLoader", step.name);
      }
      if (!go_on) break;
    }
    return result_;
  } catch (...) {
    ctx_.err.ErrRaise(0, "frmLoader", "pubInit");
    throw;  // ErrRaise always raises inside a handler
  }
}

void frmLoader::ShowProgress(const std::string& text) {
  if (lines_ > kLinesPerPage - 1) {
    lines_ = 0;
    label_.clear();
  }
  label_ = text + "\r\n" + label_;
  ++lines_;
  ctx_.window.SetText(label_, text);
  ctx_.system.PumpMessages();
}

bool CheckEnvironment(frmLoader& loader) {
  loader.ShowProgress("Umgebung prüfen ...");
  int width = 0, height = 0;
  if (!loader.context().system.PrimaryScreenSize(&width, &height)) return true;  // nothing known, nothing refused
  if (width < 1024 || height < 768) {
    loader.context().err.MsgShow(kMsgScreenTooSmall, kMbIconExclamation, width, height);
    return false;
  }
  return true;
}

}  // namespace krv
