// POSIX only: the registry permission notice drawn on the shared terminal.
#include "ui/posix/RegPermissionTerminal_posix.h"

#include <algorithm>

#include "ui/ViewEvent.h"
#include "ui/posix/TerminalLoop_posix.h"

namespace krv {
namespace {

constexpr uint32_t kFace = 0xC0C0C0;
constexpr uint32_t kInk = 0x000000;
constexpr uint32_t kField = 0xFFFFFF;
constexpr int kBoxWidth = 78;
constexpr int kBoxHeight = 24;
constexpr int kTextWidth = kBoxWidth - 4;
constexpr int kKeyLines = 3;
constexpr char kHint[] = "↑↓ oder 1-3 wählen  Enter/Alt+O OK  Esc/Alt+A Abbrechen";

// Splits the key list at its line breaks.
std::vector<std::string> KeyLines(const std::string& keys) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos <= keys.size() && !keys.empty()) {
    const size_t end = keys.find("\r\n", pos);
    lines.push_back(keys.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
    if (end == std::string::npos) break;
    pos = end + 2;
  }
  return lines;
}

}  // namespace

TerminalRegPermission::TerminalRegPermission(RegPermissionEvents& events, std::istream& plain_in, int in_fd, int out_fd)
    : events_(&events), plain_in_(plain_in), terminal_(in_fd, out_fd) {}

TerminalRegPermission::~TerminalRegPermission() {
  Close();
  *alive_ = false;
}

template <typename F>
bool TerminalRegPermission::Emit(F&& f) {
  return FireViewEvent(alive_, closed_, *events_, f);
}

void TerminalRegPermission::ShowModal() {
  if (closed_) return;
  shown_ = true;
  terminal_.Open();
  if (!terminal_.interactive()) {
    ServePlain();
  } else {
    ServeTerminal(
        terminal_, [this](const TermInput& in) { HandleInput(in); }, [this] { Render(); },
        [this] { return !shown_ || closed_; }, alive_);
  }
  if (*alive_) {
    shown_ = false;
    terminal_.Close();
    RedrawTerminalMenus();
  }
}

void TerminalRegPermission::Close() {
  closed_ = true;
  shown_ = false;
  terminal_.Close();
}

void TerminalRegPermission::Choose(int32_t option) {
  if (option < 0 || option > 2) return;
  option_ = option;
  Emit([option](RegPermissionEvents& e) { e.OptionClick(option); });
}

void TerminalRegPermission::HandleInput(const TermInput& in) {
  if (!shown_) return;
  switch (in.type) {
    case TermInput::Type::kKey:
      if (in.key == kKeyUp) return Choose(std::max(0, option_ - 1));
      if (in.key == kKeyDown) return Choose(std::min(2, option_ + 1));
      if (in.key >= '1' && in.key <= '3' && !(in.shift & kAltBit)) return Choose(in.key - '1');
      if (in.key == kKeyEnter || ((in.shift & kAltBit) && in.key == 'O')) {
        Emit([](RegPermissionEvents& e) { e.OkClick(); });
        return;
      }
      if (in.key == kKeyEscape || ((in.shift & kAltBit) && in.key == 'A'))
        Emit([](RegPermissionEvents& e) { e.CancelClick(); });
      return;
    case TermInput::Type::kInterrupt:
    case TermInput::Type::kEndOfInput:
      Emit([](RegPermissionEvents& e) { e.QueryUnload(kUnloadByUser); });
      return;
    default:
      return;
  }
}

void TerminalRegPermission::Render() {
  if (!shown_ || TerminalsSuspended()) return;
  Terminal& t = terminal_;
  t.Clear(true);
  const int left = std::max(0, (t.cols() - kBoxWidth) / 2), top = std::max(0, (t.rows() - kBoxHeight) / 2);
  t.Fill(left, top, kBoxWidth, kBoxHeight, kInk, kFace);
  t.Frame(left, top, kBoxWidth, kBoxHeight, kInk);
  const std::string title = std::string(" ") + kRegPermissionCaption + " ";
  t.Text(left + (kBoxWidth - static_cast<int>(Glyphs(title).size())) / 2, top, title, kBoxWidth, kInk, true);
  int row = top + 1;
  const auto paragraph = [&](const char* text) {
    for (const std::string& line : WrapText(text, kTextWidth)) t.Text(left + 2, row++, line, kTextWidth, kInk);
  };
  paragraph(kRegPermissionLabels[0]);
  const std::vector<std::string> keys = KeyLines(keys_);
  t.Fill(left + 2, row, kTextWidth, kKeyLines, kInk, kField);
  for (int i = 0; i < kKeyLines && i < static_cast<int>(keys.size()); ++i) {
    const bool more = i == kKeyLines - 1 && static_cast<int>(keys.size()) > kKeyLines;
    t.Text(left + 3, row + i, more ? "… (" + std::to_string(keys.size()) + " Schlüssel)" : keys[static_cast<size_t>(i)],
           kTextWidth - 2, kInk);
  }
  row += kKeyLines;
  for (int i = 1; i < 5; ++i) paragraph(kRegPermissionLabels[i]);
  for (int32_t i = 0; i < 3; ++i) {
    t.Text(left + 4, row++, std::string(i == option_ ? "(•)" : "( )") + kRegPermissionOptions[i], kTextWidth - 2, kInk,
           i == option_);
  }
  t.Text(left + kBoxWidth - 30, top + kBoxHeight - 2, "[ OK ]  [ Abbrechen ]", 24, kInk, false, 2);
  t.Text(left + 2, top + kBoxHeight - 1, kHint, kTextWidth, kInk);
  t.Present();
}

void TerminalRegPermission::ServePlain() {
  std::string out = std::string(kRegPermissionCaption) + "\n" + kRegPermissionLabels[0] + "\n";
  for (const std::string& key : KeyLines(keys_)) out += "  " + key + "\n";
  for (int i = 1; i < 5; ++i) out += std::string(kRegPermissionLabels[i]) + "\n";
  terminal_.Write(out);
  const std::shared_ptr<bool> alive = alive_;
  while (*alive && shown_ && !closed_) {
    std::string options;
    for (int32_t i = 0; i < 3; ++i)
      options += std::string(i == option_ ? "* " : "  ") + std::to_string(i + 1) + kRegPermissionOptions[i] + "\n";
    terminal_.Write(options + "1-3 wählen, O OK, A Abbrechen\n> ");
    std::string line;
    if (!std::getline(plain_in_, line)) {
      terminal_.Write("\n");
      Emit([](RegPermissionEvents& e) { e.QueryUnload(kUnloadByUser); });
      return;
    }
    const char c = line.empty() ? 0 : static_cast<char>(line[0] & ~0x20);
    if (line[0] >= '1' && line[0] <= '3') {
      Choose(line[0] - '1');
    } else if (c == 'O') {
      Emit([](RegPermissionEvents& e) { e.OkClick(); });
    } else if (c == 'A') {
      Emit([](RegPermissionEvents& e) { e.CancelClick(); });
    }
  }
}

}  // namespace krv
