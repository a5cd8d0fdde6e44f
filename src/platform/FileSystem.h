// File system seen through Windows paths (drive letters, backslashes, UNC
// names) on every platform. The POSIX implementation maps drive Z: to the
// root of the file system, as Wine does, and finds a file whose name differs
// only in letter case. Nothing here throws; failures fill `err`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace krv {

// Windows file attribute bits.
enum FileAttr : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
};

struct DirEntry {
  std::string name;  // name only, as stored
  bool is_folder = false;
  uint64_t size = 0;
};

// Called during long copies with bytes done and total; return false to cancel.
using CopyProgress = std::function<bool(uint64_t done, uint64_t total)>;

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool FileExists(const std::string& path) = 0;    // a file, not a folder
  virtual bool FolderExists(const std::string& path) = 0;  // a folder, not a file
  virtual bool FileLength(const std::string& path, uint64_t* length, std::string* err) = 0;
  virtual bool GetAttributes(const std::string& path, uint32_t* attrs, std::string* err) = 0;
  // Sets read-only, hidden, system, archive; kAttrNormal clears them all.
  virtual bool SetAttributes(const std::string& path, uint32_t attrs, std::string* err) = 0;
  // Last write time as seconds since 1970 (UTC).
  virtual bool ModifiedTime(const std::string& path, int64_t* seconds, std::string* err) = 0;

  virtual bool DeleteFile(const std::string& path, std::string* err) = 0;
  // True when another process has the file open or holds a lock on it, as
  // Access holds a database's lock file. Windows refuses to delete such a
  // file; POSIX does not, so callers ask first. `holder` gets the program's
  // name where the system can tell, else stays empty. False for a missing file.
  virtual bool FileHeld(const std::string& path, std::string* holder) = 0;
  virtual bool CreateFolder(const std::string& path, std::string* err) = 0;  // parents too
  // Entries of the folder of `pattern` whose names match its last component
  // ("*" and "?" wildcards, case-insensitive), without "." and "..".
  virtual std::vector<DirEntry> List(const std::string& pattern) = 0;
  // Copies to a temporary name beside `to` and renames it only when complete.
  virtual bool CopyFile(const std::string& from, const std::string& to, bool overwrite, const CopyProgress& progress,
                        std::string* err) = 0;
  virtual bool MoveFile(const std::string& from, const std::string& to, std::string* err) = 0;
  // True when a file can be created in the folder (tried, then removed).
  virtual bool FolderWritable(const std::string& folder) = 0;
  virtual bool FreeSpace(const std::string& folder, uint64_t* bytes, std::string* err) = 0;

  virtual bool ReadFile(const std::string& path, std::string* content, std::string* err) = 0;
  // Replaces the file atomically and durably (temporary file, flush, rename).
  virtual bool WriteFileAtomic(const std::string& path, const std::string& content, std::string* err) = 0;
  virtual bool AppendFile(const std::string& path, const std::string& content, std::string* err) = 0;

  // At most `max` bytes from the start of the file (a header); the platforms
  // read no more than that.
  virtual bool ReadHead(const std::string& path, size_t max, std::string* content, std::string* err) {
    if (!ReadFile(path, content, err)) return false;
    if (content->size() > max) content->resize(max);
    return true;
  }
};

}  // namespace krv
