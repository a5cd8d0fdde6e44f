// Prints how long the loader's four backend steps take on SQLite backends of
// about 10 MB and 1 GB, each as a ratio to opening the backend once. The
// backends are laid out in a temporary folder and removed afterwards; the
// settings go to a file registry there too (POSIX) or to the real one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "BestOf.h"
#include "base/WinPath.h"
#include "base/cuAppError.h"
#include "loader/frmLoader.h"
#include "platform/Platform.h"
#include "suite/IObjects.h"
#include "suite/krvLibrary.h"

#ifndef _WIN32
#include <stdlib.h>

#include "platform/posix/NativePath_posix.h"
#endif

namespace {

using Clock = BenchClock;
using namespace krv;

struct NoBoxes final : Dialogs {
  int MessageBox(const std::string& text, const std::string&, int) override {
    std::fprintf(stderr, "unexpected box: %s\n", text.c_str());
    return kIdNo;
  }
};

struct NoWindow final : ProgressWindow {
  void Show(const std::string&) override {}
  void SetText(const std::string&, const std::string&) override {}
  void Close() override {}
};

std::string WinPathOf(const std::filesystem::path& p) {
#ifdef _WIN32
  return p.string();
#else
  return NativeToWinPath(p.string());
#endif
}

// An SQLite backend of about `megabytes`, written through the database service.
bool MakeBackend(Database& service, const std::filesystem::path& file, int megabytes) {
  std::string page(512, '\0');
  // The bytes of an empty SQLite database with 512-byte pages.
  const std::string magic("SQLite format 3\0", 16);
  page.replace(0, 16, magic);
  const unsigned char header[][2] = {{0x10, 0x02}, {0x12, 0x01}, {0x13, 0x01}, {0x15, 0x40}, {0x16, 0x20},
                                     {0x17, 0x20}, {0x1B, 0x01}, {0x1F, 0x01}, {0x2B, 0x01}, {0x5F, 0x01},
                                     {0x61, 0x2E}, {0x62, 0x63}, {0x63, 0x01}, {0x64, 0x0D}, {0x69, 0x02}};
  for (const auto& [at, byte] : header) page[at] = static_cast<char>(byte);
  std::ofstream(file, std::ios::binary) << page;
  DbStatus status = DbStatus::kFailed;
  std::string err;
  auto db = service.Open(WinPathOf(file), &status, &err);
  const std::string rows = std::to_string(megabytes * 730);  // a row takes about 1.37 KB
  const bool ok = db && db->Execute("PRAGMA page_size = 4096", nullptr, &err) && db->Execute("VACUUM", nullptr, &err) &&
                  db->Execute("CREATE TABLE ADRESSEN (Nr INTEGER PRIMARY KEY, Name TEXT, Notiz BLOB)", nullptr, &err) &&
                  db->Execute("CREATE TABLE USysLock (Benutzer TEXT)", nullptr, &err) &&
                  db->Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + rows +
                                  ") INSERT INTO ADRESSEN (Name, Notiz) SELECT 'Kunde ' || i, randomblob(1000) FROM n",
                              nullptr, &err);
  if (!ok) std::fprintf(stderr, "backend %s: %s\n", file.string().c_str(), err.c_str());
  return ok;
}

void Measure(Platform& p, const std::string& backend, const char* label) {
  NoBoxes boxes;
  cuAppError err(boxes, AppInfo{});
  krvLibrary lib(*p.registry, *p.fs, *p.system);
  NoWindow window;
  p.registry->WriteValue(Hive::CurrentUser, "Software\\Vantorel\\Korvella\\10.25\\Options", "BackendPath",
                         RegValue::Sz(backend), nullptr);
  const double open = BestMillis(5, [&] { krvBackend(p.database.get(), backend).RecordCount(kLockTable, ""); });
  std::printf("%-8s open once %8.2f ms\n", label, open);
  using StepFn = bool (*)(frmLoader&);
  const std::pair<const char*, StepFn> steps[] = {{"CheckBackend", CheckBackend},
                                                  {"CheckUpgrade", CheckUpgrade},
                                                  {"CheckRetention", CheckRetention},
                                                  {"CompressBackend", CompressBackend}};
  double together = 1e300;
  for (int run = 0; run < 5; ++run) {  // a fresh interface object each time: the first step opens the backend
    IObjects objects(*p.registry, *p.fs, *p.system, p.database.get());
    LoaderContext ctx{err, lib, objects, *p.system, window, false, "krv25"};
    frmLoader loader(ctx, {});
    together = std::min(together, BestMillis(1, [&] {
                          for (const auto& step : steps) step.second(loader);
                        }));
  }
  IObjects objects(*p.registry, *p.fs, *p.system, p.database.get());
  LoaderContext ctx{err, lib, objects, *p.system, window, false, "krv25"};
  frmLoader loader(ctx, {});
  objects.Backend().LockCheck();  // open before timing each step alone
  for (const auto& step : steps) {
    const double ms = BestMillis(5, [&] { step.second(loader); });
    std::printf("%-8s %-16s %8.2f ms  %6.2f x open\n", label, step.first, ms, ms / open);
  }
  std::printf("%-8s four steps with the open %8.2f ms  %6.2f x open\n", label, together, together / open);
  // Proof that the steps did their work: the size history they recorded.
  RegValue size;
  p.registry->ReadValue(Hive::CurrentUser,
                        "Software\\Vantorel\\Korvella\\10.25\\Compressor\\Backend\\" + objects.Backend().Identifier(),
                        "FileSize", &size, nullptr);
  std::printf("%-8s recorded size %s bytes for %s\n\n", label, size.text.c_str(),
              objects.Backend().Identifier().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const int big = argc > 1 ? std::atoi(argv[1]) : 1000;  // megabytes of the large backend
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "krv-backend-bench";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "registry");
#ifndef _WIN32
  ::setenv("KRV_REGISTRY_DIR", (dir / "registry").c_str(), 1);
#endif
  Platform p = CreateNativePlatform();
  for (const auto& [mb, label] : {std::pair{10, "10 MB"}, std::pair{big, big == 1000 ? "1 GB" : "large"}}) {
    const std::filesystem::path file = dir / ("backend" + std::to_string(mb) + ".mdb");
    const auto start = Clock::now();
    if (!MakeBackend(*p.database, file, mb)) return 1;
    std::printf("%s backend: %.0f MB, laid out in %.1f s\n", label,
                static_cast<double>(std::filesystem::file_size(file)) / 1e6,
                std::chrono::duration<double>(Clock::now() - start).count());
    Measure(p, WinPathOf(file), label);
  }
  std::filesystem::remove_all(dir);
  return 0;
}
