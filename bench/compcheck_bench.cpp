// Prints how long the component check takes with 50 listed components, next
// to reading the list alone. The components are the first 50 DLLs of the
// Wine prefix's system folder (WINEPREFIX, else ~/.wine) when there are that
// many, else 50 copies of the small test program in a temporary prefix.
// Run from the source tree (it reads fuzz/corpus/PeVersion_fuzz/tiny32.exe).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BestOf.h"
#include "base/cuAppError.h"
#include "compcheck/cCompCheck.h"
#include "platform/Platform.h"
#include "platform/SystemFolders.h"
#include "suite/krvCNFFile.h"

namespace fs = std::filesystem;

namespace {

using Clock = BenchClock;

class NoDialogs final : public krv::Dialogs {
 public:
  int MessageBox(const std::string&, const std::string&, int) override { return krv::kIdOk; }
};

std::string WinPath(const fs::path& p) {
  std::string s = "Z:" + p.string();
  std::replace(s.begin(), s.end(), '/', '\\');
  return s;
}

// Up to `count` DLL names of `folder`, sorted.
std::vector<std::string> Dlls(const fs::path& folder, size_t count) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    if (e.is_regular_file() && e.path().extension() == ".dll") names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  if (names.size() > count) names.resize(count);
  return names;
}

}  // namespace

int main() {
  constexpr size_t kComponents = 50;
  const fs::path temp = fs::temp_directory_path() / ("krv-compcheck-bench-" + std::to_string(::getpid()));
  fs::create_directories(temp / "registry");
  fs::create_directories(temp / "program");
  setenv("KRV_REGISTRY_DIR", (temp / "registry").c_str(), 1);

  const char* prefix_env = std::getenv("WINEPREFIX");
  const char* home = std::getenv("HOME");
  fs::path prefix = prefix_env ? fs::path(prefix_env) : fs::path(home ? home : "/") / ".wine";
  std::vector<std::string> names = Dlls(prefix / "drive_c/windows/system32", kComponents);
  const bool real = names.size() == kComponents;
  if (!real) {
    prefix = temp / "prefix";
    fs::create_directories(prefix / "drive_c/windows/system32");
    names.clear();
    for (size_t i = 0; i < kComponents; ++i) {
      names.push_back("komp" + std::to_string(i) + ".dll");
      if (!fs::exists("fuzz/corpus/PeVersion_fuzz/tiny32.exe")) {
        std::fprintf(stderr, "compcheck_bench: run it from the source tree\n");
        return 1;
      }
      fs::copy_file("fuzz/corpus/PeVersion_fuzz/tiny32.exe", prefix / "drive_c/windows/system32" / names.back());
    }
  }
  setenv("WINEPREFIX", prefix.c_str(), 1);

  std::string list = "[qmKrvStarter]\r\n{Components}\r\n";
  for (const std::string& name : names)
    list += name + "=Komponente|1.0|{00000000-0000-0000-0000-000000000000}|WinSys|1.0\r\n";
  std::ofstream(temp / "program" / "krvrun25.dat", std::ios::binary) << list;

  krv::Platform p = krv::CreateNativePlatform();
  std::unique_ptr<krv::SystemFolders> folders = krv::CreateSystemFolders(*p.fs, *p.system);
  NoDialogs dialogs;
  krv::cuAppError err(dialogs, krv::AppInfo{});
  const std::string program = WinPath(temp / "program") + "\\";

  size_t listed = 0, checked = 0;
  const double read_only = BestMillis(20, [&] {
    krv::krvCNFFile reader(*p.fs);
    reader.Filename = program + "krvrun25.dat";
    reader.RemoveComments = reader.RemoveTrailingTabs = true;
    const auto sections = reader.FileRead();
    listed = sections ? sections->Section("qmKrvStarter")->Collection("Components")->elements.size() : 0;
  });
  const double check = BestMillis(20, [&] {
    krv::cCompCheck comp({*p.fs, *p.registry, *folders, err, nullptr, program});
    checked = comp.Components().size();
    comp.Check(0);
  });
  std::printf("components: %zu listed, %zu with a version (%s)\n", listed, checked,
              real ? "DLLs of the Wine prefix" : "copies of the test program");
  std::printf("reading the list alone:  %8.3f ms\n", read_only);
  std::printf("whole check:             %8.3f ms (limit 20 ms)\n", check);
  fs::remove_all(temp);
  return 0;
}
