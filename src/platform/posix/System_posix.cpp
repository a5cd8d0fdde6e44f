// POSIX only: process, clock and environment facts from the system.
#include "platform/posix/System_posix.h"

#include <dirent.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

#include "base/Text.h"
#include "platform/WinCommandLine.h"
#include "platform/posix/NativePath_posix.h"

namespace krv {
namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The NUL-terminated strings of a cmdline file.
std::vector<std::string> SplitCmdline(std::string_view cmdline) {
  std::vector<std::string> args;
  size_t begin = 0;
  while (begin < cmdline.size()) {
    size_t end = cmdline.find('\0', begin);
    if (end == std::string_view::npos) end = cmdline.size();
    args.emplace_back(cmdline.substr(begin, end - begin));
    begin = end + 1;
  }
  return args;
}

bool ParsePositive(std::string_view text, int* value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), *value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() && *value > 0 && *value <= 100000;
}

}  // namespace

std::string CommandLineTailFromCmdline(std::string_view cmdline) {
  std::vector<std::string> args = SplitCmdline(cmdline);
  if (args.empty()) return "";
  args.erase(args.begin());
  return JoinWindowsArgs(args);
}

std::string ProgramNameFromCmdline(std::string_view cmdline) {
  const std::string_view first = cmdline.substr(0, cmdline.find('\0'));
  const size_t slash = first.find_last_of("\\/");
  return LowerCase(slash == std::string_view::npos ? first : first.substr(slash + 1));
}

bool ParseScreenSize(std::string_view text, int* width, int* height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  int w = 0, h = 0;
  if (!ParsePositive(text.substr(0, x), &w) || !ParsePositive(text.substr(x + 1), &h)) return false;
  *width = w;
  *height = h;
  return true;
}

std::vector<std::string> ProcessNamesIn(const std::string& proc_root) {
  std::vector<std::string> names;
  DIR* dir = opendir(proc_root.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    const std::string pid = entry->d_name;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string comm = ReadWhole(proc_root + "/" + pid + "/comm");
    while (!comm.empty() && (comm.back() == '\n' || comm.back() == '\r')) comm.pop_back();
    comm = LowerCase(comm);
    const std::string program = ProgramNameFromCmdline(ReadWhole(proc_root + "/" + pid + "/cmdline"));
    if (!comm.empty()) names.push_back(comm);
    if (!program.empty() && program != comm) names.push_back(program);
  }
  closedir(dir);
  return names;
}

std::string PosixSystem::ExecutablePath() {
  std::string target(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", target.data(), target.size());
  if (n <= 0) return "";
  target.resize(static_cast<size_t>(n));
  return NativeToWinPath(target);
}

std::string PosixSystem::CommandLineTail() { return CommandLineTailFromCmdline(ReadWhole("/proc/self/cmdline")); }

std::string PosixSystem::GetEnv(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value != nullptr ? value : "";
}

LocalTime PosixSystem::Now() {
  const time_t now = time(nullptr);
  struct tm tm {};
  localtime_r(&now, &tm);
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.weekday = tm.tm_wday;
  return t;
}

int64_t PosixSystem::TickMs() {
  struct timespec ts {};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void PosixSystem::SleepMs(int ms) {
  if (ms <= 0) return;
  struct timespec left {
    ms / 1000, static_cast<long>(ms % 1000) * 1000000
  };
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

void PosixSystem::PumpMessages() {
  std::cout.flush();
  std::fflush(stdout);
}

bool PosixSystem::PrimaryScreenSize(int* width, int* height) {
  if (!ParseScreenSize(GetEnv("KRV_SCREEN_SIZE"), width, height)) {
    *width = 1920;
    *height = 1080;
  }
  return true;
}

bool PosixSystem::IsAdmin() { return geteuid() == 0; }

std::vector<std::string> PosixSystem::ProcessNames() { return ProcessNamesIn("/proc"); }

}  // namespace krv
