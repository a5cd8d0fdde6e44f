// Prints how long loading and saving a registry hive takes for 1,000, 10,000
// and 100,000 values: the .reg parser and exporter in memory and, on POSIX,
// the file-backed registry (first read of a hive, one durable write); and how
// long deleting every value of one key takes, front to back.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BestOf.h"
#include "platform/RegFile.h"
#include "platform/RegTree.h"

#ifndef _WIN32
#include <unistd.h>

#include <filesystem>

#include "platform/posix/FileRegistry_posix.h"
#endif

namespace {

// 100 values per key, a mix of the types the settings use.
krv::RegTree MakeHive(int values) {
  krv::RegTree tree;
  krv::RegKey* key = nullptr;
  for (int i = 0; i < values; ++i) {
    if (i % 100 == 0) key = tree.Create("Software\\Vantorel\\Bench\\Schlüssel " + std::to_string(i / 100));
    const std::string name = "Wert " + std::to_string(i);
    switch (i % 4) {
      case 0:
        key->SetValue(name, krv::RegValue::Sz("Text für Wert " + std::to_string(i)));
        break;
      case 1:
        key->SetValue(name, krv::RegValue::Dword(static_cast<uint32_t>(i)));
        break;
      case 2:
        key->SetValue(name, krv::RegValue::ExpandSz("%ProgramFiles%\\Korvella\\" + std::to_string(i)));
        break;
      default:
        key->SetValue(name, krv::RegValue::Raw(krv::kRegBinary, std::vector<uint8_t>(40, 0xAB)));
        break;
    }
  }
  return tree;
}

}  // namespace

// Optional arguments: other hive sizes than the three standard ones.
int main(int argc, char** argv) {
  std::vector<int> sizes = {1000, 10000, 100000};
  if (argc > 1) sizes.clear();
  for (int i = 1; i < argc; ++i) sizes.push_back(std::max(1, std::atoi(argv[i])));
  std::printf("%9s %11s %10s %10s %11s %11s %12s\n", "values", "file bytes", "parse ms", "export ms", "hive load ms",
              "hive save ms", "save ns/value");
  for (int values : sizes) {
    const krv::RegTree hive = MakeHive(values);
    const int runs = values >= 100000 ? 3 : 5;
    std::string bytes;
    const double export_ms = BestMillis(runs, [&] {
      bytes = krv::EncodeRegFile(krv::ExportRegText(krv::Hive::CurrentUser, "", hive.root(), krv::RegFormat::kUnicode5),
                                 krv::RegFormat::kUnicode5);
    });
    const double parse_ms = BestMillis(runs, [&] {
      krv::RegParseResult parsed;
      krv::ParseRegFile(bytes, &parsed, nullptr);
      krv::RegTree tree;
      krv::ApplyRegOps(tree, krv::Hive::CurrentUser, parsed.ops);
    });
    double load_ms = 0;
    double save_ms = 0;
#ifndef _WIN32
    char tmpl[] = "/tmp/krv-registry-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl) ? tmpl : "";
    if (dir.empty()) return 1;
    {
      std::FILE* f = std::fopen((dir + "/HKEY_CURRENT_USER.reg").c_str(), "wb");
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    load_ms = BestMillis(runs, [&] {
      krv::FileRegistry reg(dir, dir);
      reg.KeyExists(krv::Hive::CurrentUser, "Software");
    });
    krv::FileRegistry reg(dir, dir);
    uint32_t n = 0;
    save_ms = BestMillis(runs, [&] {
      reg.WriteValue(krv::Hive::CurrentUser, "Software\\Vantorel\\Bench", "Zähler", krv::RegValue::Dword(++n), nullptr);
    });
    std::filesystem::remove_all(dir);
#endif
    std::printf("%9d %11zu %10.1f %10.1f %11.1f %11.1f %12.0f\n", values, bytes.size(), parse_ms, export_ms, load_ms,
                save_ms, save_ms * 1e6 / values);
  }
  // Front to back was quadratic once: 50,000 values took seconds.
  std::printf("\n%9s %14s\n", "values", "delete all ms");
  for (int values : sizes) {
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
      krv::RegKey key("K");
      for (int i = 0; i < values; ++i) key.SetValue("v" + std::to_string(i), krv::RegValue::Dword(i));
      best = std::min(best, BestMillis(1, [&] {
                        for (int i = 0; i < values; ++i) key.DeleteValue("v" + std::to_string(i));
                      }));
    }
    std::printf("%9d %14.1f\n", values, best);
  }
  return 0;
}
