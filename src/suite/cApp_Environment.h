// The application's checks for conflicting programs of the suite and for
// administrator rights (members of cApp; cApp hands them its objects).
#pragma once

#include <cstdint>
#include <string>

#include "base/cuAppError.h"

namespace krv {

class krvInfo;
class krvLibrary;

// What is about to be started (the `mode` of CheckEnvironment).
enum EnvironmentMode : int32_t {
  kEnvNoCheck = -1,  // as is 5
  kEnvKorvella = 0,
  kEnvBrowser = 1,
  kEnvVersionInfo = 2,
  kEnvCompressor = 3,
  kEnvSettings = 4,
};

// The refusal text for starting `mode` while other programs of the suite
// run, or "" when the start may go on. A running administrator tools window
// refuses everything (message 226); otherwise the last running program in
// the order main program, compressor, upgrade program, installation,
// browser (unless `skip_browser`), replication decides.
std::string CheckEnvironment(krvInfo& info, cuAppError& err, int32_t mode, bool skip_browser);

// False when the system separates user rights and the user is no
// administrator; then, with `raise_error`, error -2147221503 with the text of
// message 204 is raised (source "cApp: CheckCurrentUserIsAdmin"), without it
// message 204 is shown.
bool CheckCurrentUserIsAdmin(krvInfo& info, cuAppError& err, bool raise_error);

// True when the suite's administrator is confirmed; a confirmation is kept in
// `*admin_confirmed` for the rest of the run, so the library is asked once.
bool CheckKRVAdmin(krvLibrary& lib, bool* admin_confirmed);

}  // namespace krv
