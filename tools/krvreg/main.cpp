// krvreg: reg.exe's QUERY, ADD, DELETE, IMPORT and EXPORT over the registry
// the starter uses (on POSIX the .reg files that KRV_REGISTRY_DIR may point to).
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "krvreg/KrvReg.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "base/Text.h"
#include "platform/Platform.h"
#else
#include "platform/posix/FileRegistry_posix.h"
#endif

namespace {

#ifdef _WIN32
// The arguments as UTF-8, read from the wide command line so umlauts survive.
std::vector<std::string> Arguments(int, char**) {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return args;
  for (int i = 1; i < count; ++i) {
    args.push_back(krv::Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i])));
  }
  LocalFree(wide);
  return args;
}

std::unique_ptr<krv::Registry> OpenRegistry() {
  SetConsoleOutputCP(CP_UTF8);
  return krv::CreateNativePlatform().registry;
}
#else
std::vector<std::string> Arguments(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

std::unique_ptr<krv::Registry> OpenRegistry() { return krv::CreatePosixRegistry(); }
#endif

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = Arguments(argc, argv);
  std::unique_ptr<krv::Registry> reg = OpenRegistry();
  if (!reg) {
    std::cerr << "ERROR: Error accessing the registry.\n";
    return 1;
  }
  return krv::RunKrvReg(args, *reg, std::cin, std::cout, std::cerr);
}
