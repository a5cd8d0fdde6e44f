// The start log: when the library setting "StartLog" is "1", every start of
// Access is appended to the start log file (kStartLogFile) beside the starter as three lines: the
// local date and time in brackets, the command line, and an empty line.
#pragma once

#include <string>

#include "platform/System.h"
#include "suite/SuiteNames.h"

namespace krv {

class krvLibrary;
class cuAppError;
class FileSystem;

// "06.12.2026 11:43:42": the general date form of German Windows.
std::string FormatGeneralDate(const LocalTime& time);

// `command_line` with the value after every "/pwd" replaced by the mask
// "YYYY", so a password never reaches a log.
std::string MaskPassword(const std::string& command_line);

// Appends the entry for `command_line` (the masked line of the start); a
// failed start adds the shell's reason `failure`. Any failure of the log
// itself, including an unwritable folder, loses the entry without a word.
void StartLog(krvLibrary& lib, cuAppError& err, FileSystem& fs, System& sys, const std::string& command_line,
              const std::string& failure = {});

}  // namespace krv
