// Starting programs on POSIX hosts. The argument text is split by the Windows
// rules, so a wrapper script receives what msaccess.exe would. The show
// number has no meaning here and is ignored.
//
// Elevation runs "pkexec <program> <args>": polkit asks for the password and
// starts the program as root. Without pkexec the start fails and says so. A
// refused password prompt is a failed start when the caller waits; without
// waiting it cannot be told. A process that already runs as root starts the
// program directly.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace krv {

struct SpawnPlan {
  std::string program;            // native path of the executable
  std::vector<std::string> argv;  // argv[0] first
  std::string directory;          // native working folder; empty: ours
  // In a session of its own, so that it lives on when the starter's terminal closes.
  bool new_session = false;
};

// posix_spawn; the working folder through posix_spawn_file_actions_addchdir_np,
// so only where the C library has it (kSpawnCanChdir). False, with `err`, when
// the program could not be started, a failed exec included.
bool SpawnWithPosixSpawn(const SpawnPlan& plan, pid_t* pid, std::string* err);
// fork, chdir and exec; a failed exec is reported back through a
// close-on-exec pipe. For C libraries without the chdir action.
bool SpawnWithFork(const SpawnPlan& plan, pid_t* pid, std::string* err);
extern const bool kSpawnCanChdir;

class PosixShell final : public Shell {
 public:
  // Names without a folder are searched in $PATH; root needs no elevation.
  PosixShell();
  // For tests: the folders to search (':'-separated) and whether we are root.
  PosixShell(std::string search_path, bool is_admin) : search_path_(std::move(search_path)), is_admin_(is_admin) {}
  ~PosixShell() override { Reap(); }
  PosixShell(const PosixShell&) = delete;
  PosixShell& operator=(const PosixShell&) = delete;

  // The program must exist and be executable before anything is started.
  bool Start(const ShellStart& start, std::string* err) override;

 private:
  bool FindProgram(const std::string& file, std::string* native, std::string* err) const;
  // Collects programs started without waiting that have ended since.
  void Reap();

  std::string search_path_;
  bool is_admin_ = false;
  std::vector<pid_t> running_;
};

}  // namespace krv
