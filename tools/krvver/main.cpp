// Stand-in for krvver25.exe, the version information program, in sandbox
// installations: records the arguments it was started with, one per line,
// in "krvver25.args" beside itself (replaced at each start), and prints them.
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

namespace {

// The file beside this program; "" when its folder is unknown.
std::string BesideSelf(const char* name) {
#ifdef _WIN32
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n < MAX_PATH ? n : 0);
  const size_t cut = p.find_last_of("\\/");
#else
  char path[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string p(path, n > 0 ? static_cast<size_t>(n) : 0);
  const size_t cut = p.find_last_of('/');
#endif
  return cut == std::string::npos ? std::string() : p.substr(0, cut + 1) + name;
}

}  // namespace

int main(int argc, char** argv) {
  std::string lines;
  for (int i = 1; i < argc; ++i) lines += std::string(argv[i]) + "\n";
  std::printf("krvver25 (stand-in) received %d arguments:\n", argc - 1);
  for (int i = 1; i < argc; ++i) std::printf("  %s\n", argv[i]);
  const std::string file = BesideSelf("krvver25.args");
  if (file.empty()) return 0;
  if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
    std::fwrite(lines.data(), 1, lines.size(), out);
    std::fclose(out);
  }
  return 0;
}
