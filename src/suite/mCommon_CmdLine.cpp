#include "suite/mCommon_CmdLine.h"

#include "suite/SuiteNames.h"
#include "suite/krvLibrary.h"

namespace krv {

std::string cmnCmdLineAdminTools(krvLibrary& lib, FileSystem& fs, cuAppError& err) {
  const std::string path = AddTrailingSeparator(lib.Application().ProgramFolder()) + kAdminToolsExe;
  if (fs.FileExists(path)) return path;
  err.MsgShow(kMsgFileMissing, kMbIconStop, path);
  return {};
}

std::string cmnCmdLineCompressor(krvLibrary& lib, std::string* file, std::string* args) {
  *file = AddTrailingSeparator(lib.Application().ProgramFolder()) + kCompressorExe;
  *args = kCompressorArgs;
  return *file + " " + *args;
}

}  // namespace krv
