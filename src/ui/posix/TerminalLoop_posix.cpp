// POSIX only: the self-serving loop of the terminal dialogs.
#include "ui/posix/TerminalLoop_posix.h"

#include <errno.h>
#include <poll.h>

#include <csignal>

#include "ui/posix/MenuTerminal_posix.h"

namespace krv {
namespace {

constexpr int kEscapeWaitMs = 50;

}  // namespace

bool ServeTerminal(Terminal& terminal, const std::function<void(const TermInput&)>& handle,
                   const std::function<void()>& draw, const std::function<bool()>& done,
                   const std::shared_ptr<bool>& alive) {
  const auto over = [&] { return !*alive || done(); };
  const auto deliver = [&](const std::vector<TermInput>& inputs) {
    for (const TermInput& in : inputs) {
      if (over()) return;
      handle(in);
    }
  };
  while (!over()) {
    draw();
    pollfd fds[2] = {{TerminalSignalFd(), POLLIN, 0}, {terminal.in_fd(), POLLIN, 0}};
    const int ready = poll(fds, 2, terminal.Pending() ? kEscapeWaitMs : -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    std::vector<TermInput> inputs;
    if (ready == 0) {
      terminal.Flush(inputs);  // a lone ESC was Escape
      deliver(inputs);
      continue;
    }
    if (fds[0].revents & POLLIN) {
      const TerminalSignals s = TakeTerminalSignals();
      if (s.resized) terminal.Resized();
      if (s.close_signal) deliver({TermInput{TermInput::Type::kInterrupt}});
      continue;
    }
    bool ended = false;
    terminal.Read(inputs, &ended);
    deliver(inputs);
    if (ended) {
      if (!over()) handle(TermInput{TermInput::Type::kEndOfInput});
      return over();
    }
  }
  return true;
}

std::vector<std::string> WrapText(const std::string& text, int width) {
  std::vector<std::string> lines;
  std::string line;
  int used = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(' ', pos);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(pos, end - pos);
    const int n = static_cast<int>(Glyphs(word).size());
    if (used > 0 && used + 1 + n > width) {
      lines.push_back(line);
      line.clear();
      used = 0;
    }
    if (used > 0) {
      line += ' ';
      ++used;
    }
    line += word;
    used += n;
    pos = end + 1;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

std::string FitEnd(const std::string& text, int width) {
  const std::vector<std::string> glyphs = Glyphs(text);
  if (static_cast<int>(glyphs.size()) <= width || width < 2) return text;
  std::string out = "…";
  for (size_t i = glyphs.size() - static_cast<size_t>(width - 1); i < glyphs.size(); ++i) out += glyphs[i];
  return out;
}

void RedrawTerminalMenus() {
  for (TerminalMenu* menu : TerminalMenu::All()) {
    if (menu->IsVisible() && menu->interactive()) menu->Redraw();
  }
}

}  // namespace krv
