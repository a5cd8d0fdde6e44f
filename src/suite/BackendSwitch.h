// Switching the data backend, the interface library's operation: the chosen
// file must be a database the backend object can open, then it becomes the
// current user's "Options\BackendPath". The test is a seam: by default the
// file's header is read; the backend object's own open test can take over.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace krv {

class krvLibrary;

enum class BackendKind { kNone, kJet, kAce, kSqlite };

// What the first bytes of a file show: "Standard Jet DB" or "Standard ACE DB"
// at offset 4 (Access), "SQLite format 3" and a NUL at offset 0.
BackendKind BackendKindOfHeader(std::string_view head);
// Bytes that BackendKindOfHeader needs.
inline constexpr size_t kBackendHeaderSize = 20;

class BackendProbe {
 public:
  virtual ~BackendProbe() = default;
  // True when `path` can be opened as a data backend; else false with a
  // German reason that names the file.
  virtual bool CanOpen(const std::string& path, std::string* why) = 0;
};

class HeaderBackendProbe final : public BackendProbe {
 public:
  explicit HeaderBackendProbe(FileSystem& fs) : fs_(fs) {}
  bool CanOpen(const std::string& path, std::string* why) override;

 private:
  FileSystem& fs_;
};

// Checks `path` with `probe` and writes it to "Options\BackendPath" of the
// current user. False with a German reason when the file is no backend or
// the setting cannot be written; the stored path is then unchanged.
bool SwitchBackend(krvLibrary& lib, BackendProbe& probe, const std::string& path, std::string* why);

}  // namespace krv
