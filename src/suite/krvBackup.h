// The backup component: copies of the data backend in the target folder
// "AutoBackup\Folder" (machine setting below the product root). A copy is
// written under a temporary name, flushed, compared with the backend by size
// and checksum and only then renamed to its dated name, so the folder never
// holds a partial copy under a copy name. src/suite/README.md lists the
// settings.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/System.h"

namespace krv {

class cuAppError;
class IObjects;
class krvLibrary;

// Machine settings below the product root.
inline constexpr char kBackupFolderSetting[] = "AutoBackup\\Folder";
inline constexpr char kBackupKeepSetting[] = "AutoBackup\\Keep";

// What Backup answers.
enum BackupResult : int32_t {
  kBackupNothingDone = 0,  // no target folder or no backend
  kBackupAborted = 1,      // the settings are wrong: the folder may not hold copies
  kBackupMade = 2,         // a verified copy was made
  kBackupProblem = 4,      // a problem was reported, no copy made; the start may go on
};

struct BackupCopy {
  std::string name;
  LocalTime time;  // from the name
};

class krvBackup {
 public:
  krvBackup(krvLibrary& lib, IObjects& objects, cuAppError& err);

  // The target folder as set, "" when not set.
  std::string TargetFolder();
  // Copies of the current backend in the target folder, oldest first.
  std::vector<BackupCopy> Copies();
  // Makes one copy and reports every problem itself (message boxes).
  int32_t Backup();

  // Progress texts (percent and MB/s) during the copy, at most twice a second.
  std::function<void(const std::string&)> Status;

 private:
  bool RefuseFolder(const std::string& folder, const std::string& backend, int32_t* code);
  bool EnoughSpace(const std::string& folder, uint64_t size);
  void RemoveLeftovers(const std::string& folder, const std::string& backend_name);
  bool CopyAndVerify(const std::string& backend, const std::string& temp, uint64_t size, std::string* why);
  void RemoveBeyondKeep(const std::string& folder);
  void Problem(const std::string& text, const std::string& arg1, const std::string& arg2 = {});

  krvLibrary& lib_;
  IObjects& objects_;
  cuAppError& err_;
};

}  // namespace krv
