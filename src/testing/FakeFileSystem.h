// In-memory file system over Windows paths for tests. Names compare
// case-insensitively; folders are created implicitly by AddFile.
#pragma once

#include <map>
#include <set>

#include "platform/FileSystem.h"

namespace krv {

class FakeFileSystem : public FileSystem {
 public:
  struct File {
    std::string path;  // as first written
    std::string content;
    uint32_t attrs = kAttrArchive;
    int64_t mtime = 0;
  };

  // Test set-up and inspection.
  void AddFile(const std::string& path, const std::string& content = "", uint32_t attrs = kAttrArchive);
  void AddFolder(const std::string& path);
  const File* Get(const std::string& path) const;
  std::set<std::string> read_only_folders;  // folded paths where nothing may be created
  uint64_t free_space = 1ull << 40;

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool FileLength(const std::string& path, uint64_t* length, std::string* err) override;
  bool GetAttributes(const std::string& path, uint32_t* attrs, std::string* err) override;
  bool SetAttributes(const std::string& path, uint32_t attrs, std::string* err) override;
  bool ModifiedTime(const std::string& path, int64_t* seconds, std::string* err) override;
  bool DeleteFile(const std::string& path, std::string* err) override;
  bool CreateFolder(const std::string& path, std::string* err) override;
  std::vector<DirEntry> List(const std::string& pattern) override;
  bool CopyFile(const std::string& from, const std::string& to, bool overwrite, const CopyProgress& progress,
                std::string* err) override;
  bool MoveFile(const std::string& from, const std::string& to, std::string* err) override;
  bool FolderWritable(const std::string& folder) override;
  bool FreeSpace(const std::string& folder, uint64_t* bytes, std::string* err) override;
  bool ReadFile(const std::string& path, std::string* content, std::string* err) override;
  bool WriteFileAtomic(const std::string& path, const std::string& content, std::string* err) override;
  bool AppendFile(const std::string& path, const std::string& content, std::string* err) override;

  // Folded, normalised key of a path.
  static std::string Key(const std::string& path);

 private:
  bool Fail(std::string* err, const std::string& what, const std::string& path);
  bool CanWriteIn(const std::string& path);
  std::map<std::string, File> files_;
  std::map<std::string, std::string> folders_;  // key -> path as written
};

}  // namespace krv
