// POSIX only: host paths and file heads for the ODBC service (unixODBC).
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "platform/OdbcFile.h"
#include "platform/posix/NativePath_posix.h"

namespace krv {

bool OdbcDriverPath(const std::string& win_path, std::string* driver_path, std::string* err) {
  return FindNativePath(win_path, driver_path, err);
}

DbStatus ReadFileHead(const std::string& win_path, size_t max, std::string* head, std::string* err) {
  std::string native;
  if (!FindNativePath(win_path, &native, err)) return DbStatus::kFileMissing;
  const int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int e = errno;
    *err = "open(" + native + "): " + std::strerror(e);
    return (e == ENOENT || e == ENOTDIR) ? DbStatus::kFileMissing : DbStatus::kFailed;
  }
  head->assign(max, '\0');
  ssize_t n = 0;
  do {
    n = read(fd, head->data(), max);
  } while (n < 0 && errno == EINTR);
  const int e = errno;
  close(fd);
  if (n < 0) {
    *err = "read(" + native + "): " + std::strerror(e);
    return DbStatus::kFailed;
  }
  head->resize(static_cast<size_t>(n));
  return DbStatus::kOk;
}

std::vector<std::string> OdbcDriverNames(DbEngine engine) {
  if (engine == DbEngine::kSqlite) return {"SQLite3", "SQLite3 ODBC Driver"};
  if (engine == DbEngine::kJet) return {"MDBTools"};
  return {};
}

}  // namespace krv
