// What the operating system tells about this process, the user, the screen
// and the clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace krv {

struct LocalTime {
  int year = 0, month = 0, day = 0;  // month 1-12, day 1-31
  int hour = 0, minute = 0, second = 0;
  int weekday = 0;  // 0 Sunday
  bool operator==(const LocalTime&) const = default;
};

class System {
 public:
  virtual ~System() = default;

  // Full Windows path of the running executable ("Z:\opt\korvella\krv25" on POSIX).
  virtual std::string ExecutablePath() = 0;
  // The process command line without the program name.
  virtual std::string CommandLineTail() = 0;
  virtual std::string GetEnv(const std::string& name) = 0;

  virtual LocalTime Now() = 0;
  // Milliseconds of a monotonic clock, for timers and waits.
  virtual int64_t TickMs() = 0;
  virtual void SleepMs(int ms) = 0;
  // Keeps windows painted during long work (DoEvents).
  virtual void PumpMessages() = 0;

  virtual bool PrimaryScreenSize(int* width, int* height) = 0;
  virtual bool IsAdmin() = 0;
  // Executable names of the running processes (lower case, no folder).
  virtual std::vector<std::string> ProcessNames() = 0;
  // Captions of the visible top-level windows (empty on POSIX).
  virtual std::vector<std::string> WindowCaptions() = 0;
};

}  // namespace krv
