// POSIX only: assembles the embedded-default platform services.
#include <errno.h>
#include <unistd.h>

#include <iostream>
#include <istream>
#include <streambuf>

#include "platform/Platform.h"
#include "platform/posix/Dialogs_posix.h"
#include "platform/posix/FileRegistry_posix.h"
#include "platform/posix/FileSystem_posix.h"
#include "platform/posix/InstanceMutex_posix.h"
#include "platform/posix/Shell_posix.h"
#include "platform/posix/System_posix.h"

namespace krv {
namespace {

// Standard input without a read-ahead buffer: the start menu reads the same
// descriptor, and neither may swallow bytes meant for the other.
class UnbufferedInput final : public std::streambuf {
 protected:
  int_type underflow() override {
    for (;;) {
      const ssize_t n = read(0, &ch_, 1);
      if (n == 1) {
        setg(&ch_, &ch_, &ch_ + 1);
        return traits_type::to_int_type(ch_);
      }
      if (n < 0 && errno == EINTR) continue;
      return traits_type::eof();
    }
  }

 private:
  char ch_ = 0;
};

// Message boxes on the terminal, reading answers from standard input.
class StdinDialogs final : public Dialogs {
 public:
  int MessageBox(const std::string& text, const std::string& caption, int style) override {
    return inner_.MessageBox(text, caption, style);
  }

 private:
  UnbufferedInput buf_;
  std::istream in_{&buf_};
  TerminalDialogs inner_{in_, std::cerr};
};

}  // namespace

Platform CreateNativePlatform() {
  Platform p;
  p.registry = CreatePosixRegistry();
  p.fs = std::make_unique<PosixFileSystem>();
  p.shell = std::make_unique<PosixShell>();
  p.dialogs = std::make_unique<StdinDialogs>();
  p.system = std::make_unique<PosixSystem>();
  p.mutex = std::make_unique<PosixInstanceMutex>();
  p.database = CreateOdbcDatabase();
  return p;
}

}  // namespace krv
