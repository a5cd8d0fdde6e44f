#include "testing/FakeFileSystem.h"

#include "base/Text.h"
#include "base/WinPath.h"

namespace krv {

std::string FakeFileSystem::Key(const std::string& path) {
  std::string p = path;
  for (char& c : p) {
    if (c == '/') c = '\\';
  }
  while (!p.empty() && p.back() == '\\') p.pop_back();
  return LowerCase(p);
}

bool FakeFileSystem::Fail(std::string* err, const std::string& what, const std::string& path) {
  if (err) *err = what + "(" + path + "): not found";
  return false;
}

bool FakeFileSystem::CanWriteIn(const std::string& path) {
  return !read_only_folders.contains(Key(WinPathFolder(path)));
}

void FakeFileSystem::AddFolder(const std::string& path) {
  std::string p = path;
  for (char& c : p) {
    if (c == '/') c = '\\';
  }
  for (size_t i = 0; i <= p.size(); ++i) {
    if (i < p.size() && p[i] != '\\') continue;
    const std::string prefix = p.substr(0, i);
    if (!Key(prefix).empty()) folders_.emplace(Key(prefix), prefix);
  }
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content, uint32_t attrs) {
  AddFolder(WinPathFolder(path));
  files_[Key(path)] = File{path, content, attrs, 0};
}

const FakeFileSystem::File* FakeFileSystem::Get(const std::string& path) const {
  auto it = files_.find(Key(path));
  return it == files_.end() ? nullptr : &it->second;
}

bool FakeFileSystem::FileExists(const std::string& path) { return files_.contains(Key(path)); }

bool FakeFileSystem::FolderExists(const std::string& path) { return folders_.contains(Key(path)); }

bool FakeFileSystem::FileLength(const std::string& path, uint64_t* length, std::string* err) {
  const File* f = Get(path);
  if (!f) return Fail(err, "FileLength", path);
  *length = f->content.size();
  return true;
}

bool FakeFileSystem::GetAttributes(const std::string& path, uint32_t* attrs, std::string* err) {
  if (const File* f = Get(path)) {
    *attrs = f->attrs;
    return true;
  }
  if (FolderExists(path)) {
    *attrs = kAttrDirectory;
    return true;
  }
  return Fail(err, "GetAttributes", path);
}

bool FakeFileSystem::SetAttributes(const std::string& path, uint32_t attrs, std::string* err) {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return Fail(err, "SetAttributes", path);
  it->second.attrs = attrs == kAttrNormal ? 0 : attrs;
  return true;
}

bool FakeFileSystem::ModifiedTime(const std::string& path, int64_t* seconds, std::string* err) {
  const File* f = Get(path);
  if (!f) return Fail(err, "ModifiedTime", path);
  *seconds = f->mtime;
  return true;
}

bool FakeFileSystem::DeleteFile(const std::string& path, std::string* err) {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return Fail(err, "DeleteFile", path);
  if (it->second.attrs & kAttrReadOnly) {
    if (err) *err = "DeleteFile(" + path + "): read-only";
    return false;
  }
  files_.erase(it);
  return true;
}

bool FakeFileSystem::CreateFolder(const std::string& path, std::string* err) {
  if (!CanWriteIn(Key(path))) {
    if (err) *err = "CreateFolder(" + path + "): access denied";
    return false;
  }
  AddFolder(path);
  return true;
}

std::vector<DirEntry> FakeFileSystem::List(const std::string& pattern) {
  const std::string folder = Key(WinPathFolder(pattern));
  const std::string mask = WinPathName(pattern);
  std::vector<DirEntry> out;
  for (const auto& [key, file] : files_) {
    if (Key(WinPathFolder(key)) == folder && WildcardMatch(mask, WinPathName(file.path))) {
      out.push_back({WinPathName(file.path), false, file.content.size()});
    }
  }
  for (const auto& [key, path] : folders_) {
    if (key != folder && Key(WinPathFolder(key)) == folder && WildcardMatch(mask, WinPathName(path))) {
      out.push_back({WinPathName(path), true, 0});
    }
  }
  return out;
}

bool FakeFileSystem::CopyFile(const std::string& from, const std::string& to, bool overwrite,
                              const CopyProgress& progress, std::string* err) {
  const File* src = Get(from);
  if (!src) return Fail(err, "CopyFile", from);
  if (!overwrite && FileExists(to)) {
    if (err) *err = "CopyFile(" + to + "): exists";
    return false;
  }
  if (!CanWriteIn(to) || !FolderExists(WinPathFolder(to))) {
    if (err) *err = "CopyFile(" + to + "): cannot write";
    return false;
  }
  if (progress && !progress(src->content.size(), src->content.size())) {
    if (err) *err = "CopyFile(" + to + "): cancelled";
    return false;
  }
  File copy = *src;
  copy.path = to;
  files_[Key(to)] = copy;
  return true;
}

bool FakeFileSystem::MoveFile(const std::string& from, const std::string& to, std::string* err) {
  if (!CopyFile(from, to, false, nullptr, err)) return false;
  files_.erase(Key(from));
  return true;
}

bool FakeFileSystem::FolderWritable(const std::string& folder) {
  return FolderExists(folder) && !read_only_folders.contains(Key(folder));
}

bool FakeFileSystem::FreeSpace(const std::string& folder, uint64_t* bytes, std::string* err) {
  if (!FolderExists(folder)) return Fail(err, "FreeSpace", folder);
  *bytes = free_space;
  return true;
}

bool FakeFileSystem::ReadFile(const std::string& path, std::string* content, std::string* err) {
  const File* f = Get(path);
  if (!f) return Fail(err, "ReadFile", path);
  *content = f->content;
  return true;
}

bool FakeFileSystem::WriteFileAtomic(const std::string& path, const std::string& content, std::string* err) {
  if (!CanWriteIn(path) || !FolderExists(WinPathFolder(path))) {
    if (err) *err = "WriteFileAtomic(" + path + "): cannot write";
    return false;
  }
  auto it = files_.find(Key(path));
  if (it != files_.end()) {
    it->second.content = content;
  } else {
    files_[Key(path)] = File{path, content, kAttrArchive, 0};
  }
  return true;
}

bool FakeFileSystem::AppendFile(const std::string& path, const std::string& content, std::string* err) {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return WriteFileAtomic(path, content, err);
  if (it->second.attrs & kAttrReadOnly) {
    if (err) *err = "AppendFile(" + path + "): read-only";
    return false;
  }
  it->second.content += content;
  return true;
}

}  // namespace krv
