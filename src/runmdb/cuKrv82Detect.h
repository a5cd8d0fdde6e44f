// Finds an installed predecessor KORVELLA 8.2 and the paths of its data
// backend and front end. Detects once, on creation; never throws.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace krv {

class cuKrv82Detect {
 public:
  cuKrv82Detect(Registry& registry, FileSystem& fs) noexcept;

  bool IsInstalled() const { return is_installed_; }
  // Set only when the file exists.
  const std::string& BackendPath() const { return backend_path_; }
  const std::string& FrontendPath() const { return frontend_path_; }

 private:
  void Detect(Registry& registry, FileSystem& fs);

  bool is_installed_ = false;
  std::string backend_path_;
  std::string frontend_path_;
};

}  // namespace krv
