// Switching the data backend, the interface library's operation: the chosen
// file must be a database the backend object can open, then it becomes the
// current user's "Options\BackendPath".
#pragma once

#include <string>
#include <string_view>

#include "platform/Database.h"
#include "platform/FileSystem.h"

namespace krv {

class krvLibrary;

// Bytes of a file that tell its engine (EngineFromHeader).
inline constexpr size_t kBackendHeaderSize = 20;

class BackendProbe {
 public:
  virtual ~BackendProbe() = default;
  // True when `path` can be opened as a data backend; else false with a
  // German reason that names the file.
  virtual bool CanOpen(const std::string& path, std::string* why) = 0;
};

// The file's header must name a database engine; with a database service the
// backend object must also open the file and read its address table.
class OpenBackendProbe final : public BackendProbe {
 public:
  OpenBackendProbe(FileSystem& fs, Database* db) : fs_(fs), db_(db) {}
  bool CanOpen(const std::string& path, std::string* why) override;

 private:
  FileSystem& fs_;
  Database* db_;
};

// Checks `path` with `probe` and writes it to "Options\BackendPath" of the
// current user. False with a German reason when the file is no backend or
// the setting cannot be written; the stored path is then unchanged.
bool SwitchBackend(krvLibrary& lib, BackendProbe& probe, const std::string& path, std::string* why);

}  // namespace krv
