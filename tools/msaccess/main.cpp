// Stand-in for msaccess.exe in sandbox installations: records the arguments
// it was started with, one per line in UTF-8, in "msaccess.args" beside
// itself (replaced at each start), and prints them.
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <climits>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
std::string ToUtf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

std::vector<std::string> Arguments(int, char**) {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; argv && i < count; ++i) args.push_back(ToUtf8(argv[i]));
  LocalFree(argv);
  return args;
}

std::string ArgsFilePath() {
  wchar_t path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring p(path, n);
  p = p.substr(0, p.find_last_of(L"\\/") + 1) + L"msaccess.args";
  return ToUtf8(p.c_str());
}

FILE* OpenForWrite(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, w.data(), n);
  return _wfopen(w.c_str(), L"wb");
}
#else
std::vector<std::string> Arguments(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

std::string ArgsFilePath() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  std::string p = n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string("./msaccess");
  return p.substr(0, p.find_last_of('/') + 1) + "msaccess.args";
}

FILE* OpenForWrite(const std::string& path) { return std::fopen(path.c_str(), "wb"); }
#endif

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = Arguments(argc, argv);
  const std::string path = ArgsFilePath();
  FILE* file = OpenForWrite(path);
  if (!file) {
    std::fprintf(stderr, "msaccess: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("msaccess (stand-in) received %zu arguments:\n", args.size());
  for (const std::string& arg : args) {
    std::fprintf(file, "%s\n", arg.c_str());
    std::printf("  %s\n", arg.c_str());
  }
  std::fclose(file);
  return 0;
}
