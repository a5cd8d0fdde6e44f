// POSIX only: the file-backed registry.
#include "platform/posix/FileRegistry_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/Text.h"

namespace krv {
namespace {

constexpr Hive kAllHives[] = {Hive::ClassesRoot, Hive::CurrentUser, Hive::LocalMachine, Hive::Users};
// Larger files are taken for damaged rather than read into memory.
constexpr off_t kMaxHiveBytes = off_t{1} << 30;

std::string SysErr(const char* api, const std::string& arg, int error) {
  return std::string(api) + "(" + arg + "): " + std::strerror(error);
}

bool IsDenial(int error) { return error == EACCES || error == EPERM || error == EROFS; }

RegStatus StatusOf(int error) { return IsDenial(error) ? RegStatus::kDenied : RegStatus::kFailed; }

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Returns close's result; EINTR still closes the descriptor on Linux.
  int Close() {
    if (fd_ < 0) return 0;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == -1 && errno != EINTR ? -1 : 0;
  }

 private:
  int fd_;
};

std::string Dirname(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Basename(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Later(const timespec& a, const timespec& b) {
  return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

// Follows the path while it is a symlink, so the rename replaces the file it
// points to and the link stays a link.
bool ResolveSymlinks(const std::string& path, std::string* out, std::string* err) {
  std::string p = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      *out = p;
      return true;
    }
    std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = readlink(p.c_str(), buf.data(), buf.size());
    if (n < 0 || static_cast<size_t>(n) >= buf.size()) {
      if (err) *err = SysErr("readlink", p, n < 0 ? errno : ENAMETOOLONG);
      return false;
    }
    std::string target(buf.data(), static_cast<size_t>(n));
    p = target.starts_with('/') ? target : Dirname(p) + "/" + target;
  }
  if (err) *err = SysErr("readlink", path, ELOOP);
  return false;
}

RegStatus MakeDirs(const std::string& dir, mode_t mode, std::string* err) {
  struct stat st;
  if (stat(dir.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return RegStatus::kOk;
    if (err) *err = SysErr("mkdir", dir, ENOTDIR);
    return RegStatus::kFailed;
  }
  const std::string parent = Dirname(dir);
  if (parent != dir && parent != "." && parent != "/") {
    const RegStatus status = MakeDirs(parent, mode, err);
    if (status != RegStatus::kOk) return status;
  }
  if (mkdir(dir.c_str(), mode) != 0 && errno != EEXIST) {
    const int error = errno;
    if (err) *err = SysErr("mkdir", dir, error);
    return StatusOf(error);
  }
  return RegStatus::kOk;
}

bool ReadAll(int fd, std::string* out, int* error) {
  char buf[65536];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      *error = errno;
      return false;
    }
    out->append(buf, static_cast<size_t>(n));
  }
}

bool WriteAll(int fd, std::string_view data, int* error) {
  while (!data.empty()) {
    const ssize_t n = write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      *error = errno;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

int FsyncRetry(int fd) {
  int rc;
  do {
    rc = fsync(fd);
  } while (rc == -1 && errno == EINTR);
  return rc;
}

// Makes the rename durable. File systems that cannot sync a folder say EINVAL.
bool FsyncDir(const std::string& dir, std::string* err) {
  Fd fd(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0 || (FsyncRetry(fd.get()) != 0 && errno != EINVAL)) {
    if (err) *err = SysErr("fsync", dir, errno);
    return false;
  }
  return true;
}

// Temporary files exist only while a writer holds the lock; any found by the
// lock holder were left by a writer that died.
void RemoveStaleTemps(const std::string& dir, const std::string& prefix) {
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(d)) {
    if (std::string_view(entry->d_name).starts_with(prefix)) stale.emplace_back(entry->d_name);
  }
  closedir(d);
  for (const std::string& name : stale) unlink((dir + "/" + name).c_str());
}

// An exclusive flock on "<hive file>.lock", released when the object dies.
class HiveLock {
 public:
  RegStatus Acquire(const std::string& path, std::string* err) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    int error = errno;
    // A lock file we may only read still locks; the write itself decides.
    if (fd < 0 && error == EACCES) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      if (err) *err = SysErr("open", path, error);
      return StatusOf(error);
    }
    fd_ = std::make_unique<Fd>(fd);
    while (flock(fd, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      if (err) *err = SysErr("flock", path, errno);
      return RegStatus::kFailed;
    }
    return RegStatus::kOk;
  }

 private:
  std::unique_ptr<Fd> fd_;
};

// Names arrive as UTF-8 and are stored as UTF-16; broken bytes would come back
// as U+FFFD, so they are replaced before they are stored or looked up.
std::string Clean(const std::string& s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return Utf16ToUtf8(Utf8ToUtf16(s));
  }
  return s;
}

RegStatus BadKey(const std::string& key, std::string* err) {
  std::string why;
  if (RegKeyPathStorable(key, &why)) return RegStatus::kOk;
  if (err) *err = "FileRegistry(" + key + "): " + why;
  return RegStatus::kFailed;
}

}  // namespace

RegistryFolders ChooseRegistryFolders(const char* registry_dir, const char* xdg_config_home, const char* home) {
  auto set = [](const char* s) { return s != nullptr && *s != '\0'; };
  if (set(registry_dir)) return RegistryFolders{registry_dir, registry_dir};
  RegistryFolders folders;
  folders.machine = "/etc/korvella/registry";
  if (set(xdg_config_home) && xdg_config_home[0] == '/') {
    folders.current_user = std::string(xdg_config_home) + "/korvella/registry";
  } else if (set(home)) {
    folders.current_user = std::string(home) + "/.config/korvella/registry";
  }
  return folders;
}

bool FileRegistry::Stamp::operator==(const Stamp& o) const {
  return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
         mtime.tv_nsec == o.mtime.tv_nsec;
}

FileRegistry::FileRegistry(RegistryFolders folders) : folders_(std::move(folders)) {
  for (Hive hive : kAllHives) {
    HiveFile& h = hives_[hive];
    h.hive = hive;
    h.machine = hive != Hive::CurrentUser;
    const std::string& dir = h.machine ? folders_.machine : folders_.current_user;
    if (!dir.empty()) h.path = dir + "/" + HiveName(hive) + ".reg";
  }
}

std::string FileRegistry::HivePath(Hive hive) const {
  auto it = hives_.find(hive);
  return it == hives_.end() ? std::string() : it->second.path;
}

std::string FileRegistry::HiveProblem(Hive hive) {
  const HiveFile* h = Refreshed(hive);
  return h ? h->problem : std::string("unknown hive");
}

FileRegistry::HiveFile* FileRegistry::Refreshed(Hive hive) {
  auto it = hives_.find(hive);
  if (it == hives_.end()) return nullptr;
  HiveFile& h = it->second;
  if (h.path.empty()) {
    h.problem = std::string("FileRegistry(") + HiveName(hive) + "): no folder for this hive (HOME is not set)";
    h.problem_status = RegStatus::kFailed;
    return &h;
  }
  // Cheap check first: writers give every new file a new inode and a later
  // mtime, so an equal stamp means the file we hold.
  struct stat st;
  Stamp now;
  if (stat(h.path.c_str(), &st) == 0) {
    now.exists = true;
    now.dev = st.st_dev;
    now.ino = st.st_ino;
    now.size = st.st_size;
    now.mtime = st.st_mtim;
  } else if (errno != ENOENT && errno != ENOTDIR) {
    Load(h);  // reports the error
    return &h;
  }
  if (!h.loaded || !(now == h.stamp) || !h.problem.empty()) Load(h);
  return &h;
}

void FileRegistry::Load(HiveFile& h) {
  h.loaded = true;
  h.problem.clear();
  h.problem_status = RegStatus::kOk;
  h.stamp = Stamp{};
  h.tree.Clear();
  Fd fd(open(h.path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return;  // no file yet: an empty hive
    h.problem = SysErr("open", h.path, errno);
    h.problem_status = StatusOf(errno);
    return;
  }
  struct stat st;
  if (fstat(fd.get(), &st) != 0) {
    h.problem = SysErr("fstat", h.path, errno);
    h.problem_status = RegStatus::kFailed;
    return;
  }
  if (!S_ISREG(st.st_mode) || st.st_size > kMaxHiveBytes) {
    h.problem = "FileRegistry(" + h.path + "): not a regular file of a sensible size";
    h.problem_status = RegStatus::kFailed;
    return;
  }
  h.stamp.exists = true;
  h.stamp.dev = st.st_dev;
  h.stamp.ino = st.st_ino;
  h.stamp.size = st.st_size;
  h.stamp.mtime = st.st_mtim;
  std::string bytes;
  bytes.reserve(static_cast<size_t>(st.st_size));
  int error = 0;
  if (!ReadAll(fd.get(), &bytes, &error)) {
    h.problem = SysErr("read", h.path, error);
    h.problem_status = StatusOf(error);
    return;
  }
  if (bytes.empty()) return;
  RegParseResult parsed;
  std::string why;
  if (!ParseRegFile(bytes, &parsed, &why)) {
    h.problem = "ParseRegFile(" + h.path + "): " + why;
    h.problem_status = RegStatus::kFailed;
    return;
  }
  // Keys of another hive would be dropped by the next write: the file is damaged.
  for (const RegOp& op : parsed.ops) {
    if (op.hive != h.hive) {
      parsed.warnings.push_back("line " + std::to_string(op.line) + ": key of " + HiveName(op.hive) +
                                " in the file of " + HiveName(h.hive));
      break;
    }
  }
  ApplyRegOps(h.tree, h.hive, parsed.ops);
  if (!parsed.warnings.empty()) {
    h.problem = "ParseRegFile(" + h.path + "): " + parsed.warnings.front();
    if (parsed.warnings.size() > 1) h.problem += " (and " + std::to_string(parsed.warnings.size() - 1) + " more)";
    h.problem_status = RegStatus::kFailed;
  }
}

RegStatus FileRegistry::Modify(Hive hive, const Edit& edit, std::string* err) {
  auto it = hives_.find(hive);
  if (it == hives_.end()) {
    if (err) *err = "FileRegistry(" + std::to_string(static_cast<uint32_t>(hive)) + "): unknown hive";
    return RegStatus::kFailed;
  }
  HiveFile& h = it->second;
  if (h.path.empty()) {
    Refreshed(hive);
    if (err) *err = h.problem;
    return RegStatus::kFailed;
  }
  const std::string dir = Dirname(h.path);
  RegStatus status = MakeDirs(dir, dir == folders_.current_user ? 0700 : 0755, err);
  if (status != RegStatus::kOk) return status;
  HiveLock lock;
  status = lock.Acquire(h.path + ".lock", err);
  if (status != RegStatus::kOk) return status;
  Refreshed(hive);  // another process may have written since we last looked
  if (!h.problem.empty()) {
    if (err) *err = h.problem + "; the file is kept as it is and not written";
    return h.problem_status == RegStatus::kDenied ? RegStatus::kDenied : RegStatus::kFailed;
  }
  if (h.stamp.exists && access(h.path.c_str(), W_OK) != 0 && IsDenial(errno)) {
    if (err) *err = SysErr("access", h.path, errno);
    return RegStatus::kDenied;
  }
  bool changed = false;
  const RegStatus edited = edit(h.tree, &changed);
  if (!changed) return edited;
  status = Save(h, err);
  if (status != RegStatus::kOk) h.loaded = false;  // the tree holds a change the file lacks
  return status == RegStatus::kOk ? edited : status;
}

RegStatus FileRegistry::Save(HiveFile& h, std::string* err) {
  std::string target;
  if (!ResolveSymlinks(h.path, &target, err)) return RegStatus::kFailed;
  const std::string dir = Dirname(target);
  RemoveStaleTemps(dir, Basename(target) + ".tmp-");
  const std::string bytes =
      EncodeRegFile(ExportRegText(h.hive, "", h.tree.root(), RegFormat::kUnicode5), RegFormat::kUnicode5);

  struct stat old;
  const bool had = stat(target.c_str(), &old) == 0;
  const mode_t mode = had ? (old.st_mode & 07777) : (h.machine ? 0644 : 0600);
  std::string tmp = target + ".tmp-XXXXXX";
  Fd fd(mkostemp(tmp.data(), O_CLOEXEC));
  if (fd.get() < 0) {
    const int error = errno;
    if (err) *err = SysErr("mkostemp", tmp, error);
    return StatusOf(error);
  }
  auto fail = [&](const char* api, int error) {
    fd.Close();
    unlink(tmp.c_str());
    if (err) *err = SysErr(api, tmp, error);
    return StatusOf(error);
  };
  if (fchmod(fd.get(), mode) != 0) return fail("fchmod", errno);
  if (had && geteuid() == 0 && fchown(fd.get(), old.st_uid, old.st_gid) != 0) return fail("fchown", errno);
  int error = 0;
  if (!WriteAll(fd.get(), bytes, &error)) return fail("write", error);
  // Every version gets a later mtime than the one before, even within one
  // clock tick, so the stamp check of readers cannot miss a change.
  timespec times[2] = {{0, UTIME_OMIT}, {}};
  clock_gettime(CLOCK_REALTIME, &times[1]);
  if (h.stamp.exists && !Later(times[1], h.stamp.mtime)) {
    times[1] = h.stamp.mtime;
    if (++times[1].tv_nsec >= 1000000000) {
      times[1].tv_nsec = 0;
      ++times[1].tv_sec;
    }
  }
  if (futimens(fd.get(), times) != 0) return fail("futimens", errno);
  if (FsyncRetry(fd.get()) != 0) return fail("fsync", errno);
  struct stat st;
  if (fstat(fd.get(), &st) != 0) return fail("fstat", errno);
  if (fd.Close() != 0) return fail("close", errno);
  if (rename(tmp.c_str(), target.c_str()) != 0) return fail("rename", errno);
  if (!FsyncDir(dir, err)) return RegStatus::kFailed;
  h.stamp.exists = true;
  h.stamp.dev = st.st_dev;
  h.stamp.ino = st.st_ino;
  h.stamp.size = st.st_size;
  h.stamp.mtime = st.st_mtim;
  return RegStatus::kOk;
}

bool FileRegistry::KeyExists(Hive hive, const std::string& key) {
  HiveFile* h = Refreshed(hive);
  return h && regtree_ops::KeyExists(h->tree, Clean(key));
}

RegStatus FileRegistry::CreateKey(Hive hive, const std::string& key, std::string* err) {
  const std::string k = Clean(key);
  if (BadKey(k, err) != RegStatus::kOk) return RegStatus::kFailed;
  return Modify(
      hive,
      [&](RegTree& tree, bool* changed) {
        if (!tree.Find(k)) {
          tree.Create(k);
          *changed = true;
        }
        return RegStatus::kOk;
      },
      err);
}

RegStatus FileRegistry::DeleteKeyTree(Hive hive, const std::string& key, std::string* err) {
  const std::string k = Clean(key);
  return Modify(
      hive,
      [&](RegTree& tree, bool* changed) {
        *changed = tree.Delete(k);
        return *changed ? RegStatus::kOk : RegStatus::kNotFound;
      },
      err);
}

bool FileRegistry::ValueExists(Hive hive, const std::string& key, const std::string& name) {
  HiveFile* h = Refreshed(hive);
  return h && regtree_ops::ValueExists(h->tree, Clean(key), Clean(name));
}

RegStatus FileRegistry::ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                                  std::string* err) {
  HiveFile* h = Refreshed(hive);
  if (!h) {
    if (err) *err = "FileRegistry(" + std::to_string(static_cast<uint32_t>(hive)) + "): unknown hive";
    return RegStatus::kFailed;
  }
  const RegStatus status = regtree_ops::ReadValue(h->tree, Clean(key), Clean(name), out);
  if (status == RegStatus::kNotFound && !h->problem.empty()) {
    // The value may be in the part of the file that could not be read.
    if (err) *err = h->problem;
    return h->problem_status;
  }
  return status;
}

RegStatus FileRegistry::WriteValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                                   std::string* err) {
  const std::string k = Clean(key);
  const std::string n = Clean(name);
  if (BadKey(k, err) != RegStatus::kOk) return RegStatus::kFailed;
  const RegValue v = NormalizeRegValue(value);
  return Modify(
      hive,
      [&](RegTree& tree, bool* changed) {
        const RegKey* existing = tree.Find(k);
        const RegValue* old = existing ? existing->FindValue(n) : nullptr;
        if (!old || !(*old == v)) {
          regtree_ops::WriteValue(tree, k, n, v);
          *changed = true;
        }
        return RegStatus::kOk;
      },
      err);
}

RegStatus FileRegistry::DeleteValue(Hive hive, const std::string& key, const std::string& name, std::string* err) {
  const std::string k = Clean(key);
  const std::string n = Clean(name);
  return Modify(
      hive,
      [&](RegTree& tree, bool* changed) {
        const RegStatus status = regtree_ops::DeleteValue(tree, k, n);
        *changed = status == RegStatus::kOk;
        return status;
      },
      err);
}

std::vector<std::string> FileRegistry::ValueNames(Hive hive, const std::string& key) {
  HiveFile* h = Refreshed(hive);
  return h ? regtree_ops::ValueNames(h->tree, Clean(key)) : std::vector<std::string>{};
}

std::vector<std::string> FileRegistry::SubKeys(Hive hive, const std::string& key) {
  HiveFile* h = Refreshed(hive);
  return h ? regtree_ops::SubKeys(h->tree, Clean(key)) : std::vector<std::string>{};
}

bool FileRegistry::CheckStores(std::string* why) {
  for (Hive hive : kAllHives) {
    const HiveFile* h = Refreshed(hive);
    // Without a folder there is no file to be damaged; reads find nothing.
    if (h->path.empty() || h->problem.empty()) continue;
    if (why) *why = h->problem;
    return false;
  }
  return true;
}

RegStatus FileRegistry::ApplyRegOpsAtOnce(const std::vector<RegOp>& ops, std::string* err) {
  std::vector<Hive> order;
  for (const RegOp& op : ops) {
    if (std::find(order.begin(), order.end(), op.hive) == order.end()) order.push_back(op.hive);
  }
  for (Hive hive : order) {
    std::vector<RegOp> mine;
    for (const RegOp& op : ops) {
      if (op.hive != hive) continue;
      RegOp clean = op;
      clean.key = Clean(op.key);
      clean.name = Clean(op.name);
      clean.value = NormalizeRegValue(op.value);
      std::string why;
      if (!RegKeyPathStorable(clean.key, &why)) {
        if (err) *err = "line " + std::to_string(op.line) + ": " + why;
        return RegStatus::kFailed;
      }
      mine.push_back(std::move(clean));
    }
    const RegStatus status = Modify(
        hive,
        [&](RegTree& tree, bool* changed) {
          ApplyRegOps(tree, hive, mine);
          *changed = true;
          return RegStatus::kOk;
        },
        err);
    if (status != RegStatus::kOk) return status;
  }
  return RegStatus::kOk;
}

std::unique_ptr<Registry> CreatePosixRegistry() {
  const char* home = std::getenv("HOME");
  std::string home_from_passwd;
  if (home == nullptr || *home == '\0') {
    std::vector<char> buf(16384);
    passwd pw;
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir) {
      home_from_passwd = found->pw_dir;
    }
    home = home_from_passwd.c_str();
  }
  return std::make_unique<FileRegistry>(
      ChooseRegistryFolders(std::getenv("KRV_REGISTRY_DIR"), std::getenv("XDG_CONFIG_HOME"), home));
}

}  // namespace krv
