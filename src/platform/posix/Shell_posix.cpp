// POSIX only: starting programs with posix_spawn.
#include "platform/posix/Shell_posix.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "base/WinPath.h"
#include "platform/WinCommandLine.h"
#include "platform/posix/NativePath_posix.h"

extern char** environ;

namespace krv {
namespace {

#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 29))
#define KRV_SPAWN_CHDIR 1
#else
#define KRV_SPAWN_CHDIR 0
#endif

std::string Reason(int e) { return std::error_code(e, std::generic_category()).message(); }

bool Fail(std::string* err, const std::string& api, const std::string& arg, const std::string& reason) {
  if (err) *err = api + "(" + arg + "): " + reason;
  return false;
}

// argv as the exec functions want it; the strings stay owned by `plan`.
std::vector<char*> ArgvPointers(const SpawnPlan& plan) {
  std::vector<char*> out;
  for (const auto& arg : plan.argv) out.push_back(const_cast<char*>(arg.c_str()));
  out.push_back(nullptr);
  return out;
}

bool IsExecutableFile(const std::string& native) {
  struct stat st;
  return stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(native.c_str(), X_OK) == 0;
}

// The exit code of the ended child; -1 when it did not end normally or
// cannot be waited for.
int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

const bool kSpawnCanChdir = KRV_SPAWN_CHDIR != 0;

bool SpawnWithPosixSpawn(const SpawnPlan& plan, pid_t* pid, std::string* err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int rc = 0;
  if (!plan.directory.empty()) {
#if KRV_SPAWN_CHDIR
    rc = posix_spawn_file_actions_addchdir_np(&actions, plan.directory.c_str());
#else
    rc = ENOSYS;
#endif
  }
  std::vector<char*> argv = ArgvPointers(plan);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  if (rc == 0 && plan.new_session) rc = posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  if (rc == 0) rc = posix_spawn(pid, plan.program.c_str(), &actions, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return Fail(err, "posix_spawn", plan.program, Reason(rc));
  return true;
}

bool SpawnWithFork(const SpawnPlan& plan, pid_t* pid, std::string* err) {
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return Fail(err, "pipe", plan.program, Reason(errno));
  std::vector<char*> argv = ArgvPointers(plan);
  const pid_t child = fork();
  if (child == 0) {
    // Only async-signal-safe calls from here on.
    close(report[0]);
    int e = 0;
    if (plan.new_session) setsid();
    if (!plan.directory.empty() && chdir(plan.directory.c_str()) != 0) {
      e = errno;
    } else {
      execve(plan.program.c_str(), argv.data(), environ);
      e = errno;
    }
    if (write(report[1], &e, sizeof e) < 0) _exit(127);
    _exit(127);
  }
  close(report[1]);
  if (child < 0) {
    close(report[0]);
    return Fail(err, "fork", plan.program, Reason(errno));
  }
  int e = 0;
  ssize_t n;
  do {
    n = read(report[0], &e, sizeof e);
  } while (n < 0 && errno == EINTR);
  close(report[0]);
  if (n == 0) {  // the pipe closed on exec: the program runs
    *pid = child;
    return true;
  }
  WaitFor(child);
  return Fail(err, "exec", plan.program, Reason(n == sizeof e ? e : EIO));
}

PosixShell::PosixShell() : is_admin_(geteuid() == 0) {
  const char* path = std::getenv("PATH");
  search_path_ = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
}

bool PosixShell::FindProgram(const std::string& file, std::string* native, std::string* err) const {
  if (file.find_first_of("\\/") != std::string::npos) {
    if (!FindNativePath(file, native, err)) return false;
    struct stat st;
    if (stat(native->c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return Fail(err, "Start", file, "program not found");
    if (!IsExecutableFile(*native)) return Fail(err, "Start", file, "program is not executable");
    return true;
  }
  if (!file.empty()) {
    size_t begin = 0;
    for (;;) {
      const size_t end = search_path_.find(':', begin);
      std::string folder = search_path_.substr(begin, end == std::string::npos ? end : end - begin);
      if (folder.empty()) folder = ".";
      if (FindNativePath(WinPathJoin(NativeToWinPath(folder), file), native, nullptr) && IsExecutableFile(*native)) {
        return true;
      }
      if (end == std::string::npos) break;
      begin = end + 1;
    }
  }
  return Fail(err, "Start", file, "program not found in PATH");
}

void PosixShell::Reap() {
  std::vector<pid_t> still;
  for (const pid_t pid : running_) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == 0) still.push_back(pid);
  }
  running_ = std::move(still);
}

bool PosixShell::Start(const ShellStart& start, std::string* err) {
  Reap();
  SpawnPlan plan;
  if (!FindProgram(start.file, &plan.program, err)) return false;
  if (!start.directory.empty()) {
    struct stat st;
    if (!FindNativePath(start.directory, &plan.directory, err)) return false;
    if (stat(plan.directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      return Fail(err, "Start", start.directory, "working folder not found");
    }
  }
  plan.argv.push_back(plan.program);
  for (auto& arg : SplitWindowsArgs(start.args)) plan.argv.push_back(std::move(arg));
  const bool via_pkexec = start.elevate && !is_admin_;
  if (via_pkexec) {
    std::string pkexec;
    if (!FindProgram("pkexec", &pkexec, nullptr)) {
      return Fail(err, "Start", start.file, "administrator rights need pkexec, which is not installed");
    }
    plan.argv.insert(plan.argv.begin(), "pkexec");
    plan.program = pkexec;
  }
  // pkexec may have to ask for the password on our terminal.
  plan.new_session = !start.wait && !via_pkexec;
  pid_t pid = 0;
  const bool started =
      plan.directory.empty() || kSpawnCanChdir ? SpawnWithPosixSpawn(plan, &pid, err) : SpawnWithFork(plan, &pid, err);
  if (!started) return false;
  if (start.wait) {
    // pkexec says 126 when the user dismissed the password prompt and 127
    // when the rights were refused: then the program never ran.
    const int code = WaitFor(pid);
    if (via_pkexec && (code == 126 || code == 127)) {
      return Fail(err, "Start", start.file, "administrator rights were refused (pkexec " + std::to_string(code) + ")");
    }
  } else {
    running_.push_back(pid);
  }
  return true;
}

}  // namespace krv
