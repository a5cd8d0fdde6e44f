// POSIX code only: standard output is file descriptor 1.
#include <unistd.h>

#include <cerrno>

#include "platform/StandardOutput.h"

namespace krv {

bool WriteStandardOutput(const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(STDOUT_FILENO, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace krv
