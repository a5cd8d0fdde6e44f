// The instance lock on POSIX hosts: flock on a lock file "<name>.lock". The
// kernel drops the lock when the process ends, however it ends. The file is
// opened close-on-exec, so a started program (Access) never inherits the
// lock and keeps it after we are gone. The file itself is never removed: a
// removal between another process's open and flock would split the lock.
#pragma once

#include <string>

#include "platform/InstanceMutex.h"

namespace krv {

// The folder for lock files: `runtime_dir` when it is an absolute path
// ($XDG_RUNTIME_DIR), else "<tmp_base>/krv25-<uid>", created with mode 0700
// and accepted only when it is a real folder (no symbolic link) owned by the
// user; a folder of ours that others may enter is closed to them first.
bool LockFolder(const char* runtime_dir, const std::string& tmp_base, std::string* folder, std::string* err);

class PosixInstanceMutex final : public InstanceMutex {
 public:
  // `folder` holds the lock files; empty: LockFolder of $XDG_RUNTIME_DIR and /tmp.
  explicit PosixInstanceMutex(std::string folder = "") : folder_(std::move(folder)) {}
  ~PosixInstanceMutex() override { Release(); }
  PosixInstanceMutex(const PosixInstanceMutex&) = delete;
  PosixInstanceMutex& operator=(const PosixInstanceMutex&) = delete;

  // When another process holds the lock, the file stays open without the
  // lock: unlike a Windows mutex handle it does not keep the lock alive.
  bool Create(const std::string& name, bool* already_held, std::string* err) override;
  void Release() override;
  bool HeldByOther(const std::string& name) override;

 private:
  bool LockPath(const std::string& name, std::string* path, std::string* err);

  std::string folder_;
  std::string name_;
  int fd_ = -1;
  bool owner_ = false;
};

}  // namespace krv
