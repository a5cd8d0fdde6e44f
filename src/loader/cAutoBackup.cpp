#include "loader/cAutoBackup.h"

#include "base/Text.h"
#include "base/cuAppError.h"
#include "suite/krvBackup.h"
#include "suite/krvLibrary.h"
#include "suite/muKRVFunctions.h"

namespace krv {
namespace {

constexpr char kActiveSetting[] = "AutoBackup\\Active";
constexpr char kIntervalSetting[] = "AutoBackup\\Interval";
constexpr int32_t kUnknownInterval = -1;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int64_t Hours(const LocalTime& t) { return DaysFromCivil(t.year, t.month, t.day) * 24 + t.hour; }

int64_t Seconds(const LocalTime& t) { return (Hours(t) * 60 + t.minute) * 60 + t.second; }

bool DaysPassed(const LocalTime& last, const LocalTime& now, int days) {
  return Seconds(last) + int64_t{days} * 86400 <= Seconds(now);
}

// The setting as a whole number; text that is none reads as an unknown interval.
int32_t ParseInterval(const std::string& text) {
  const std::string_view digits =
      text.starts_with('-') || text.starts_with('+') ? std::string_view(text).substr(1) : text;
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return kUnknownInterval;
  }
  const int32_t value = std::stoi(std::string(digits));
  return text.starts_with('-') ? -value : value;
}

}  // namespace

bool BackupDue(int32_t interval, const LocalTime& last, const LocalTime& now) {
  switch (interval) {
    case 0:
      return DaysPassed(last, now, 1) || (last.day != now.day && Hours(now) - Hours(last) >= 4);
    case 1:
      return DaysPassed(last, now, 7);
    case 2:
      return DaysPassed(last, now, 30);
    default:
      return false;
  }
}

cAutoBackup::cAutoBackup(krvLibrary& lib, IObjects& objects, cuAppError& err) : lib_(lib), err_(err) {
  try {
    backup_ = std::make_unique<krvBackup>(lib, objects, err);
    backup_->Status = [this](const std::string& text) {
      if (Status) Status(text);
    };
    active_ = IEquals(RegRead(lib_, kActiveSetting, true, ""), "1");
    interval_ = ParseInterval(RegRead(lib_, kIntervalSetting, true, "1"));
  } catch (...) {
    err_.ErrRaise(0, "cAutoBackup", "Class_Initialize");
    throw;
  }
}

cAutoBackup::~cAutoBackup() = default;

int32_t cAutoBackup::AutoBackup() {
  try {
    return Run();
  } catch (...) {
    err_.ErrMsg("cAutoBackup", "AutoBackup");
    return kAutoBackupNothing;
  }
}

int32_t cAutoBackup::Run() {
  const std::string folder = backup_->TargetFolder();
  if (folder.empty()) return kAutoBackupNothing;
  if (!lib_.fs().FolderExists(folder)) {
    if (!IsAdmin()) {
      ShowWithAdminHint(err_.MsgLoad(kMsgBackupFolderMissing, folder));
      return kAutoBackupEndStart;
    }
    const int answer = err_.MsgShow(kMsgBackupFolderMissingAdmin, kMbYesNoCancel | kMbIconQuestion, folder);
    if (answer == kIdYes) return kAutoBackupCorrect;
    if (answer != kIdNo) return kAutoBackupEndStart;
    err_.MsgShow(kMsgBackupOffNoFolder, kMbIconInformation);
    SwitchOff();
    return kAutoBackupNothing;
  }

  const std::vector<BackupCopy> copies = backup_->Copies();
  if (!copies.empty() && !BackupDue(interval_, copies.back().time, lib_.system().Now())) return kAutoBackupNothing;
  if (!lib_.fs().FolderWritable(folder)) {
    ShowWithAdminHint(err_.MsgLoad(kMsgBackupFolderNotWritable, folder));
    return kAutoBackupAttempted;
  }
  if (Status) Status(err_.MsgLoad(kMsgBackupRunning));
  const int32_t r = backup_->Backup();
  if (r == kAutoBackupEndStart) return kAutoBackupEndStart;
  if (r == kBackupNothingDone) return kAutoBackupNothing;
  if (r == kBackupAborted) {
    if (IsAdmin()) {
      err_.MsgShow(kMsgBackupAbortedOff, kMbIconExclamation);
      SwitchOff();
    } else {
      ShowWithAdminHint(err_.MsgLoad(kMsgFunctionAborted));
    }
  }
  return kAutoBackupAttempted;
}

bool cAutoBackup::IsAdmin() { return lib_.system().IsAdmin(); }

void cAutoBackup::SwitchOff() { RegWrite(lib_, kActiveSetting, "0", true); }

// `text`, two line breaks, and the note that an administrator must correct the settings.
void cAutoBackup::ShowWithAdminHint(const std::string& text) {
  MsgBoxParams box;
  box.buttons = kMbIconExclamation;
  box.text = text + kCrLf + kCrLf + err_.MsgLoad(kMsgBackupNeedsAdmin);
  err_.MsgShow(0, box);
}

}  // namespace krv
