#include "msaccess/StandIn.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "base/WinPath.h"
#include "platform/Platform.h"

#ifdef _WIN32
#include <windows.h>

// After windows.h, which it builds on.
#include <shellapi.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <climits>

#include "platform/posix/NativePath_posix.h"
#endif

namespace krv::standin {
namespace {

constexpr char kProductRoot[] = "Software\\Vantorel\\Korvella\\10.25";
constexpr char kOptionsKey[] = "Software\\Vantorel\\Korvella\\10.25\\Options";

#ifdef _WIN32
std::string ToUtf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, w.data(), n);
  return w;
}

std::string OwnFolder() {
  wchar_t path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring p(path, n);
  return ToUtf8(p.substr(0, p.find_last_of(L"\\/") + 1).c_str());
}

FILE* OpenForWrite(const std::string& utf8) { return _wfopen(Wide(utf8).c_str(), L"wb"); }

bool ReplaceWith(const std::string& from, const std::string& to) {
  return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
#else
std::string OwnFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  std::string p = n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string("./");
  return p.substr(0, p.find_last_of('/') + 1);
}

FILE* OpenForWrite(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

bool ReplaceWith(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }
#endif

}  // namespace

#ifdef _WIN32
std::vector<std::string> Arguments(int, char**) {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; argv && i < count; ++i) args.push_back(ToUtf8(argv[i]));
  LocalFree(argv);
  return args;
}
#else
std::vector<std::string> Arguments(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }
#endif

bool RecordArguments(const std::string& name, const std::vector<std::string>& args) {
  std::string content;
  for (const std::string& arg : args) content += arg + "\n";
  // Written whole under a temporary name and renamed, so a reader never sees half a list.
  const std::string path = OwnFolder() + name + ".args";
  const std::string temp = path + ".tmp";
  FILE* file = OpenForWrite(temp);
  const bool written = file && std::fwrite(content.data(), 1, content.size(), file) == content.size();
  if (file) std::fclose(file);
  if (!written || !ReplaceWith(temp, path)) {
    std::fprintf(stderr, "%s: cannot write %s\n", name.c_str(), path.c_str());
    return false;
  }
  // The list stays in the file: it holds the workgroup password, which is not for the screen.
  std::printf("%s (stand-in) received %zu arguments, recorded in %s\n", name.c_str(), args.size(), path.c_str());
  std::fflush(stdout);
  return true;
}

std::string BackendPath() {
  Platform p = CreateNativePlatform();
  for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
    RegValue value;
    if (p.registry->ReadValue(hive, kOptionsKey, "BackendPath", &value, nullptr) == RegStatus::kOk &&
        !value.text.empty())
      return value.text;
  }
  return {};
}

void RecordCompressedSize(DbConnection& db, const std::string& backend) {
  std::string id, err;
  bool has_row = false;
  if (!db.QueryValue("SELECT [ID] FROM [USysBackendId]", &id, &has_row, &err) || id.empty()) return;
  Platform p = CreateNativePlatform();
  uint64_t size = 0;
  if (!p.fs->FileLength(backend, &size, &err)) return;
  const std::time_t now = std::time(nullptr);
  char stamp[16];
  std::strftime(stamp, sizeof(stamp), "%Y%m%d%H%M%S", std::localtime(&now));
  const std::string key = std::string(kProductRoot) + "\\Compressor\\Backend\\" + id;
  p.registry->WriteValue(Hive::CurrentUser, key, "DateTime", RegValue::Sz(stamp), nullptr);
  p.registry->WriteValue(Hive::CurrentUser, key, "FileSize", RegValue::Sz(std::to_string(size)), nullptr);
  p.registry->WriteValue(Hive::CurrentUser, key, "Path", RegValue::Sz(backend), nullptr);
}

std::string ProcessTag(const std::string& name) {
#ifdef _WIN32
  return name + " " + std::to_string(GetCurrentProcessId());
#else
  return name + " " + std::to_string(getpid());
#endif
}

int Seconds(const char* name) {
  const char* text = std::getenv(name);
  return text ? std::max(0, std::atoi(text)) : 0;
}

void Sleep(int seconds) { std::this_thread::sleep_for(std::chrono::seconds(seconds)); }

LockFile::LockFile(const std::string& backend) : path_(WinPathFolder(backend) + WinPathStem(backend) + ".ldb") {
#ifdef _WIN32
  // Without FILE_SHARE_DELETE nobody can delete it while it is open, as with Jet.
  HANDLE h = CreateFileW(Wide(path_).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  held_ = h != INVALID_HANDLE_VALUE;
  handle_ = reinterpret_cast<intptr_t>(h);
#else
  std::string native;
  if (!MapWinPath(path_, &native, nullptr)) return;
  const int fd = open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  held_ = fcntl(fd, F_SETLK, &lock) == 0;
  handle_ = fd;
#endif
}

void LockFile::Release() {
  if (handle_ == -1) return;
#ifdef _WIN32
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
  DeleteFileW(Wide(path_).c_str());
#else
  std::string native;
  if (MapWinPath(path_, &native, nullptr)) unlink(native.c_str());
  close(static_cast<int>(handle_));
#endif
  handle_ = -1;
  held_ = false;
}

LockFile::~LockFile() { Release(); }

}  // namespace krv::standin
