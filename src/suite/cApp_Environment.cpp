#include "suite/cApp_Environment.h"

#include "suite/krvInfo.h"
#include "suite/krvLibrary.h"

namespace krv {
namespace {

using Query = bool (krvEnvironment::*)();

// One running program and the message for each mode: browser, version
// information, compressor, settings, and KORVELLA (also any other mode);
// 0 means the program does not stand in the way.
struct ConflictRow {
  Query running;
  bool is_browser;
  int32_t message[5];
};

constexpr ConflictRow kConflicts[] = {
    {&krvEnvironment::MainProgram, false, {0, 162, 198, 126, 103}},
    {&krvEnvironment::Compressor, false, {130, 163, 202, 128, 104}},
    {&krvEnvironment::UpgradeProgram, false, {156, 164, 197, 155, 157}},
    {&krvEnvironment::Installation, false, {159, 165, 199, 158, 160}},
    {&krvEnvironment::Browser, true, {131, 166, 200, 127, 0}},
    {&krvEnvironment::Replication, false, {176, 177, 201, 175, 178}},
};

int Column(int32_t mode) { return mode >= kEnvBrowser && mode <= kEnvSettings ? mode - 1 : 4; }

}  // namespace

std::string CheckEnvironment(krvInfo& info, cuAppError& err, int32_t mode, bool skip_browser) {
  try {
    if (mode == kEnvNoCheck || mode == 5) return {};
    krvEnvironment& env = info.Environment();
    const ProcessSnapshot snapshot(env);  // one look at the running programs serves every query
    if (env.AdminToolsWindow()) return err.MsgLoad(kMsgAdminToolsRunning);
    std::string text;
    for (const ConflictRow& row : kConflicts) {
      if (row.is_browser && skip_browser) continue;
      if (!(env.*row.running)()) continue;
      // A program that does not stand in the way leaves an earlier refusal as it is.
      const int32_t id = row.message[Column(mode)];
      if (id != 0) text = err.MsgLoad(id);
    }
    return text;
  } catch (...) {
    err.ErrRaise(0, "cApp", "CheckEnvironment");
  }
  return {};
}

bool CheckCurrentUserIsAdmin(krvInfo& info, cuAppError& err, bool raise_error) {
  try {
    if (!info.RightsSeparated() || info.IsAdmin()) return true;
    if (raise_error) throw KrvError(kErrNoMessage, kProjectName, err.MsgLoad(kMsgAdminRightsNeeded));
    err.MsgShow(kMsgAdminRightsNeeded, kMbIconExclamation);
    return false;
  } catch (...) {
    err.ErrRaise(0, "cApp", "CheckCurrentUserIsAdmin");
  }
  return false;
}

bool CheckKRVAdmin(krvLibrary& lib, bool* admin_confirmed) {
  if (*admin_confirmed) return true;
  if (!lib.Application().AdminCheck()) return false;
  *admin_confirmed = true;
  return true;
}

}  // namespace krv
