// Recommends compressing the backend when it has grown by more than the set
// percentage since its recorded size, and demands it when it is fragmented.
#include "base/Text.h"
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "platform/System.h"
#include "suite/IObjects.h"
#include "suite/krvFormat.h"
#include "suite/krvLibrary.h"
#include "suite/mCommon_CmdLine.h"
#include "suite/muKRVFunctions.h"

namespace krv {
namespace {

uint64_t BackendLength(frmLoader& loader) {
  const std::string& path = loader.context().objects.Backend().FullPath();
  uint64_t length = 0;
  std::string err;
  if (!loader.context().lib.fs().FileLength(path, &length, &err)) {
    throw KrvError(kErrBackendDatabase, "CompressBackend",
                   "Die Größe des Daten-Backends '" + path + "' kann nicht ermittelt werden: " + err);
  }
  return length;
}

// Whether the user wants the compressor after the growth check.
bool GrowthCheck(frmLoader& loader) {
  LoaderContext& ctx = loader.context();
  krvLibrary& lib = ctx.lib;
  const int32_t pct =
      static_cast<int32_t>(NumericValue(GetLibSetting(lib, ctx.err, "BackendCompression", "50")).value_or(0));
  if (pct <= 0) return false;
  const std::string id = ctx.objects.Backend().Identifier();
  if (id.empty()) return false;
  const std::string key = "Compressor\\Backend\\" + id + "\\";
  const std::string full_key = lib.Application().ProductRoot() + "\\" + key;
  const std::optional<double> last = NumericValue(GetSetting(lib, key + "FileSize"));
  if (!lib.registry().KeyExists(Hive::CurrentUser, RemoveTrailingSeparator(full_key)) || !last) {
    CompressBackend_SaveCurrent(loader, key);  // also renews a reference that cannot be read
    return false;
  }
  const uint64_t current = BackendLength(loader);
  const double limit = *last * pct / 100.0 + *last;
  if (limit >= static_cast<double>(current)) {
    CompressBackend_SaveCurrent(loader, key);
    return false;
  }
  const std::string stamp = GetSetting(lib, key + "DateTime");
  const std::string when = stamp.empty() ? "#Datum unbekannt#" : FormatStoredTimestamp(stamp);
  const std::string sizes =
      ctx.err.MsgLoad(kMsgSizeGrowth, FormatFileSize(static_cast<uint64_t>(*last)), FormatFileSize(current));
  if (ctx.err.MsgShow(kMsgCompressRecommended, kMbYesNo | kMbIconQuestion, when, sizes) == kIdYes) return true;
  if (ctx.err.MsgShow(kMsgCompressAskAgain, kMbYesNo | kMbIconQuestion) == kIdNo)
    CompressBackend_SaveCurrent(loader, key);
  return false;
}

}  // namespace

void CompressBackend_SaveCurrent(frmLoader& loader, const std::string& key) {
  try {
    krvLibrary& lib = loader.context().lib;
    SaveSetting(lib, key + "DateTime", StoredTimestamp(loader.context().system.Now()));
    SaveSetting(lib, key + "FileSize", std::to_string(BackendLength(loader)));
    SaveSetting(lib, key + "Path", loader.context().objects.Backend().FullPath());
  } catch (...) {
    loader.context().err.ErrRaise(0, "frmLoader", "CompressBackend_SaveCurrent");
  }
}

bool CompressBackend(frmLoader& loader) {
  loader.ShowProgress("Kompressionsprüfung ...");
  LoaderContext& ctx = loader.context();
  krvBackend& backend = ctx.objects.Backend();
  bool compress = GrowthCheck(loader);
  if (!compress && !backend.TableTest(kAddressTable)) {
    ctx.err.MsgShow(kMsgBackendFragmented, kMbIconExclamation, backend.Name());
    compress = true;
  }
  if (!compress) return true;
  LoaderResult& result = loader.result();
  cmnCmdLineCompressor(ctx.lib, &result.File, &result.Args);
  result.Action = kActionCompressor;
  return false;
}

}  // namespace krv
