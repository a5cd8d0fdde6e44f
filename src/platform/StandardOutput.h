// The process's standard output, for the few texts a user asks for on the
// command line (help, version).
#pragma once

#include <string>

namespace krv {

// Writes UTF-8 `text` ("\n" line ends) to standard output. False when the
// process has none (a Windows program started from Explorer) or the write
// fails; then the caller shows the text another way.
bool WriteStandardOutput(const std::string& text);

}  // namespace krv
