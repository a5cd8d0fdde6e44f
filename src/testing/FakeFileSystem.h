// In-memory file system over Windows paths for tests. Names compare
// case-insensitively; folders are created implicitly by AddFile.
#pragma once

#include <algorithm>
#include <map>

#include "base/Text.h"
#include "base/WinPath.h"
#include "platform/FileSystem.h"

namespace krv {

class FakeFileSystem : public FileSystem {
 public:
  struct File {
    std::string path;  // as first written
    std::string content;
    uint32_t attrs = kAttrArchive;
  };

  void AddFile(const std::string& path, const std::string& content = "", uint32_t attrs = kAttrArchive) {
    AddFolder(WinPathFolder(path));
    files_[Key(path)] = File{path, content, attrs};
  }
  void AddFolder(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    for (size_t i = 0; i <= path.size(); ++i) {
      if ((i == path.size() || path[i] == '\\') && !Key(path.substr(0, i)).empty()) {
        folders_.emplace(Key(path.substr(0, i)), path.substr(0, i));
      }
    }
  }
  // Another process holds the file (see FileHeld); `holder` names it.
  void Hold(const std::string& path, const std::string& holder = "") { held[Key(path)] = holder; }
  void Release(const std::string& path) { held.erase(Key(path)); }
  const File* Get(const std::string& path) const {
    auto it = files_.find(Key(path));
    return it == files_.end() ? nullptr : &it->second;
  }

  bool FileExists(const std::string& path) override { return files_.contains(Key(path)); }
  bool FolderExists(const std::string& path) override { return folders_.contains(Key(path)); }
  bool FileLength(const std::string& path, uint64_t* length, std::string* err) override {
    const File* f = Get(path);
    if (f) *length = f->content.size();
    return f || Fail(err, "FileLength", path);
  }
  bool GetAttributes(const std::string& path, uint32_t* attrs, std::string* err) override {
    const File* f = Get(path);
    if (f || FolderExists(path)) *attrs = f ? f->attrs : kAttrDirectory;
    return f || FolderExists(path) || Fail(err, "GetAttributes", path);
  }
  bool SetAttributes(const std::string& path, uint32_t attrs, std::string* err) override {
    auto it = files_.find(Key(path));
    if (it != files_.end()) it->second.attrs = attrs == kAttrNormal ? 0 : attrs;
    return it != files_.end() || Fail(err, "SetAttributes", path);
  }
  bool ModifiedTime(const std::string& path, int64_t* seconds, std::string* err) override {
    *seconds = 0;
    return FileExists(path) || Fail(err, "ModifiedTime", path);
  }
  bool DeleteFile(const std::string& path, std::string* err) override {
    const File* f = Get(path);
    if (!f || (f->attrs & kAttrReadOnly)) return Fail(err, "DeleteFile", path, f ? "read-only" : "not found");
    files_.erase(Key(path));
    return true;
  }
  bool FileHeld(const std::string& path, std::string* holder) override {
    auto it = held.find(Key(path));
    if (it == held.end() || !FileExists(path)) return false;
    if (holder) *holder = it->second;
    return true;
  }
  bool CreateFolder(const std::string& path, std::string* /*err*/) override {
    AddFolder(path);
    return true;
  }
  std::vector<DirEntry> List(const std::string& pattern) override {
    const std::string folder = Key(WinPathFolder(pattern));
    std::vector<DirEntry> out;
    auto add = [&](const std::string& key, const std::string& path, bool is_folder, uint64_t size) {
      if (key != folder && Key(WinPathFolder(key)) == folder &&
          WildcardMatch(WinPathName(pattern), WinPathName(path))) {
        out.push_back({WinPathName(path), is_folder, size});
      }
    };
    for (const auto& [key, file] : files_) add(key, file.path, false, file.content.size());
    for (const auto& [key, path] : folders_) add(key, path, true, 0);
    return out;
  }
  bool CopyFile(const std::string& from, const std::string& to, bool overwrite, const CopyProgress& progress,
                std::string* err) override {
    const File* src = Get(from);
    if (!src) return Fail(err, "CopyFile", from);
    if ((!overwrite && FileExists(to)) || !FolderExists(WinPathFolder(to))) return Fail(err, "CopyFile", to, "exists");
    if (progress && !progress(src->content.size(), src->content.size())) return Fail(err, "CopyFile", to, "cancelled");
    files_[Key(to)] = File{to, src->content, src->attrs};
    return true;
  }
  bool MoveFile(const std::string& from, const std::string& to, std::string* err) override {
    return CopyFile(from, to, false, nullptr, err) && files_.erase(Key(from)) == 1;
  }
  bool FolderWritable(const std::string& folder) override { return FolderExists(folder); }
  bool FreeSpace(const std::string& folder, uint64_t* bytes, std::string* err) override {
    *bytes = 1ull << 40;
    return FolderExists(folder) || Fail(err, "FreeSpace", folder);
  }
  bool ReadFile(const std::string& path, std::string* content, std::string* err) override {
    const File* f = Get(path);
    if (f) *content = f->content;
    return f || Fail(err, "ReadFile", path);
  }
  bool WriteFileAtomic(const std::string& path, const std::string& content, std::string* err) override {
    if (!FolderExists(WinPathFolder(path))) return Fail(err, "WriteFileAtomic", path, "cannot write");
    files_.try_emplace(Key(path), File{path, "", kAttrArchive}).first->second.content = content;
    return true;
  }
  bool AppendFile(const std::string& path, const std::string& content, std::string* err) override {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return WriteFileAtomic(path, content, err);
    if (it->second.attrs & kAttrReadOnly) return Fail(err, "AppendFile", path, "read-only");
    it->second.content += content;
    return true;
  }

  bool CopyToNew(const std::string& from, const std::string& to, const CopyProgress& progress,
                 std::string* err) override {
    if (FileExists(to)) return Fail(err, "CopyToNew", to, "exists");
    return CopyFile(from, to, false, progress, err);
  }
  bool ReadBlocks(const std::string& path, const BlockSink& sink, std::string* err) override {
    const File* f = Get(path);
    if (!f) return Fail(err, "ReadBlocks", path);
    return f->content.empty() || sink(f->content.data(), f->content.size()) || Fail(err, "ReadBlocks", path, "stopped");
  }
  bool FlushFile(const std::string& path, std::string* err) override {
    return FileExists(path) || Fail(err, "FlushFile", path);
  }

  // Folded, normalised key of a path.
  static std::string Key(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return LowerCase(path);
  }

 private:
  static bool Fail(std::string* err, const std::string& what, const std::string& path,
                   const std::string& why = "not found") {
    if (err) *err = what + "(" + path + "): " + why;
    return false;
  }
  std::map<std::string, File> files_;
  std::map<std::string, std::string> held;      // key -> holder
  std::map<std::string, std::string> folders_;  // key -> path as written
};

}  // namespace krv
