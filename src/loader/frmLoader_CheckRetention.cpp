// Warns when the backend is a replica whose replica set expires soon.
#include "base/Text.h"
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "platform/System.h"
#include "suite/IObjects.h"
#include "suite/krvFormat.h"
#include "suite/krvLibrary.h"
#include "suite/mCommon.h"

namespace krv {

bool CheckRetention(frmLoader& loader) {
  loader.ShowProgress("Replikationsprüfung ...");
  LoaderContext& ctx = loader.context();
  const std::optional<LocalTime> expiry = ctx.objects.Backend().ReplicaExpiry();
  if (!expiry) return true;
  std::string key, name;
  cmnParseRegConstant(ctx.lib, "Loader\\RetentionExpireWarning", &key, &name);
  if (!ctx.lib.RegValueExists(Hive::CurrentUser, key, name)) ctx.lib.RegWrite(Hive::CurrentUser, key, name, "14");
  const int32_t days =
      static_cast<int32_t>(NumericValue(ctx.lib.RegRead(Hive::CurrentUser, key, name, "0")).value_or(0));
  if (days <= 0) return true;
  const int32_t left = DaysBetween(ctx.system.Now(), *expiry);
  if (left > days) return true;
  const int32_t icon = left > 3 ? kMbIconExclamation : kMbIconStop;
  return ctx.err.MsgShow(kMsgReplicaExpires, icon | kMbOkCancel, FormatDate(*expiry)) != kIdCancel;
}

}  // namespace krv
