// POSIX only: the instance lock as flock on a lock file.
#include "platform/posix/InstanceMutex_posix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace krv {
namespace {

std::string Reason(int e) { return std::error_code(e, std::generic_category()).message(); }

bool Fail(std::string* err, const std::string& api, const std::string& arg, const std::string& reason) {
  if (err) *err = api + "(" + arg + "): " + reason;
  return false;
}

// Windows mutex names may hold backslashes ("Local\x"); a file name may not hold slashes.
std::string FileNameFor(const std::string& name) {
  std::string out = name;
  for (char& c : out) {
    if (c == '/' || c == '\\') c = '_';
  }
  return out + ".lock";
}

int LockNonBlocking(int fd) {
  int rc;
  do {
    rc = flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

}  // namespace

bool LockFolder(const char* runtime_dir, const std::string& tmp_base, std::string* folder, std::string* err) {
  if (runtime_dir != nullptr && runtime_dir[0] == '/') {
    *folder = runtime_dir;
    return true;
  }
  const std::string path = tmp_base + "/krv25-" + std::to_string(geteuid());
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return Fail(err, "mkdir", path, Reason(errno));
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat st;
  if (fd < 0) {
    const int e = errno;
    const bool link = lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    return Fail(err, "open", path, link ? "is a symbolic link" : Reason(e));
  }
  bool ok = fstat(fd, &st) == 0;
  if (!ok) {
    Fail(err, "fstat", path, Reason(errno));
  } else if (st.st_uid != geteuid()) {
    ok = Fail(err, "open", path, "belongs to another user");
  } else if ((st.st_mode & 077) != 0 && fchmod(fd, 0700) != 0) {
    ok = Fail(err, "fchmod", path, Reason(errno));
  }
  close(fd);
  if (ok) *folder = path;
  return ok;
}

bool PosixInstanceMutex::LockPath(const std::string& name, std::string* path, std::string* err) {
  if (name.empty()) return Fail(err, "InstanceMutex", name, "empty name");
  if (folder_.empty() && !LockFolder(std::getenv("XDG_RUNTIME_DIR"), "/tmp", &folder_, err)) return false;
  *path = folder_ + "/" + FileNameFor(name);
  return true;
}

bool PosixInstanceMutex::Create(const std::string& name, bool* already_held, std::string* err) {
  Release();
  std::string path;
  if (!LockPath(name, &path, err)) return false;
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return Fail(err, "open", path, Reason(errno));
  const bool locked = LockNonBlocking(fd) == 0;
  if (!locked && errno != EWOULDBLOCK) {
    const int e = errno;
    close(fd);
    return Fail(err, "flock", path, Reason(e));
  }
  owner_ = locked;
  fd_ = fd;
  name_ = name;
  if (already_held) *already_held = !owner_;
  return true;
}

void PosixInstanceMutex::Release() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  owner_ = false;
  name_.clear();
}

bool PosixInstanceMutex::HeldByOther(const std::string& name) {
  if (owner_ && name == name_) return false;
  std::string path;
  if (!LockPath(name, &path, nullptr)) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;  // no file: nobody ever took the lock
  const bool held = LockNonBlocking(fd) != 0 && errno == EWOULDBLOCK;
  close(fd);  // closing drops a lock we took just now
  return held;
}

}  // namespace krv
