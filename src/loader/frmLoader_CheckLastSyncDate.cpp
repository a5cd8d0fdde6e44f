// The update reminder: when the last online update is older than the set
// number of days, offer to start the version information.
#include "base/MessageIds.h"
#include "base/Text.h"
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "platform/System.h"
#include "suite/IObjects.h"
#include "suite/StoredTimestamp.h"
#include "suite/SuiteNames.h"
#include "suite/krvLibrary.h"
#include "suite/mCommon.h"

namespace krv {

namespace {

constexpr char kReminderDays[] = "Loader\\CheckLastSyncDate";
constexpr char kLastSync[] = "VersionInfo\\LastSyncDate";
constexpr char kDefaultReminderDays[] = "120";
constexpr char kVersionInfoArgs[] = "/AllowLoader";

// A setting of the current user below the product root.
class UserSetting {
 public:
  UserSetting(krvLibrary& lib, const char* name) : lib_(lib) { cmnParseRegConstant(lib, name, &key_, &value_); }
  bool Exists() { return lib_.RegValueExists(Hive::CurrentUser, key_, value_); }
  std::string Read() { return lib_.RegRead(Hive::CurrentUser, key_, value_, "0"); }
  void Write(const std::string& text) { lib_.RegWrite(Hive::CurrentUser, key_, value_, text); }

 private:
  krvLibrary& lib_;
  std::string key_, value_;
};

// The setting's number as a 32-bit integer; 0 when it is none.
int32_t NumberOf(const std::string& text) {
  const std::optional<double> n = NumericValue(text);
  if (!n || *n != *n || *n >= 2147483647.5 || *n < -2147483648.5) return 0;
  return static_cast<int32_t>(*n < 0 ? *n - 0.5 : *n + 0.5);
}

}  // namespace

bool CheckLastSyncDate(frmLoader& loader) {
  LoaderContext& ctx = loader.context();
  loader.ShowProgress("Programmaktualität prüfen ...");

  UserSetting reminder(ctx.lib, kReminderDays);
  if (!reminder.Exists()) {
    reminder.Write(kDefaultReminderDays);
    return true;
  }
  const int32_t days = NumberOf(reminder.Read());
  if (days == 0) return true;

  UserSetting last_sync(ctx.lib, kLastSync);
  if (!last_sync.Exists()) return true;
  // An unreadable timestamp gives no reminder: one on every start would be worse.
  const std::optional<CivilDate> last = ParseStoredTimestamp(last_sync.Read());
  if (!last) return true;
  const LocalTime now = ctx.system.Now();
  const int64_t elapsed = DayNumber({now.year, now.month, now.day}) - DayNumber(*last);
  if (elapsed <= days) return true;

  const std::string version_info = ctx.objects.ProgramFolder() + kVersionInfoExe;
  if (!ctx.lib.fs().FileExists(version_info)) return true;

  if (!ctx.system.IsAdmin()) {
    if (ctx.err.MsgShow(kMsgUpdateReminderNoAdmin, kMbYesNo | kMbIconExclamation, elapsed) == kIdNo) {
      reminder.Write("0");
    }
    return true;
  }
  if (ctx.err.MsgShow(kMsgUpdateReminder, kMbYesNo | kMbIconExclamation, elapsed) == kIdYes) {
    LoaderResult& result = loader.result();
    result.File = version_info;
    result.Args = kVersionInfoArgs;
    result.Action = kActionVersionInfo;
    return false;
  }
  if (ctx.err.MsgShow(kMsgUpdateReminderOff, kMbYesNo | kMbIconQuestion | kMbDefButton2) == kIdYes) {
    reminder.Write("0");
  }
  return true;
}

}  // namespace krv
