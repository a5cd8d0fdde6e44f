// The info object (KRVInf25.krvInfo): program folder, product root, user
// rights and the queries for programs of the suite that are running.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "suite/SuiteNames.h"

namespace krv {

// Caption of the administrator tools' main window.
inline constexpr char kAdminToolsCaption[] = "KORVELLA II.5 Administrator Tools";

// The running-program queries. Each asks the system afresh.
class krvEnvironment {
 public:
  krvEnvironment(FileSystem& fs, System& sys) : fs_(fs), sys_(sys) {}
  // A window captioned kAdminToolsCaption exists, or the administrator tools run
  // (window captions are not visible on every platform).
  bool AdminToolsWindow();
  // KORVELLA itself: Access runs and the front end's lock file
  // (krv25.ldb in the program folder) exists.
  bool MainProgram();
  bool Compressor();      // kCompressorExe
  bool UpgradeProgram();  // kUpgradeExe
  bool Installation();    // kSetupExe
  bool Browser();         // kBrowserExe
  bool Replication();     // kReplicationExe

  // A process of that executable name runs (any letter case).
  bool ProcessRunning(const char* exe);

  // While a snapshot is held, the queries share one list of the running
  // processes instead of asking the system each time (listing them is the
  // costly part of a check). Scoped: see ProcessSnapshot.
  void HoldSnapshot();
  void ReleaseSnapshot();

 private:
  FileSystem& fs_;
  System& sys_;
  int snapshot_holders_ = 0;
  std::optional<std::vector<std::string>> snapshot_;
};

// Holds a process snapshot of `env` for its own lifetime.
class ProcessSnapshot {
 public:
  explicit ProcessSnapshot(krvEnvironment& env) : env_(env) { env_.HoldSnapshot(); }
  ~ProcessSnapshot() { env_.ReleaseSnapshot(); }
  ProcessSnapshot(const ProcessSnapshot&) = delete;
  ProcessSnapshot& operator=(const ProcessSnapshot&) = delete;

 private:
  krvEnvironment& env_;
};

class krvInfo {
 public:
  krvInfo(Registry& reg, FileSystem& fs, System& sys);
  // Folder of the running executable with a trailing backslash.
  std::string ProgramFolder();
  // "Software\Vantorel\Korvella\10.25" (below HKEY_CURRENT_USER).
  std::string ProductRoot() const;
  // The supported systems all separate user rights.
  bool RightsSeparated() const { return true; }
  bool IsAdmin();
  // msaccess.exe runs (also under Wine).
  bool AccessRunning();
  krvEnvironment& Environment() { return env_; }

 private:
  System& sys_;
  krvEnvironment env_;
};

}  // namespace krv
