// Stand-in for msaccess.exe in sandbox installations: records the arguments
// it was started with, one per line in UTF-8, in "msaccess.args" beside
// itself (replaced at each start), and prints them.
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

// After windows.h, which it builds on.
#include <shellapi.h>
#else
#include <unistd.h>

#include <climits>
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

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, w.data(), n);
  return w;
}

FILE* OpenForWrite(const std::string& utf8) { return _wfopen(Wide(utf8).c_str(), L"wb"); }

bool ReplaceWith(const std::string& from, const std::string& to) {
  return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
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

bool ReplaceWith(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }
#endif

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = Arguments(argc, argv);
  std::string content;
  for (const std::string& arg : args) content += arg + "\n";
  // Written whole under a temporary name and renamed, so a reader never sees half a list.
  const std::string path = ArgsFilePath();
  const std::string temp = path + ".tmp";
  FILE* file = OpenForWrite(temp);
  const bool written = file && std::fwrite(content.data(), 1, content.size(), file) == content.size();
  if (file) std::fclose(file);
  if (!written || !ReplaceWith(temp, path)) {
    std::fprintf(stderr, "msaccess: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("msaccess (stand-in) received %zu arguments:\n", args.size());
  for (const std::string& arg : args) std::printf("  %s\n", arg.c_str());
  return 0;
}
