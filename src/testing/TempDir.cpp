#include "testing/TempDir.h"

#include <atomic>
#include <chrono>
#include <filesystem>

namespace krv {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("krv-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path);
  native_ = path.string();
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(native_, ec);
}

}  // namespace krv
