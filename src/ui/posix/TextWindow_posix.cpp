// POSIX only: the modal text window on the terminal.
#include "ui/posix/TextWindow_posix.h"

#include <errno.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <istream>
#include <optional>
#include <ostream>
#include <streambuf>

#include "platform/posix/Dialogs_posix.h"
#include "ui/posix/Terminal_posix.h"

namespace krv {
namespace {

constexpr int kEscapeWaitMs = 50;
constexpr int kMinWidth = 40;
constexpr int kChromeRows = 4;  // frame above, separator and buttons, frame below
const char kOk[] = "[ OK ]";
const char kCancel[] = "[ Abbrechen ]";

int Cells(const std::string& text) { return static_cast<int>(Glyphs(text).size()); }

// `line` cut into pieces of at most `width` cells, at the last blank where there is one.
void Wrap(const std::string& line, int width, std::vector<std::string>& out) {
  std::vector<std::string> glyphs = Glyphs(line);
  if (glyphs.empty()) out.emplace_back();
  size_t start = 0;
  while (start < glyphs.size()) {
    size_t end = std::min(glyphs.size(), start + static_cast<size_t>(width));
    if (end < glyphs.size()) {
      size_t blank = end;
      while (blank > start && glyphs[blank - 1] != " ") --blank;
      if (blank > start) end = blank;
    }
    std::string piece;
    for (size_t i = start; i < end; ++i) piece += glyphs[i];
    out.push_back(piece);
    start = end;
  }
}

class TextBox {
 public:
  TextBox(const TextWindowArgs& args, Terminal& term) : caption_(args.caption), term_(term) {
    lines_ = TextWindowLines(args.text);
    Layout();
  }

  // The sizes follow the terminal's.
  void Layout() {
    int longest = Cells(caption_) + 4;
    for (const std::string& l : lines_) longest = std::max(longest, Cells(l) + 4);
    width_ = std::max(std::min(kMinWidth, term_.cols()), std::min(longest, term_.cols() - 2));
    wrapped_.clear();
    for (const std::string& l : lines_) Wrap(l, std::max(1, width_ - 4), wrapped_);
    height_ = std::max(kChromeRows + 1, std::min(static_cast<int>(wrapped_.size()) + kChromeRows, term_.rows() - 2));
    left_ = std::max(0, (term_.cols() - width_) / 2);
    top_ = std::max(0, (term_.rows() - height_) / 2);
    Scroll(0);
  }

  // nullopt while the box stays open; the answer once given.
  std::optional<bool> Handle(const TermInput& in) {
    switch (in.type) {
      case TermInput::Type::kInterrupt:
      case TermInput::Type::kEndOfInput:
        return false;
      case TermInput::Type::kMouseRelease:
        return Click(in.col, in.row);
      case TermInput::Type::kKey:
        return Key(in.key);
      default:
        return std::nullopt;
    }
  }

  void Draw() {
    // After scrolling the whole screen is sent again rather than scrolled:
    // simpler for every terminal, and the box is small.
    term_.Clear(first_ != drawn_first_);
    drawn_first_ = first_;
    const uint32_t ink = 0x000000, paper = 0xC0C0C0;
    term_.Fill(left_, top_, width_, height_, ink, paper);
    term_.Frame(left_, top_, width_, height_, ink);
    const std::string title = " " + caption_ + " ";
    term_.Text(left_ + std::max(1, (width_ - Cells(title)) / 2), top_, title, width_ - 2, ink, true);
    for (int r = 0; r < View() && first_ + r < static_cast<int>(wrapped_.size()); ++r) {
      term_.Text(left_ + 2, top_ + 1 + r, wrapped_[static_cast<size_t>(first_ + r)], width_ - 4, ink);
    }
    if (first_ > 0) term_.Set(left_ + width_ - 1, top_ + 1, "↑", ink);
    if (first_ + View() < static_cast<int>(wrapped_.size())) term_.Set(left_ + width_ - 1, top_ + View(), "↓", ink);
    const int sep = top_ + height_ - 3;
    term_.Frame(left_, sep, width_, 3, ink);
    term_.Set(left_, sep, "├", ink);
    term_.Set(left_ + width_ - 1, sep, "┤", ink);
    for (int b = 0; b < 2; ++b) {
      const int col = ButtonCol(b);
      const std::string label = b == 0 ? kOk : kCancel;
      if (b == focus_) term_.Fill(col, sep + 1, Cells(label), 1, 0xFFFFFF, 0x000080);
      term_.Text(col, sep + 1, label, Cells(label), b == focus_ ? 0xFFFFFF : ink, b == focus_);
    }
    term_.Present();
  }

 private:
  int View() const { return height_ - kChromeRows; }
  int ButtonCol(int b) const {
    const int both = Cells(kOk) + 2 + Cells(kCancel);
    const int start = left_ + std::max(1, (width_ - both) / 2);
    return b == 0 ? start : start + Cells(kOk) + 2;
  }
  void Scroll(int by) {
    const int last = std::max(0, static_cast<int>(wrapped_.size()) - View());
    first_ = std::clamp(first_ + by, 0, last);
  }
  std::optional<bool> Key(int32_t key) {
    switch (key) {
      case kKeyEscape:
        return false;
      case kKeyEnter:
      case kKeySpace:
        return focus_ == 0;
      case kKeyTab:
      case kKeyLeft:
      case kKeyRight:
        focus_ = 1 - focus_;
        break;
      case kKeyUp:
        Scroll(-1);
        break;
      case kKeyDown:
        Scroll(1);
        break;
      case kKeyPageUp:
        Scroll(-View());
        break;
      case kKeyPageDown:
        Scroll(View());
        break;
      case kKeyHome:
        Scroll(-static_cast<int>(wrapped_.size()));
        break;
      case kKeyEnd:
        Scroll(static_cast<int>(wrapped_.size()));
        break;
      default:
        break;
    }
    return std::nullopt;
  }
  std::optional<bool> Click(int col, int row) {
    if (row != top_ + height_ - 2) return std::nullopt;
    for (int b = 0; b < 2; ++b) {
      if (col >= ButtonCol(b) && col < ButtonCol(b) + Cells(b == 0 ? kOk : kCancel)) return b == 0;
    }
    return std::nullopt;
  }

  std::string caption_;
  Terminal& term_;
  std::vector<std::string> lines_, wrapped_;
  int width_ = 0, height_ = 0, left_ = 0, top_ = 0;
  int first_ = 0;  // first wrapped line shown
  int drawn_first_ = 0;
  int focus_ = 0;  // 0 OK, 1 Abbrechen
};

// Waits for input or a signal; the inputs that came (a lone Escape after a short wait).
std::vector<TermInput> NextInputs(Terminal& term, TextBox& box, bool* closed) {
  std::vector<TermInput> in;
  pollfd fds[2] = {{TerminalSignalFd(), POLLIN, 0}, {term.in_fd(), POLLIN, 0}};
  const int ready = poll(fds, 2, term.Pending() ? kEscapeWaitMs : -1);
  if (ready < 0) {
    *closed = errno != EINTR;
    return in;
  }
  if (ready == 0) {
    term.Flush(in);
    return in;
  }
  if (fds[0].revents & POLLIN) {
    const TerminalSignals s = TakeTerminalSignals();
    if (s.resized) {
      term.Resized();
      box.Layout();
    }
    if (s.close_signal) in.push_back(TermInput{TermInput::Type::kInterrupt});
    return in;
  }
  bool ended = false;
  term.Read(in, &ended);
  if (ended) in.push_back(TermInput{TermInput::Type::kEndOfInput});
  return in;
}

bool RunInTerminal(const TextWindowArgs& args, Terminal& term) {
  term.Open();
  term.Resized();
  TextBox box(args, term);
  std::optional<bool> answer;
  while (!answer) {
    box.Draw();
    bool closed = false;
    for (const TermInput& in : NextInputs(term, box, &closed)) {
      if ((answer = box.Handle(in))) break;
    }
    if (closed) answer = false;
  }
  term.Close();
  return *answer;
}

// A descriptor as a stream: reads one byte at a time, so nothing the user
// typed for a later question is swallowed; writes go out at once.
class FdBuf final : public std::streambuf {
 public:
  FdBuf(int in_fd, int out_fd) : in_fd_(in_fd), out_fd_(out_fd) {}

 protected:
  int_type underflow() override {
    for (;;) {
      const ssize_t n = read(in_fd_, &ch_, 1);
      if (n == 1) {
        setg(&ch_, &ch_, &ch_ + 1);
        return traits_type::to_int_type(ch_);
      }
      if (n < 0 && errno == EINTR) continue;
      return traits_type::eof();
    }
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    std::streamsize done = 0;
    while (done < n) {
      const ssize_t w = write(out_fd_, s + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) break;
      done += w;
    }
    return done;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }

 private:
  int in_fd_, out_fd_;
  char ch_ = 0;
};

}  // namespace

bool RunTerminalTextWindow(const TextWindowArgs& args, int in_fd, int out_fd, int plain_fd) {
  Terminal term(in_fd, out_fd);
  if (term.interactive()) return RunInTerminal(args, term);
  FdBuf buf(in_fd, plain_fd);
  std::istream in(&buf);
  std::ostream out(&buf);
  TerminalDialogs box(in, out);
  return box.MessageBox(args.text, args.caption, kMbOkCancel | kMbIconExclamation) == kIdOk;
}

}  // namespace krv
