// Prints the backup component's throughput for one large backend as a ratio
// to "cp" followed by "sync" of the copy (both leave the data on disk). The
// component also checks the copy against the backend (size and checksum).
//
//   backup_bench [folder [MiB]]     default: the system's temporary folder, 1024 MiB
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include "base/WinPath.h"
#include "base/cuAppError.h"
#include "platform/Platform.h"
#include "platform/posix/NativePath_posix.h"
#include "suite/IObjects.h"
#include "suite/SuiteNames.h"
#include "suite/krvBackup.h"
#include "suite/krvLibrary.h"
#endif

namespace {

#ifndef _WIN32
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Answers every message box with its first button and remembers the last text.
class QuietDialogs : public krv::Dialogs {
 public:
  std::string last;
  int MessageBox(const std::string& text, const std::string&, int) override {
    last = text;
    return krv::kIdOk;
  }
};

bool WriteBackend(const fs::path& path, uint64_t mib) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<uint64_t> block((1 << 20) / sizeof(uint64_t));
  uint64_t x = 88172645463325252ull;
  for (uint64_t i = 0; i < mib && out; ++i) {
    for (uint64_t& w : block) {
      x ^= x << 13;
      x ^= x >> 7;
      x ^= x << 17;
      w = x;
    }
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * 8));
  }
  out.close();
  return out.good() && std::system(("sync '" + path.string() + "'").c_str()) == 0;
}

int Run(const fs::path& root, uint64_t mib) {
  const fs::path data = root / "Daten", backups = root / "Sicherung", registry = root / "registry";
  fs::remove_all(root);
  fs::create_directories(data);
  fs::create_directories(backups);
  fs::create_directories(registry);
  setenv("KRV_REGISTRY_DIR", registry.c_str(), 1);
  const fs::path backend = data / "krvdat25.db";
  if (!WriteBackend(backend, mib)) {
    std::fprintf(stderr, "cannot write %s\n", backend.c_str());
    return 1;
  }

  krv::Platform p = krv::CreateNativePlatform();
  QuietDialogs dialogs;
  krv::cuAppError err(dialogs, krv::AppInfo{});
  krv::krvLibrary lib(*p.registry, *p.fs, *p.system);
  krv::IObjects objects(*p.registry, *p.fs, *p.system);
  lib.RegWrite(krv::Hive::CurrentUser, std::string(krv::kProductRoot) + "\\Options", "BackendPath",
               krv::NativeToWinPath(backend.string()));
  lib.RegWrite(krv::Hive::LocalMachine, std::string(krv::kProductRoot) + "\\AutoBackup", "Folder",
               krv::NativeToWinPath(backups.string()));
  krv::krvBackup backup(lib, objects, err);

  std::printf("backend: %llu MiB in %s\n", static_cast<unsigned long long>(mib), data.c_str());
  const fs::path cp_copy = root / "cp-copy.db";
  // Each measurement starts with no copy on disk and nothing left to write.
  auto settle = [&] {
    fs::remove(cp_copy);
    for (const auto& e : fs::directory_iterator(backups)) fs::remove(e.path());
    return std::system("sync") == 0;
  };
  auto time_cp = [&] {
    settle();
    const Clock::time_point start = Clock::now();
    const std::string c = "'" + cp_copy.string() + "'";
    if (std::system(("cp '" + backend.string() + "' " + c + " && sync " + c).c_str()) != 0) return -1.0;
    return Seconds(start);
  };
  auto time_backup = [&] {
    settle();
    const Clock::time_point start = Clock::now();
    const int32_t result = backup.Backup();
    const double seconds = Seconds(start);
    if (result == krv::kBackupMade) return seconds;
    std::fprintf(stderr, "backup failed (%d): %s\n", result, dialogs.last.c_str());
    return -1.0;
  };

  constexpr int kRounds = 5;
  std::vector<double> ratios;
  double best_cp = 1e300, best_backup = 1e300;
  for (int round = 1; round <= kRounds; ++round) {
    // Alternate the order, so neither side always finds the disk busier.
    double cp = 0, ours = 0;
    if (round % 2) {
      cp = time_cp();
      ours = time_backup();
    } else {
      ours = time_backup();
      cp = time_cp();
    }
    if (cp < 0 || ours < 0) return 1;
    std::printf("round %d: cp + sync %.2f s (%.0f MiB/s), component %.2f s (%.0f MiB/s), ratio %.3f\n", round, cp,
                static_cast<double>(mib) / cp, ours, static_cast<double>(mib) / ours, cp / ours);
    ratios.push_back(cp / ours);
    best_cp = std::min(best_cp, cp);
    best_backup = std::min(best_backup, ours);
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("throughput ratio, component to cp + sync: median %.3f, best of %d each %.3f\n", ratios[kRounds / 2],
              kRounds, best_cp / best_backup);
  fs::remove_all(root);
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  std::printf("backup_bench compares with cp and sync, which this system lacks\n");
  return 0;
#else
  const fs::path root = (argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path()) / "krv-backup-bench";
  const uint64_t mib = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1024;
  return Run(root, mib);
#endif
}
