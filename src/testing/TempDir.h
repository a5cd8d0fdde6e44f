// A fresh folder below the system's temporary folder, removed with its
// contents when the object dies. `native` is the host path.
#pragma once

#include <string>

namespace krv {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& native() const { return native_; }

 private:
  std::string native_;
};

}  // namespace krv
