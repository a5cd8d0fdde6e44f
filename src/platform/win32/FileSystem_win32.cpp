// Win32 code only: the file system through the kernel32 W functions.
#include <algorithm>
#include <atomic>
#include <exception>

#include "base/Text.h"
#include "base/WinPath.h"
#include "platform/win32/Services_win32.h"
#include "platform/win32/Win32Util_win32.h"

namespace krv::win32 {
namespace {

constexpr DWORD kSettableAttrs =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

bool Stat(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA* data, DWORD* error = nullptr) {
  if (GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, data)) return true;
  if (error) *error = GetLastError();
  return false;
}

bool IsFolder(const WIN32_FILE_ATTRIBUTE_DATA& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

uint64_t SizeOf(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

// A name beside `path` that no other writer uses; the "~" and ".tmp" keep it out of "*.mdb" listings.
std::string TempBeside(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return WinPathFolder(path) + "~krv" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) + "-" +
         WinPathName(path) + ".tmp";
}

// Windows refuses to replace a read-only file; Wine does not, so we ask first.
bool ReadOnlyFile(const std::string& path) {
  const DWORD attrs = GetFileAttributesW(WidePath(path).c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY) && (attrs & FILE_ATTRIBUTE_READONLY);
}

void RemoveTemp(const std::string& tmp) {
  const std::wstring w = WidePath(tmp);
  SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_NORMAL);  // a copy of a read-only file is read-only too
  DeleteFileW(w.c_str());
}

bool WriteAll(HANDLE h, const std::string& content, const std::string& path, std::string* err) {
  size_t done = 0;
  while (done < content.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 24));
    DWORD written = 0;
    if (!WriteFile(h, content.data() + done, chunk, &written, nullptr)) {
      return Fail(err, "WriteFile", path, GetLastError());
    }
    done += written;
  }
  return true;
}

// Windows also matches a pattern against the 8.3 short name, so "*.mdb" finds
// "x.mdbx" (short name "X~1.MDB"). A literal three-letter extension in the
// pattern must therefore be the long name's extension too.
bool MatchedOnlyByShortName(const std::string& mask, const std::string& name) {
  const size_t dot = mask.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = mask.substr(dot + 1);
  if (ext.size() != 3 || ext.find_first_of("*?") != std::string::npos) return false;
  const size_t name_dot = name.rfind('.');
  return name_dot == std::string::npos || !IEquals(name.substr(name_dot + 1), ext);
}

// Removes the temporary file on every way out unless it was renamed into place.
struct TempFile {
  explicit TempFile(std::string p) : path(std::move(p)) {}
  ~TempFile() {
    if (!keep) RemoveTemp(path);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  std::string path;
  bool keep = false;
};

struct CopyContext {
  const CopyProgress* progress = nullptr;
  bool called = false;
  bool cancelled = false;
  std::exception_ptr thrown;  // carried across the C callback and raised again afterwards
};

DWORD CALLBACK CopyRoutine(LARGE_INTEGER total, LARGE_INTEGER done, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE,
                           HANDLE, LPVOID data) {
  auto* ctx = static_cast<CopyContext*>(data);
  ctx->called = true;
  try {
    if ((*ctx->progress)(static_cast<uint64_t>(done.QuadPart), static_cast<uint64_t>(total.QuadPart))) {
      return PROGRESS_CONTINUE;
    }
  } catch (...) {
    ctx->thrown = std::current_exception();
  }
  ctx->cancelled = true;
  return PROGRESS_CANCEL;
}

class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return Stat(path, &data) && !IsFolder(data);
  }

  bool FolderExists(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return Stat(path, &data) && IsFolder(data);
  }

  bool FileLength(const std::string& path, uint64_t* length, std::string* err) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    DWORD error = 0;
    if (!Stat(path, &data, &error)) return Fail(err, "GetFileAttributesExW", path, error);
    if (IsFolder(data)) {
      if (err) *err = "GetFileAttributesExW(" + path + "): a folder, not a file";
      return false;
    }
    *length = SizeOf(data.nFileSizeHigh, data.nFileSizeLow);
    return true;
  }

  bool GetAttributes(const std::string& path, uint32_t* attrs, std::string* err) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    DWORD error = 0;
    if (!Stat(path, &data, &error)) return Fail(err, "GetFileAttributesExW", path, error);
    *attrs = data.dwFileAttributes;
    return true;
  }

  bool SetAttributes(const std::string& path, uint32_t attrs, std::string* err) override {
    DWORD set = (attrs & kAttrNormal) ? 0 : (attrs & kSettableAttrs);
    if (set == 0) set = FILE_ATTRIBUTE_NORMAL;
    if (SetFileAttributesW(WidePath(path).c_str(), set)) return true;
    return Fail(err, "SetFileAttributesW", path, GetLastError());
  }

  bool ModifiedTime(const std::string& path, int64_t* seconds, std::string* err) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    DWORD error = 0;
    if (!Stat(path, &data, &error)) return Fail(err, "GetFileAttributesExW", path, error);
    const uint64_t ticks = SizeOf(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    constexpr int64_t kEpochDiff = 11644473600LL;  // seconds from 1601 to 1970
    *seconds = static_cast<int64_t>(ticks / 10000000ULL) - kEpochDiff;
    return true;
  }

  bool DeleteFile(const std::string& path, std::string* err) override {
    if (DeleteFileW(WidePath(path).c_str())) return true;
    return Fail(err, "DeleteFileW", path, GetLastError());
  }

  // Held when it cannot be opened without sharing: another process has it
  // open or locked. Windows does not name that process cheaply.
  bool FileHeld(const std::string& path, std::string* holder) override {
    if (holder) holder->clear();
    const std::wstring w = WidePath(path);
    const DWORD attrs = GetFileAttributesW(w.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return false;
    UniqueHandle h(CreateFileW(w.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (h.get() != INVALID_HANDLE_VALUE) return false;
    const DWORD e = GetLastError();
    return e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION;
  }

  bool CreateFolder(const std::string& path, std::string* err) override {
    std::string p = path;
    for (char& c : p) {
      if (c == '/') c = '\\';
    }
    while (p.size() > 1 && p.back() == '\\') p.pop_back();
    // Creates each missing folder from the top; the drive or the UNC share is never created.
    for (size_t pos = RootLength(p); pos <= p.size(); ++pos) {
      if (pos < p.size() && p[pos] != '\\') continue;
      const std::string part = p.substr(0, pos);
      if (part.empty() || part.back() == '\\' || FolderExists(part)) continue;
      if (!CreateDirectoryW(WidePath(part).c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (!(error == ERROR_ALREADY_EXISTS && FolderExists(part))) return Fail(err, "CreateDirectoryW", part, error);
      }
    }
    return true;
  }

  std::vector<DirEntry> List(const std::string& pattern) override {
    std::vector<DirEntry> out;
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileExW(WidePath(pattern).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find.valid()) return out;
    const std::string mask = WinPathName(pattern);
    do {
      const std::string name = Narrow(data.cFileName);
      if (name == "." || name == ".." || MatchedOnlyByShortName(mask, name)) continue;
      const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      out.push_back({name, folder, folder ? 0 : SizeOf(data.nFileSizeHigh, data.nFileSizeLow)});
    } while (FindNextFileW(find.get(), &data));
    return out;
  }

  bool CopyFile(const std::string& from, const std::string& to, bool overwrite, const CopyProgress& progress,
                std::string* err) override {
    if (!overwrite && FileExists(to)) return Fail(err, "CopyFileExW", to, ERROR_FILE_EXISTS);
    if (ReadOnlyFile(to)) return Fail(err, "CopyFileExW", to, ERROR_ACCESS_DENIED);
    TempFile tmp(TempBeside(to));
    CopyContext ctx;
    ctx.progress = &progress;
    BOOL cancel = FALSE;
    if (!CopyFileExW(WidePath(from).c_str(), WidePath(tmp.path).c_str(), progress ? CopyRoutine : nullptr, &ctx,
                     &cancel, COPY_FILE_FAIL_IF_EXISTS)) {
      const DWORD error = GetLastError();
      if (ctx.thrown) std::rethrow_exception(ctx.thrown);
      if (ctx.cancelled) return Cancelled(err, from);
      return Fail(err, "CopyFileExW", from, error);
    }
    uint64_t from_size = 0, tmp_size = 0;
    if (!FileLength(from, &from_size, err) || !FileLength(tmp.path, &tmp_size, err)) return false;
    if (tmp_size != from_size) {
      if (err) *err = "CopyFileExW(" + from + "): the copy is incomplete";
      return false;
    }
    // Some systems never report progress; the caller still gets its one chance to cancel.
    if (progress && !ctx.called && !progress(from_size, from_size)) return Cancelled(err, from);
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (overwrite ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExW(WidePath(tmp.path).c_str(), WidePath(to).c_str(), flags)) {
      return Fail(err, "MoveFileExW", to, GetLastError());
    }
    tmp.keep = true;
    return true;
  }

  bool MoveFile(const std::string& from, const std::string& to, std::string* err) override {
    if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    return Fail(err, "MoveFileExW", from + " -> " + to, GetLastError());
  }

  bool FolderWritable(const std::string& folder) override {
    if (!FolderExists(folder)) return false;
    const std::string probe = TempBeside(WinPathJoin(folder, "probe"));
    const std::wstring w = WidePath(probe);
    UniqueHandle h(CreateFileW(w.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!h.valid()) return false;
    h.Reset();
    return DeleteFileW(w.c_str()) != 0;
  }

  bool FreeSpace(const std::string& folder, uint64_t* bytes, std::string* err) override {
    std::string dir = folder;
    if (dir.empty() || dir.back() != '\\') dir += '\\';  // UNC roots need it
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExW(WidePath(dir).c_str(), &available, nullptr, nullptr)) {
      return Fail(err, "GetDiskFreeSpaceExW", folder, GetLastError());
    }
    *bytes = available.QuadPart;
    return true;
  }

  bool ReadFile(const std::string& path, std::string* content, std::string* err) override {
    return ReadUpTo(path, std::string().max_size(), content, err);
  }

  bool ReadUpTo(const std::string& path, size_t max, std::string* content, std::string* err) {
    UniqueHandle h(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h.valid()) return Fail(err, "CreateFileW", path, GetLastError());
    std::string data;
    LARGE_INTEGER size;
    if (GetFileSizeEx(h.get(), &size) && size.QuadPart > 0)
      data.reserve(std::min(max, static_cast<size_t>(size.QuadPart)));
    char buffer[1 << 16];
    while (data.size() < max) {
      DWORD got = 0;
      const auto want = static_cast<DWORD>(std::min(sizeof buffer, max - data.size()));
      if (!::ReadFile(h.get(), buffer, want, &got, nullptr)) return Fail(err, "ReadFile", path, GetLastError());
      if (got == 0) break;
      data.append(buffer, got);
    }
    *content = std::move(data);
    return true;
  }

  bool ReadFileRange(const std::string& path, uint64_t offset, uint64_t length, std::string* content,
                     std::string* err) override {
    UniqueHandle h(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) return Fail(err, "CreateFileW", path, GetLastError());
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h.get(), &size)) return Fail(err, "GetFileSizeEx", path, GetLastError());
    const uint64_t total = static_cast<uint64_t>(size.QuadPart);
    std::string data(offset < total ? static_cast<size_t>(std::min(length, total - offset)) : 0, '\0');
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!data.empty() && !SetFilePointerEx(h.get(), at, nullptr, FILE_BEGIN))
      return Fail(err, "SetFilePointerEx", path, GetLastError());
    size_t done = 0;
    while (done < data.size()) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 30));
      if (!::ReadFile(h.get(), data.data() + done, want, &got, nullptr))
        return Fail(err, "ReadFile", path, GetLastError());
      if (got == 0) break;  // the file became shorter
      done += got;
    }
    data.resize(done);
    *content = std::move(data);
    return true;
  }

  bool WriteFileAtomic(const std::string& path, const std::string& content, std::string* err) override {
    if (ReadOnlyFile(path)) return Fail(err, "MoveFileExW", path, ERROR_ACCESS_DENIED);
    const std::string tmp_path = TempBeside(path);
    const std::wstring wtmp = WidePath(tmp_path);
    UniqueHandle h(CreateFileW(wtmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) return Fail(err, "CreateFileW", tmp_path, GetLastError());
    TempFile tmp(tmp_path);
    if (!WriteAll(h.get(), content, tmp_path, err)) return false;
    if (!FlushFileBuffers(h.get())) return Fail(err, "FlushFileBuffers", tmp_path, GetLastError());
    h.Reset();
    // The new file keeps the hidden and system marks of the one it replaces.
    const DWORD old_attrs = GetFileAttributesW(WidePath(path).c_str());
    if (old_attrs != INVALID_FILE_ATTRIBUTES && !(old_attrs & FILE_ATTRIBUTE_DIRECTORY) &&
        (old_attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
      SetFileAttributesW(wtmp.c_str(), old_attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    }
    // A virus scanner may hold the target for a moment after it was written.
    DWORD error = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
      if (MoveFileExW(wtmp.c_str(), WidePath(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        tmp.keep = true;
        return true;
      }
      error = GetLastError();
      if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) break;
      Sleep(50 * (attempt + 1));
    }
    return Fail(err, "MoveFileExW", path, error);
  }

  bool AppendFile(const std::string& path, const std::string& content, std::string* err) override {
    UniqueHandle h(CreateFileW(WidePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) return Fail(err, "CreateFileW", path, GetLastError());
    return WriteAll(h.get(), content, path, err);
  }

  bool CopyToNew(const std::string& from, const std::string& to, const CopyProgress& progress,
                 std::string* err) override {
    if (FileExists(to) || FolderExists(to)) return Fail(err, "CopyFileExW", to, ERROR_FILE_EXISTS);
    TempFile made(to);  // from here on `to` is ours, removed unless complete
    CopyContext ctx;
    ctx.progress = &progress;
    BOOL cancel = FALSE;
    if (!CopyFileExW(WidePath(from).c_str(), WidePath(to).c_str(), progress ? CopyRoutine : nullptr, &ctx, &cancel,
                     COPY_FILE_FAIL_IF_EXISTS)) {
      const DWORD error = GetLastError();
      made.keep = error == ERROR_FILE_EXISTS;  // another writer's file, not ours to remove
      if (ctx.thrown) std::rethrow_exception(ctx.thrown);
      if (ctx.cancelled) return Cancelled(err, from);
      return Fail(err, "CopyFileExW", from, error);
    }
    if (progress && !ctx.called) {
      uint64_t size = 0;
      if (!FileLength(to, &size, err)) return false;
      if (!progress(size, size)) return Cancelled(err, from);
    }
    made.keep = true;
    return true;
  }

  bool FlushFile(const std::string& path, std::string* err) override {
    UniqueHandle h(
        CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h.valid()) return Fail(err, "CreateFileW", path, GetLastError());
    if (!FlushFileBuffers(h.get())) return Fail(err, "FlushFileBuffers", path, GetLastError());
    return true;
  }

  bool ReadBlocks(const std::string& path, const BlockSink& sink, std::string* err) override {
    UniqueHandle h(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h.valid()) return Fail(err, "CreateFileW", path, GetLastError());
    std::vector<char> buffer(256 * 1024);
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(h.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
        return Fail(err, "ReadFile", path, GetLastError());
      }
      if (got == 0) return true;
      if (!sink(buffer.data(), got)) {
        if (err) *err = "ReadFile(" + path + "): stopped";
        return false;
      }
    }
  }

 private:
  // Length of "C:\" or "\\server\share\" at the start; 0 for a relative path.
  static size_t RootLength(const std::string& p) {
    if (p.size() >= 2 && p[1] == ':') return p.size() >= 3 && p[2] == '\\' ? 3 : 2;
    if (p.starts_with("\\\\")) {
      const size_t server_end = p.find('\\', 2);
      if (server_end == std::string::npos) return p.size();
      const size_t share_end = p.find('\\', server_end + 1);
      return share_end == std::string::npos ? p.size() : share_end + 1;
    }
    return 0;
  }

  static bool Cancelled(std::string* err, const std::string& from) {
    if (err) *err = "CopyFileExW(" + from + "): cancelled";
    return false;
  }
};

}  // namespace

std::unique_ptr<FileSystem> NewFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace krv::win32
