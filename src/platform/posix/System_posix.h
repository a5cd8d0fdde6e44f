// What the system tells on POSIX hosts (Linux /proc).
//
// A terminal has no screen: PrimaryScreenSize reports the size given in the
// environment variable KRV_SCREEN_SIZE ("1280x1024"), or else 1920x1080, so
// that a screen check passes. There are no windows, so no window captions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/System.h"

namespace krv {

class PosixSystem final : public System {
 public:
  // /proc/self/exe mapped to drive Z:; "" when /proc is not there.
  std::string ExecutablePath() override;
  std::string CommandLineTail() override;
  std::string GetEnv(const std::string& name) override;
  LocalTime Now() override;
  int64_t TickMs() override;
  void SleepMs(int ms) override;
  void PumpMessages() override;  // flushes standard output, nothing else to do
  bool PrimaryScreenSize(int* width, int* height) override;
  bool IsAdmin() override;  // root
  std::vector<std::string> ProcessNames() override;
  std::vector<std::string> WindowCaptions() override { return {}; }
};

// The arguments after the program name in the content of a cmdline file
// (NUL-terminated strings), each quoted by the Windows rules where it needs
// it and joined by blanks, as Wine builds a Windows program's command line.
std::string CommandLineTailFromCmdline(std::string_view cmdline);
// The lower-case file name of a process's first argument, after the last
// slash or backslash: a program run by Wine shows its Windows path there
// ("C:\Program Files\Office\MSACCESS.EXE" gives "msaccess.exe").
std::string ProgramNameFromCmdline(std::string_view cmdline);
// "1280x1024" gives 1280 and 1024; false for anything else.
bool ParseScreenSize(std::string_view text, int* width, int* height);
// For each process below `proc_root`: the lower-case name of its comm file,
// and its ProgramNameFromCmdline where that differs.
std::vector<std::string> ProcessNamesIn(const std::string& proc_root);

}  // namespace krv
