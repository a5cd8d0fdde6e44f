// POSIX only: the file system behind Windows paths.
#include "platform/posix/FileSystem_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sendfile.h>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <system_error>

#include "base/Text.h"
#include "base/WinPath.h"
#include "platform/posix/NativePath_posix.h"

namespace krv {
namespace {

constexpr size_t kChunk = 1 << 20;  // bytes between two progress reports
// Large copies: fewer calls into the kernel, and blocks the disk writes well.
constexpr size_t kLargeChunk = 8 << 20;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

std::string Reason(int e) { return std::error_code(e, std::generic_category()).message(); }

bool Fail(std::string* err, const std::string& api, const std::string& arg, const std::string& reason) {
  if (err) *err = api + "(" + arg + "): " + reason;
  return false;
}

bool FailErrno(std::string* err, const std::string& api, const std::string& arg) {
  return Fail(err, api, arg, Reason(errno));
}

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }
  // Closes and reports the result, which matters for written files.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

std::string NativeFolder(const std::string& native) {
  const size_t slash = native.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : native.substr(0, slash);
}

std::string NativeName(const std::string& native) {
  const size_t slash = native.find_last_of('/');
  return slash == std::string::npos ? native : native.substr(slash + 1);
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool SyncRetry(int fd) {
  while (fsync(fd) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// Makes a rename durable. File systems that cannot sync a folder say EINVAL.
bool SyncFolder(const std::string& folder, std::string* err) {
  Fd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.ok()) return FailErrno(err, "open", folder);
  if (!SyncRetry(dir.get()) && errno != EINVAL) return FailErrno(err, "fsync", folder);
  return true;
}

// Creates a new file with a unique name beside `target`, hidden by a
// leading dot. `mode` goes through the umask.
bool CreateTempBeside(const std::string& target, mode_t mode, Fd* fd, std::string* temp, std::string* err) {
  static std::atomic<unsigned> counter{0};
  static thread_local std::mt19937 random{std::random_device{}()};
  const std::string stem = NativeFolder(target) + "/." + NativeName(target) + ".krv-" + std::to_string(getpid());
  for (int attempt = 0; attempt < 100; ++attempt) {
    *temp = stem + "-" + std::to_string(counter++) + "-" + std::to_string(random() % 1000000);
    fd->Reset(open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (fd->ok()) return true;
    if (errno != EEXIST) break;
  }
  return FailErrno(err, "open", *temp);
}

// The file a chain of symbolic links ends at (which need not exist yet).
std::string FollowLinks(std::string path) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(4096, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n < 0) return path;
    target.resize(static_cast<size_t>(n));
    path = target[0] == '/' ? target : NativeFolder(path) + "/" + target;
  }
  return path;
}

// renameat2(RENAME_NOREPLACE) where the file system has it, else a check
// followed by a rename.
bool RenameNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
#endif
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return rename(from.c_str(), to.c_str()) == 0;
}

bool IsFallbackError(int e) { return e == EXDEV || e == ENOSYS || e == EINVAL || e == ENOTSUP || e == EOPNOTSUPP; }

// Copies one chunk at `offset` by read and write; the count read, or -1.
ssize_t ReadWriteChunk(int in, int out, uint64_t offset, size_t chunk, std::vector<char>* buffer) {
  buffer->resize(chunk);
  const ssize_t n = pread(in, buffer->data(), chunk, static_cast<off_t>(offset));
  if (n <= 0) return n;
  size_t written = 0;
  while (written < static_cast<size_t>(n)) {
    const ssize_t w = pwrite(out, buffer->data() + written, n - written, static_cast<off_t>(offset + written));
    if (w < 0 && errno != EINTR) return -1;
    if (w > 0) written += static_cast<size_t>(w);
  }
  return n;
}

// Copies one chunk with `method` (0 copy_file_range, 1 sendfile, 2 read and
// write); the count copied, 0 at the end of the source, or -1.
ssize_t CopyChunk(int method, int in, int out, uint64_t offset, size_t chunk, std::vector<char>* buffer) {
#ifdef __linux__
  if (method == 0) {
    loff_t off_in = static_cast<loff_t>(offset), off_out = static_cast<loff_t>(offset);
    return copy_file_range(in, &off_in, out, &off_out, chunk, 0);
  }
  if (method == 1) {
    off_t off_in = static_cast<off_t>(offset);
    if (lseek(out, static_cast<off_t>(offset), SEEK_SET) < 0) return -1;
    return sendfile(out, in, &off_in, chunk);
  }
#endif
  return ReadWriteChunk(in, out, offset, chunk, buffer);
}

enum class CopyResult { kDone, kCancelled, kFailed };

// Copies `total` bytes, switching to the next method where one is not
// supported. A method that reports the end early (copy_file_range does on
// some special file systems) hands over too; read and write seeing the end
// early means the source shrank.
CopyResult CopyBytes(int in, int out, uint64_t total, int method, const CopyProgress& progress, std::string* err,
                     size_t block = kChunk) {
  std::vector<char> buffer;
  if (progress && !progress(0, total)) return CopyResult::kCancelled;
  uint64_t done = 0;
  while (done < total) {
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(block, total - done));
    const ssize_t n = CopyChunk(method, in, out, done, chunk, &buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 && method < 2 && (n == 0 || IsFallbackError(errno))) {
      ++method;
      continue;
    }
    if (n <= 0) {
      Fail(err, "copy", "at byte " + std::to_string(done), n < 0 ? Reason(errno) : "the source got shorter");
      return CopyResult::kFailed;
    }
    done += static_cast<uint64_t>(n);
    if (progress && !progress(done, total)) return CopyResult::kCancelled;
  }
  return CopyResult::kDone;
}

bool RefuseReadOnly(const struct stat& st, const std::string& native, std::string* err) {
  if (S_ISREG(st.st_mode) && (st.st_mode & kWriteBits) == 0) return Fail(err, "open", native, "file is read-only");
  return true;
}

// The native path for `win`, found ignoring letter case.
bool Resolve(const std::string& win, std::string* native, std::string* err) { return FindNativePath(win, native, err); }

bool StatWin(const std::string& win, struct stat* st, std::string* native, std::string* err) {
  if (!Resolve(win, native, err)) return false;
  if (stat(native->c_str(), st) != 0) return FailErrno(err, "stat", *native);
  return true;
}

}  // namespace

bool PosixFileSystem::FileExists(const std::string& path) {
  struct stat st;
  std::string native;
  return StatWin(path, &st, &native, nullptr) && !S_ISDIR(st.st_mode);
}

bool PosixFileSystem::FolderExists(const std::string& path) {
  struct stat st;
  std::string native;
  return StatWin(path, &st, &native, nullptr) && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::FileLength(const std::string& path, uint64_t* length, std::string* err) {
  struct stat st;
  std::string native;
  if (!StatWin(path, &st, &native, err)) return false;
  if (S_ISDIR(st.st_mode)) return Fail(err, "stat", native, "is a folder");
  *length = static_cast<uint64_t>(st.st_size);
  return true;
}

bool PosixFileSystem::GetAttributes(const std::string& path, uint32_t* attrs, std::string* err) {
  struct stat st;
  std::string native;
  if (!StatWin(path, &st, &native, err)) return false;
  uint32_t a = 0;
  if (S_ISDIR(st.st_mode)) a |= kAttrDirectory;
  if (S_ISREG(st.st_mode)) a |= kAttrArchive;
  if ((st.st_mode & kWriteBits) == 0) a |= kAttrReadOnly;
  const std::string name = NativeName(native);
  if (name.size() > 1 && name[0] == '.' && name != "..") a |= kAttrHidden;
  *attrs = a == 0 ? kAttrNormal : a;
  return true;
}

bool PosixFileSystem::SetAttributes(const std::string& path, uint32_t attrs, std::string* err) {
  struct stat st;
  std::string native;
  if (!StatWin(path, &st, &native, err)) return false;
  if (S_ISDIR(st.st_mode)) return true;
  const bool read_only = (attrs & kAttrReadOnly) != 0 && (attrs & kAttrNormal) == 0;
  const bool writable = (st.st_mode & kWriteBits) != 0;
  if (read_only == !writable) return true;
  const mode_t mode = read_only ? (st.st_mode & 07777 & ~kWriteBits) : ((st.st_mode & 07777) | S_IWUSR);
  if (chmod(native.c_str(), mode) != 0) return FailErrno(err, "chmod", native);
  return true;
}

bool PosixFileSystem::ModifiedTime(const std::string& path, int64_t* seconds, std::string* err) {
  struct stat st;
  std::string native;
  if (!StatWin(path, &st, &native, err)) return false;
  *seconds = static_cast<int64_t>(st.st_mtime);
  return true;
}

bool PosixFileSystem::DeleteFile(const std::string& path, std::string* err) {
  std::string native;
  if (!Resolve(path, &native, err)) return false;
  struct stat st;
  if (lstat(native.c_str(), &st) != 0) return FailErrno(err, "lstat", native);
  if (S_ISDIR(st.st_mode)) return Fail(err, "unlink", native, "is a folder");
  if (!RefuseReadOnly(st, native, err)) return false;
  if (unlink(native.c_str()) != 0) return FailErrno(err, "unlink", native);
  return true;
}

namespace {

std::string ProcessName(long pid) {
  std::FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/comm").c_str(), "r");
  if (!f) return "";
  char buf[64] = {};
  const bool ok = std::fgets(buf, sizeof buf, f) != nullptr;
  std::fclose(f);
  return ok ? std::string(Trim(buf, "\n")) : "";
}

// Another process's lock on any byte of the file. An open-file-description
// lock reports no owner, so the owner is then left to the /proc scan.
bool LockedByOther(const std::string& native, long* pid) {
  Fd fd(open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  if (!fd.ok()) return false;
  struct flock probe = {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
#ifdef F_OFD_GETLK
  // A fresh description conflicts with every other lock, our own included;
  // the starter holds none on the files it asks about.
  if (fcntl(fd.get(), F_OFD_GETLK, &probe) == 0) {
    *pid = probe.l_pid;
    return probe.l_type != F_UNLCK;
  }
  probe = {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
#endif
  if (fcntl(fd.get(), F_GETLK, &probe) != 0) return false;
  *pid = probe.l_pid;
  return probe.l_type != F_UNLCK;
}

// The first other process with an open descriptor on the file; 0 when none.
long OpenedByOther(const struct stat& target) {
  DIR* proc = opendir("/proc");
  if (!proc) return 0;
  const long self = static_cast<long>(getpid());
  long found = 0;
  while (dirent* e = readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(e->d_name, &end, 10);
    if (pid <= 0 || *end != '\0' || pid == self) continue;
    const std::string fds = "/proc/" + std::string(e->d_name) + "/fd";
    DIR* dir = opendir(fds.c_str());
    if (!dir) continue;  // another user's process, or gone
    while (dirent* f = readdir(dir)) {
      struct stat st;
      if (f->d_name[0] == '.' || stat((fds + "/" + f->d_name).c_str(), &st) != 0) continue;
      if (st.st_dev == target.st_dev && st.st_ino == target.st_ino) {
        found = pid;
        break;
      }
    }
    closedir(dir);
    if (found) break;
  }
  closedir(proc);
  return found;
}

}  // namespace

bool PosixFileSystem::FileHeld(const std::string& path, std::string* holder) {
  std::string native;
  struct stat st;
  if (!Resolve(path, &native, nullptr) || stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  long pid = 0;
  const bool locked = LockedByOther(native, &pid);
  if (!locked || pid <= 0) pid = OpenedByOther(st);
  if (!locked && pid == 0) return false;
  if (holder) *holder = pid > 0 ? ProcessName(pid) : "";
  return true;
}

bool PosixFileSystem::CreateFolder(const std::string& path, std::string* err) {
  std::string native;
  if (!Resolve(path, &native, err)) return false;
  for (size_t pos = native.find('/', 1);; pos = native.find('/', pos + 1)) {
    const std::string prefix = native.substr(0, pos);
    if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return FailErrno(err, "mkdir", prefix);
    if (pos == std::string::npos) break;
  }
  struct stat st;
  if (stat(native.c_str(), &st) != 0) return FailErrno(err, "mkdir", native);
  if (!S_ISDIR(st.st_mode)) return Fail(err, "mkdir", native, "a file has that name");
  return true;
}

std::vector<DirEntry> PosixFileSystem::List(const std::string& pattern) {
  std::vector<DirEntry> entries;
  std::string folder = WinPathFolder(pattern);
  std::string mask = WinPathName(pattern);
  if (mask == "*.*") mask = "*";
  std::string native;
  if (!Resolve(folder.empty() ? "." : folder, &native, nullptr)) return entries;
  DIR* dir = opendir(native.c_str());
  if (dir == nullptr) return entries;
  while (const dirent* d = readdir(dir)) {
    const std::string name = d->d_name;
    if (name == "." || name == ".." || !WildcardMatch(mask, name)) continue;
    DirEntry entry;
    entry.name = name;
    struct stat st;
    if (stat((native + "/" + name).c_str(), &st) == 0) {
      entry.is_folder = S_ISDIR(st.st_mode);
      entry.size = entry.is_folder ? 0 : static_cast<uint64_t>(st.st_size);
    }
    entries.push_back(std::move(entry));
  }
  closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
    const std::string la = LowerCase(a.name), lb = LowerCase(b.name);
    return la != lb ? la < lb : a.name < b.name;
  });
  return entries;
}

bool PosixFileSystem::CopyFile(const std::string& from, const std::string& to, bool overwrite,
                               const CopyProgress& progress, std::string* err) {
  std::string src, dst;
  if (!Resolve(from, &src, err) || !Resolve(to, &dst, err)) return false;
  dst = FollowLinks(dst);
  Fd in(open(src.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat sst, dst_st;
  if (!in.ok() || fstat(in.get(), &sst) != 0) return FailErrno(err, "open", src);
  if (!S_ISREG(sst.st_mode)) return Fail(err, "open", src, "not a file");
  if (stat(dst.c_str(), &dst_st) == 0) {
    if (S_ISDIR(dst_st.st_mode)) return Fail(err, "open", dst, "is a folder");
    if (dst_st.st_dev == sst.st_dev && dst_st.st_ino == sst.st_ino) return Fail(err, "copy", dst, "is the source");
    if (!overwrite) return Fail(err, "open", dst, Reason(EEXIST));
    if (!RefuseReadOnly(dst_st, dst, err)) return false;
  }
  Fd out;
  std::string temp;
  if (!CreateTempBeside(dst, 0600, &out, &temp, err)) return false;
  const int method = engine_ == CopyEngine::kBest ? 0 : engine_ == CopyEngine::kSendfile ? 1 : 2;
  const CopyResult copied = CopyBytes(in.get(), out.get(), static_cast<uint64_t>(sst.st_size), method, progress, err);
  const struct timespec times[2] = {sst.st_atim, sst.st_mtim};
  bool ok = copied == CopyResult::kDone;
  if (copied == CopyResult::kCancelled) Fail(err, "CopyFile", from, "cancelled");
  if (ok && (fchmod(out.get(), sst.st_mode & 07777) != 0 || futimens(out.get(), times) != 0 || !SyncRetry(out.get()) ||
             !out.Close())) {
    ok = FailErrno(err, "write", temp);
  }
  if (ok && !(overwrite ? rename(temp.c_str(), dst.c_str()) == 0 : RenameNoReplace(temp, dst))) {
    ok = FailErrno(err, "rename", dst);
  }
  if (!ok) {
    out.Reset();
    unlink(temp.c_str());
    return false;
  }
  return SyncFolder(NativeFolder(dst), err);
}

bool PosixFileSystem::MoveFile(const std::string& from, const std::string& to, std::string* err) {
  std::string src, dst;
  if (!Resolve(from, &src, err) || !Resolve(to, &dst, err)) return false;
  struct stat sst, dst_st;
  if (lstat(src.c_str(), &sst) != 0) return FailErrno(err, "lstat", src);
  if (lstat(dst.c_str(), &dst_st) == 0) {
    // Only a change of letter case may land on an existing name.
    if (dst_st.st_dev != sst.st_dev || dst_st.st_ino != sst.st_ino) return Fail(err, "rename", dst, Reason(EEXIST));
    dst = NativeFolder(dst) + "/" + WinPathName(to);
    if (rename(src.c_str(), dst.c_str()) != 0) return FailErrno(err, "rename", dst);
    return true;
  }
  if (RenameNoReplace(src, dst)) return SyncFolder(NativeFolder(dst), err);
  if (errno != EXDEV || S_ISDIR(sst.st_mode)) return FailErrno(err, "rename", dst);
  if (!CopyFile(from, to, false, nullptr, err)) return false;
  if (unlink(src.c_str()) != 0) {
    const int e = errno;
    unlink(dst.c_str());  // the source stays, so the state is as before
    return Fail(err, "unlink", src, Reason(e));
  }
  return true;
}

bool PosixFileSystem::FolderWritable(const std::string& folder) {
  std::string native;
  if (!Resolve(folder, &native, nullptr)) return false;
  Fd fd;
  std::string temp;
  if (!CreateTempBeside(native + "/probe", 0600, &fd, &temp, nullptr)) return false;
  fd.Reset();
  unlink(temp.c_str());
  return true;
}

bool PosixFileSystem::FreeSpace(const std::string& folder, uint64_t* bytes, std::string* err) {
  std::string native;
  if (!Resolve(folder, &native, err)) return false;
  struct statvfs vfs;
  if (statvfs(native.c_str(), &vfs) != 0) return FailErrno(err, "statvfs", native);
  *bytes = static_cast<uint64_t>(vfs.f_bavail) * static_cast<uint64_t>(vfs.f_frsize);
  return true;
}

bool PosixFileSystem::ReadFile(const std::string& path, std::string* content, std::string* err) {
  return ReadUpTo(path, std::string().max_size(), content, err);
}

bool PosixFileSystem::ReadUpTo(const std::string& path, size_t max, std::string* content, std::string* err) {
  std::string native;
  if (!Resolve(path, &native, err)) return false;
  Fd fd(open(native.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) return FailErrno(err, "open", native);
  std::string data;
  char buffer[65536];
  while (data.size() < max) {
    const ssize_t n = read(fd.get(), buffer, std::min(sizeof buffer, max - data.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FailErrno(err, "read", native);
    if (n == 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  *content = std::move(data);
  return true;
}

bool PosixFileSystem::ReadFileRange(const std::string& path, uint64_t offset, uint64_t length, std::string* content,
                                    std::string* err) {
  std::string native;
  if (!Resolve(path, &native, err)) return false;
  Fd fd(open(native.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) return FailErrno(err, "open", native);
  struct stat st;
  if (fstat(fd.get(), &st) != 0) return FailErrno(err, "fstat", native);
  const uint64_t size = static_cast<uint64_t>(st.st_size);
  std::string data(offset < size ? static_cast<size_t>(std::min(length, size - offset)) : 0, '\0');
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = pread(fd.get(), data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FailErrno(err, "pread", native);
    if (n == 0) break;  // the file became shorter
    done += static_cast<size_t>(n);
  }
  data.resize(done);
  *content = std::move(data);
  return true;
}

bool PosixFileSystem::WriteFileAtomic(const std::string& path, const std::string& content, std::string* err) {
  std::string native;
  if (!Resolve(path, &native, err)) return false;
  native = FollowLinks(native);
  struct stat old;
  const bool existed = stat(native.c_str(), &old) == 0;
  if (existed && S_ISDIR(old.st_mode)) return Fail(err, "open", native, "is a folder");
  if (existed && !RefuseReadOnly(old, native, err)) return false;
  Fd fd;
  std::string temp;
  if (!CreateTempBeside(native, existed ? 0600 : 0666, &fd, &temp, err)) return false;
  bool ok = true;
  if (existed && fchmod(fd.get(), old.st_mode & 07777) != 0) ok = FailErrno(err, "fchmod", temp);
  if (existed && (old.st_uid != geteuid() || old.st_gid != getegid()) && fchown(fd.get(), old.st_uid, old.st_gid)) {
    // Only root may give a file away; the content matters more than the owner.
  }
  if (ok && (!WriteAll(fd.get(), content.data(), content.size()) || !SyncRetry(fd.get()) || !fd.Close())) {
    ok = FailErrno(err, "write", temp);
  }
  if (ok && rename(temp.c_str(), native.c_str()) != 0) ok = FailErrno(err, "rename", native);
  if (!ok) {
    fd.Reset();
    unlink(temp.c_str());
    return false;
  }
  return SyncFolder(NativeFolder(native), err);
}

bool PosixFileSystem::AppendFile(const std::string& path, const std::string& content, std::string* err) {
  std::string native;
  if (!Resolve(path, &native, err)) return false;
  struct stat st;
  if (stat(native.c_str(), &st) == 0 && !RefuseReadOnly(st, native, err)) return false;
  Fd fd(open(native.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  if (!fd.ok()) return FailErrno(err, "open", native);
  if (!WriteAll(fd.get(), content.data(), content.size()) || !fd.Close()) return FailErrno(err, "write", native);
  return true;
}

bool PosixFileSystem::CopyToNew(const std::string& from, const std::string& to, const CopyProgress& progress,
                                std::string* err) {
  std::string src, dst;
  if (!Resolve(from, &src, err) || !Resolve(to, &dst, err)) return false;
  Fd in(open(src.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat sst;
  if (!in.ok() || fstat(in.get(), &sst) != 0) return FailErrno(err, "open", src);
  if (!S_ISREG(sst.st_mode)) return Fail(err, "open", src, "not a file");
  Fd out(open(dst.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!out.ok()) return FailErrno(err, "open", dst);
  const int method = engine_ == CopyEngine::kBest ? 0 : engine_ == CopyEngine::kSendfile ? 1 : 2;
  const CopyResult copied =
      CopyBytes(in.get(), out.get(), static_cast<uint64_t>(sst.st_size), method, progress, err, kLargeChunk);
  bool ok = copied == CopyResult::kDone;
  if (copied == CopyResult::kCancelled) Fail(err, "CopyToNew", from, "cancelled");
  if (ok && (fchmod(out.get(), sst.st_mode & 07777) != 0 || !out.Close())) ok = FailErrno(err, "write", dst);
  if (!ok) {
    out.Reset();
    unlink(dst.c_str());
  }
  return ok;
}

bool PosixFileSystem::ReadBlocks(const std::string& path, const BlockSink& sink, std::string* err) {
  std::string native;
  if (!Resolve(path, &native, err)) return false;
  Fd fd(open(native.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) return FailErrno(err, "open", native);
#ifdef POSIX_FADV_SEQUENTIAL
  posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
  // Read, not mapped: a file that another process shortens meanwhile must
  // give a short read, not a crash. Small enough to stay in the processor's
  // cache between the read and the sink.
  std::vector<char> buffer(256 * 1024);
  for (;;) {
    const ssize_t n = read(fd.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FailErrno(err, "read", native);
    if (n == 0) return true;
    if (!sink(buffer.data(), static_cast<size_t>(n))) return Fail(err, "ReadBlocks", path, "stopped");
  }
}

bool PosixFileSystem::FlushFile(const std::string& path, std::string* err) {
  std::string native;
  if (!Resolve(path, &native, err)) return false;
  Fd fd(open(native.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) return FailErrno(err, "open", native);
  if (!SyncRetry(fd.get())) return FailErrno(err, "fsync", native);
  return true;
}

}  // namespace krv
