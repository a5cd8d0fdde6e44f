// POSIX only, tests only: a pseudo-terminal to run terminal interfaces on,
// and just enough of a terminal to read what they drew.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <numeric>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace krv {

// A pseudo-terminal; what was written to it is read on asking.
class Pty {
 public:
  Pty() {
    setenv("TERM", "xterm-256color", 1);  // what the screens below are read as
    winsize ws{24, 80, 0, 0};
    EXPECT_EQ(openpty(&master_, &slave_, nullptr, nullptr, &ws), 0);
    tcgetattr(slave_, &before_);
  }
  ~Pty() {
    HangUp();
    close(slave_);
  }
  // The terminal goes away, as when its window is closed.
  void HangUp() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }
  int slave() const { return slave_; }
  void Type(const std::string& bytes) const {
    EXPECT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  std::string Output() {
    char buf[4096];
    for (pollfd p{master_, POLLIN, 0}; master_ >= 0 && poll(&p, 1, 0) > 0;) {
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n <= 0) break;
      out_.append(buf, static_cast<size_t>(n));
    }
    return out_;
  }
  // The line settings are those from before anything took the terminal.
  bool Restored() const {
    termios now{};
    return tcgetattr(slave_, &now) == 0 && std::memcmp(&now, &before_, sizeof now) == 0;
  }

 private:
  int master_ = -1, slave_ = -1;
  termios before_{};
  std::string out_;
};

// Polls `done` for up to three seconds, running `pump` (or sleeping) between.
inline bool Eventually(const std::function<bool()>& done, const std::function<void()>& pump = {}) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (!done() && std::chrono::steady_clock::now() < until) {
    pump ? pump() : std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

// The text of terminal output with its escape sequences taken out.
inline std::string Visible(const std::string& out) {
  return std::regex_replace(out, std::regex("\x1b(\\[[0-?]*[ -/]*[@-~]|[()].|.)"), "");
}

// The 80 x 24 screen after `out`, following cursor positioning, clearing and
// erasing only; colours are ignored.
inline std::vector<std::string> Screen(const std::string& out) {
  std::vector<std::vector<std::string>> cells(24, std::vector<std::string>(80, " "));
  int row = 0, col = 0;
  const auto put = [&](int c, const std::string& glyph) {
    if (row >= 0 && row < 24 && c >= 0 && c < 80) cells[size_t(row)][size_t(c)] = glyph;
  };
  const std::regex token("\x1b\\[([0-9;]*)([ -/]*[@-~])|\x1b[()]?.|[\x01-\x7f\xc0-\xff][\x80-\xbf]*");
  for (std::sregex_iterator it(out.begin(), out.end(), token), end; it != end; ++it) {
    const std::string all = (*it)[0], params = (*it)[1], final = (*it)[2];
    const int n = std::atoi(params.c_str());
    const size_t semi = params.find(';');
    if (final == "H") row = std::max(1, n) - 1, col = semi == std::string::npos ? 0 : std::atoi(&params[semi + 1]) - 1;
    if (final == "J" && n == 2) cells.assign(24, std::vector<std::string>(80, " "));
    for (int c = col; final == "X" && c < col + std::max(1, n); ++c) put(c, " ");
    if (all[0] != '\x1b') put(col++, all);
  }
  std::vector<std::string> lines;
  for (const auto& r : cells) lines.push_back(std::accumulate(r.begin(), r.end(), std::string()));
  return lines;
}

}  // namespace krv
