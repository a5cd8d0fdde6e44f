#include "app/StartLog.h"

#include <cstdio>

#include "base/Text.h"
#include "base/WinPath.h"
#include "base/cuAppError.h"
#include "platform/FileSystem.h"
#include "suite/muKRVFunctions.h"

namespace krv {

namespace {

constexpr char kPasswordMask[] = "\"YYYY\"";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// End of the argument that starts at `pos`: a quoted text up to its closing
// quote, otherwise up to the next blank.
size_t ArgumentEnd(const std::string& line, size_t pos) {
  if (line[pos] == '"') {
    const size_t close = line.find('"', pos + 1);
    return close == std::string::npos ? line.size() : close + 1;
  }
  while (pos < line.size() && !IsBlank(line[pos])) ++pos;
  return pos;
}

}  // namespace

std::string FormatGeneralDate(const LocalTime& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute, t.second);
  return buf;
}

std::string MaskPassword(const std::string& command_line) {
  std::string line = command_line;
  for (size_t pos = IFind(line, "/pwd"); pos != std::string::npos; pos = IFind(line, "/pwd", pos + 1)) {
    const size_t after = pos + 4;
    if ((pos > 0 && !IsBlank(line[pos - 1])) || after >= line.size() || !IsBlank(line[after])) continue;
    size_t value = after;
    while (value < line.size() && IsBlank(line[value])) ++value;
    if (value == line.size()) break;
    line.replace(value, ArgumentEnd(line, value) - value, kPasswordMask);
  }
  return line;
}

void StartLog(krvLibrary& lib, cuAppError& err, FileSystem& fs, System& sys, const std::string& command_line,
              const std::string& failure) {
  // The log is a convenience: nothing about it may disturb the start.
  try {
    if (!IEquals(GetLibSetting(lib, err, "StartLog", "0"), "1")) return;
    const std::string path = WinPathFolder(sys.ExecutablePath()) + kStartLogFile;
    std::string entry = "[" + FormatGeneralDate(sys.Now()) + "]" + kCrLf + MaskPassword(command_line) + kCrLf;
    if (!failure.empty()) entry += "Start fehlgeschlagen: " + MaskPassword(failure) + kCrLf;
    entry += kCrLf;
    fs.AppendFile(path, entry, nullptr);
  } catch (...) {
  }
}

}  // namespace krv
