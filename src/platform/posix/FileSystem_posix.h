// The file system on POSIX hosts, seen through Windows paths (see
// NativePath_posix.h). Windows behaviour is kept where the core relies on it:
// read-only files are neither written, replaced nor deleted, and a move does
// not replace an existing file.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace krv {

class PosixFileSystem final : public FileSystem {
 public:
  // How CopyFile moves the bytes. kBest starts with copy_file_range and falls
  // back to sendfile, then to read and write, where the kernel or the file
  // system cannot do better; tests pick the fallbacks directly.
  enum class CopyEngine { kBest, kSendfile, kReadWrite };

  explicit PosixFileSystem(CopyEngine engine = CopyEngine::kBest) : engine_(engine) {}

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool FileLength(const std::string& path, uint64_t* length, std::string* err) override;
  // Read-only: no write bit is set. Hidden: the name starts with a dot.
  // Regular files always report archive; a folder reports directory.
  bool GetAttributes(const std::string& path, uint32_t* attrs, std::string* err) override;
  // Read-only clears every write bit; clearing it gives the owner write
  // access back. Hidden, system and archive are not stored here: asking for
  // them succeeds without effect. Folders keep their bits (on Windows
  // read-only does not stop files being created in a folder).
  bool SetAttributes(const std::string& path, uint32_t attrs, std::string* err) override;
  bool ModifiedTime(const std::string& path, int64_t* seconds, std::string* err) override;

  bool DeleteFile(const std::string& path, std::string* err) override;
  // A byte-range lock of another process (classic or open-file-description
  // lock), or an open descriptor of another process found in /proc.
  bool FileHeld(const std::string& path, std::string* holder) override;
  bool CreateFolder(const std::string& path, std::string* err) override;
  // Sorted by name ignoring case; "*.*" matches every name, as on Windows.
  std::vector<DirEntry> List(const std::string& pattern) override;
  // Keeps the source's mode and modified time, as Windows does.
  bool CopyFile(const std::string& from, const std::string& to, bool overwrite, const CopyProgress& progress,
                std::string* err) override;
  bool MoveFile(const std::string& from, const std::string& to, std::string* err) override;
  bool FolderWritable(const std::string& folder) override;
  bool FreeSpace(const std::string& folder, uint64_t* bytes, std::string* err) override;

  bool ReadFile(const std::string& path, std::string* content, std::string* err) override;
  bool ReadFileRange(const std::string& path, uint64_t offset, uint64_t length, std::string* content,
                     std::string* err) override;
  // Keeps the old file's mode and writes through a symbolic link to its target.
  bool WriteFileAtomic(const std::string& path, const std::string& content, std::string* err) override;
  bool AppendFile(const std::string& path, const std::string& content, std::string* err) override;

  // Keeps the source's mode, as CopyFile does.
  bool CopyToNew(const std::string& from, const std::string& to, const CopyProgress& progress,
                 std::string* err) override;
  bool ReadBlocks(const std::string& path, const BlockSink& sink, std::string* err) override;
  bool FlushFile(const std::string& path, std::string* err) override;

 private:
  // At most `max` bytes from the start, read as a stream.
  bool ReadUpTo(const std::string& path, size_t max, std::string* content, std::string* err);
  CopyEngine engine_;
};

}  // namespace krv
