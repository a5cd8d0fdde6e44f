// Decides at each start whether a backup copy of the data backend is due,
// checks the target folder and has the backup component make the copy.
// Settings (machine, below the product root): "AutoBackup\Active" ("1" on)
// and "AutoBackup\Interval" (0 daily, 1 weekly, 2 monthly; default 1).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/System.h"

namespace krv {

class cuAppError;
class IObjects;
class krvBackup;
class krvLibrary;

// What AutoBackup answers.
enum AutoBackupCode : int32_t {
  kAutoBackupNothing = 0,    // nothing done: go on
  kAutoBackupCorrect = 1,    // the target folder shall be corrected in the administrator tools
  kAutoBackupAttempted = 2,  // a copy was attempted or a problem reported: go on
  kAutoBackupEndStart = 3,   // the start shall end
};

// Whether a copy is due at `now` when the newest one is from `last`. Daily:
// a whole day has passed, or the day of the month changed and at least four
// hour boundaries lie between the two. Weekly: 7 days; monthly: 30 days;
// any other interval: never.
bool BackupDue(int32_t interval, const LocalTime& last, const LocalTime& now);

class cAutoBackup {
 public:
  // Creates the backup component over the interface library's root object
  // and reads the settings.
  cAutoBackup(krvLibrary& lib, IObjects& objects, cuAppError& err);
  ~cAutoBackup();
  cAutoBackup(const cAutoBackup&) = delete;
  cAutoBackup& operator=(const cAutoBackup&) = delete;

  bool Active() const { return active_; }
  int32_t Interval() const { return interval_; }
  int32_t AutoBackup();

  // Raised with a progress text.
  std::function<void(const std::string&)> Status;

 private:
  int32_t Run();
  bool IsAdmin();
  void SwitchOff();
  void ShowWithAdminHint(const std::string& text);

  krvLibrary& lib_;
  cuAppError& err_;
  std::unique_ptr<krvBackup> backup_;
  bool active_ = false;
  int32_t interval_ = 1;
};

}  // namespace krv
