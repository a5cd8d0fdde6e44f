// POSIX only, tests only: a pseudo-terminal to run terminal interfaces on,
// and just enough of a terminal to read what they drew.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace krv {

// A pseudo-terminal whose master side a thread drains, as a terminal would.
class Pty {
 public:
  explicit Pty(unsigned short cols = 80, unsigned short rows = 24) {
    setenv("TERM", "xterm-256color", 1);  // what the screens below are read as
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master_, 0);
    EXPECT_EQ(grantpt(master_), 0);
    EXPECT_EQ(unlockpt(master_), 0);
    slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
    EXPECT_GE(slave_, 0);
    Resize(cols, rows);
    reader_ = std::thread([this] { Drain(); });
  }
  ~Pty() {
    HangUp();
    close(slave_);
  }
  // The terminal goes away, as when its window is closed.
  void HangUp() {
    if (master_ < 0) return;
    stop_ = true;
    reader_.join();
    close(master_);
    master_ = -1;
  }
  int slave() const { return slave_; }
  void Type(const std::string& bytes) const {
    EXPECT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  void Resize(unsigned short cols, unsigned short rows) const {
    winsize ws{};
    ws.ws_col = cols;
    ws.ws_row = rows;
    ioctl(master_, TIOCSWINSZ, &ws);
  }
  std::string Output() {
    std::lock_guard<std::mutex> lock(mu_);
    return out_;
  }
  void ClearOutput() {
    std::lock_guard<std::mutex> lock(mu_);
    out_.clear();
  }

 private:
  void Drain() {
    char buf[4096];
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 10) <= 0) continue;
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n <= 0) continue;
      std::lock_guard<std::mutex> lock(mu_);
      out_.append(buf, static_cast<size_t>(n));
    }
  }
  int master_ = -1;
  int slave_ = -1;
  std::thread reader_;
  std::atomic<bool> stop_{false};
  std::mutex mu_;
  std::string out_;
};

// The text of terminal output with its escape sequences taken out.
inline std::string Visible(const std::string& out) {
  std::string text;
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] != '\x1b') {
      text += out[i];
      continue;
    }
    if (i + 1 < out.size() && out[i + 1] == '[') {
      i += 2;
      while (i < out.size() && !(out[i] >= 0x40 && out[i] <= 0x7e)) ++i;
    } else {
      i += i + 1 < out.size() && (out[i + 1] == '(' || out[i + 1] == ')') ? 2 : 1;  // charset choice
    }
  }
  return text;
}

// What the terminal shows after `out`: just enough of a terminal to follow
// cursor positioning and screen clearing; colours are ignored.
inline std::vector<std::string> Screen(const std::string& out, int cols = 80, int rows = 24) {
  std::vector<std::vector<std::string>> cells(static_cast<size_t>(rows),
                                              std::vector<std::string>(static_cast<size_t>(cols), " "));
  int row = 0, col = 0;
  for (size_t i = 0; i < out.size();) {
    if (out[i] == '\x1b' && i + 1 < out.size() && out[i + 1] == '[') {
      size_t j = i + 2;
      while (j < out.size() && !(out[j] >= 0x40 && out[j] <= 0x7e)) ++j;
      const std::string params = out.substr(i + 2, j - i - 2);
      if (j < out.size() && out[j] == 'H') {
        row = std::atoi(params.c_str()) - 1;
        const size_t semi = params.find(';');
        col = semi == std::string::npos ? 0 : std::atoi(params.c_str() + semi + 1) - 1;
      } else if (j < out.size() && out[j] == 'J' && params == "2") {
        for (auto& r : cells) std::fill(r.begin(), r.end(), " ");
      } else if (j < out.size() && out[j] == 'X' && row >= 0 && row < rows) {  // erase n cells
        const int n = std::max(1, std::atoi(params.c_str()));
        for (int c = col; c < std::min(cols, col + n); ++c)
          cells[static_cast<size_t>(row)][static_cast<size_t>(c)] = " ";
      }
      i = j + 1;
      continue;
    }
    if (out[i] == '\x1b') {  // charset choice and other short sequences
      i += i + 1 < out.size() && (out[i + 1] == '(' || out[i + 1] == ')') ? 3 : 2;
      continue;
    }
    size_t n = 1;
    while (i + n < out.size() && (static_cast<unsigned char>(out[i + n]) & 0xC0) == 0x80) ++n;
    if (row >= 0 && row < rows && col >= 0 && col < cols)
      cells[static_cast<size_t>(row)][static_cast<size_t>(col)] = out.substr(i, n);
    ++col;
    i += n;
  }
  std::vector<std::string> lines;
  for (const auto& r : cells) {
    std::string line;
    for (const auto& c : r) line += c;
    lines.push_back(line);
  }
  return lines;
}

inline std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  return text;
}

inline bool SameTermios(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
         std::equal(std::begin(a.c_cc), std::end(a.c_cc), std::begin(b.c_cc));
}

}  // namespace krv
