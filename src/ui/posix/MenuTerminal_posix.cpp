// POSIX only: the start menu drawn in the terminal, and the terminal state it
// borrows (raw mode, alternate screen, reports), given back on every way out.
#include "ui/posix/MenuTerminal_posix.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace krv {

// One cell of the screen: a character and how it looks.
struct TerminalMenu::Cell {
  static constexpr uint32_t kDefault = 0xFF000000u;  // the terminal's own colour
  std::string ch = " ";
  uint32_t fg = kDefault;  // 0xRRGGBB
  uint32_t bg = kDefault;
  bool bold = false;
  bool underline = false;
  bool operator==(const Cell&) const = default;
};

namespace {

using Cell = TerminalMenu::Cell;

// ---- The terminal state, shared by all menus of the process ----------------

constexpr char kEnterSequence[] = "\x1b[?1049h\x1b[?25l\x1b[?1003h\x1b[?1006h\x1b[?1004h";
constexpr char kLeaveSequence[] = "\x1b[?1004l\x1b[?1006l\x1b[?1003l\x1b[?1002l\x1b[?1000l\x1b[0m\x1b[?25h\x1b[?1049l";
constexpr int kCloseSignals[] = {SIGINT, SIGHUP, SIGTERM};

struct TerminalState {
  int in_fd = -1;
  int out_fd = -1;
  termios saved{};
  int interactive_shown = 0;  // shown menus that drew on the terminal
  int shown = 0;              // all shown menus (signal handlers are in place)
  int suspended = 0;
  struct sigaction old_actions[4]{};
  struct sigaction old_winch {};
};
TerminalState g_term;
volatile sig_atomic_t g_raw = 0;  // the terminal is in our state now
volatile sig_atomic_t g_pending_close = 0;
volatile sig_atomic_t g_resized = 0;
int g_signal_pipe[2] = {-1, -1};

void WriteRaw(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd p{fd, POLLOUT, 0};
      poll(&p, 1, 100);
      continue;
    }
    if (n <= 0) return;
    data += n;
    size -= static_cast<size_t>(n);
  }
}

// Async-signal-safe: only write and tcsetattr.
void RestoreTerminalNow() {
  if (!g_raw) return;
  g_raw = 0;
  WriteRaw(g_term.out_fd, kLeaveSequence, sizeof kLeaveSequence - 1);
  tcsetattr(g_term.in_fd, TCSANOW, &g_term.saved);
}

void TakeTerminal() {
  if (g_raw) return;
  termios raw = g_term.saved;
  raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR | BRKINT | ISTRIP | INPCK);
  raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | ISIG | IEXTEN);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(g_term.in_fd, TCSANOW, &raw);  // not TCSAFLUSH: keys typed ahead stay
  WriteRaw(g_term.out_fd, kEnterSequence, sizeof kEnterSequence - 1);
  g_raw = 1;
}

void OnSignal(int sig) {
  const int saved_errno = errno;
  if (sig == SIGWINCH) {
    g_resized = 1;
  } else if (g_pending_close) {
    // The loop did not take the first one: the program is stuck elsewhere.
    // Give the terminal back and let the signal do what it always does.
    RestoreTerminalNow();
    signal(sig, SIG_DFL);
    raise(sig);
  } else {
    g_pending_close = sig;
  }
  if (g_signal_pipe[1] >= 0) {
    const ssize_t ignored = write(g_signal_pipe[1], "s", 1);
    (void)ignored;
  }
  errno = saved_errno;
}

void EnsureSignalPipe() {
  if (g_signal_pipe[0] >= 0) return;
  if (pipe(g_signal_pipe) != 0) return;
  for (const int fd : g_signal_pipe) {
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
}

void InstallHandlers() {
  EnsureSignalPipe();
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (size_t i = 0; i < std::size(kCloseSignals); ++i) sigaction(kCloseSignals[i], &sa, &g_term.old_actions[i]);
  sigaction(SIGWINCH, &sa, &g_term.old_winch);
}

void RemoveHandlers() {
  for (size_t i = 0; i < std::size(kCloseSignals); ++i) sigaction(kCloseSignals[i], &g_term.old_actions[i], nullptr);
  sigaction(SIGWINCH, &g_term.old_winch, nullptr);
  g_pending_close = 0;
}

void BeginShown(bool interactive, int in_fd, int out_fd) {
  static bool at_exit_registered = false;
  if (!at_exit_registered) {
    at_exit_registered = std::atexit(RestoreTerminalNow) == 0;
  }
  if (g_term.shown++ == 0) InstallHandlers();
  if (!interactive || g_term.interactive_shown++ > 0) return;
  g_term.in_fd = in_fd;
  g_term.out_fd = out_fd;
  tcgetattr(in_fd, &g_term.saved);
  if (!g_term.suspended) TakeTerminal();
}

void EndShown(bool interactive) {
  if (interactive && --g_term.interactive_shown == 0) RestoreTerminalNow();
  if (--g_term.shown == 0) RemoveHandlers();
}

// ---- Colours -----------------------------------------------------------------

// The classic Windows scheme's system colours (0xRRGGBB), by index.
constexpr uint32_t kSystemColors[] = {
    0xC0C0C0, 0x008080, 0x000080, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x000080, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xFFFFE1,
};

// A colour of the form (0x00BBGGRR or a system colour) as 0xRRGGBB.
uint32_t ToRgb(uint32_t color) {
  if (IsSystemColor(color)) {
    const auto index = static_cast<size_t>(SystemColorIndex(color));
    return index < std::size(kSystemColors) ? kSystemColors[index] : 0x000000;
  }
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

int Luma(uint32_t rgb) { return (299 * (rgb >> 16) + 587 * ((rgb >> 8) & 0xFF) + 114 * (rgb & 0xFF)) / 1000; }
uint32_t Contrast(uint32_t rgb) { return Luma(rgb) < 128 ? 0xFFFFFF : 0x000000; }
uint32_t Mix(uint32_t a, uint32_t b) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) out |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
  return out;
}

// Box background by skin picture: button face, a blue tone, a mid-dark grey;
// black and white captions both read on each.
uint32_t BackgroundRgb(const std::string& picture) {
  if (picture == "BACK1") return 0xB0C4DE;
  if (picture == "BACK2") return 0x706E6F;
  return kSystemColors[15];
}

// Nearest colour of the xterm 256-colour palette (cube or grey ramp).
int Xterm256(uint32_t rgb) {
  const int r = static_cast<int>(rgb >> 16), g = static_cast<int>((rgb >> 8) & 0xFF), b = static_cast<int>(rgb & 0xFF);
  auto level = [](int v) { return v < 48 ? 0 : v < 115 ? 1 : (v - 35) / 40; };
  auto value = [](int l) { return l == 0 ? 0 : 55 + 40 * l; };
  const int lr = level(r), lg = level(g), lb = level(b);
  auto dist = [&](int cr, int cg, int cb) { return (cr - r) * (cr - r) + (cg - g) * (cg - g) + (cb - b) * (cb - b); };
  const int cube = 16 + 36 * lr + 6 * lg + lb;
  const int grey_level = std::clamp(((r + g + b) / 3 - 8 + 5) / 10, 0, 23);
  const int grey = 8 + 10 * grey_level;
  return dist(grey, grey, grey) < dist(value(lr), value(lg), value(lb)) ? 232 + grey_level : cube;
}

std::string ColorSgr(bool foreground, uint32_t rgb, bool truecolor) {
  if (rgb == Cell::kDefault) return foreground ? ";39" : ";49";
  const char* kind = foreground ? ";38" : ";48";
  if (truecolor) {
    return std::string(kind) + ";2;" + std::to_string(rgb >> 16) + ";" + std::to_string((rgb >> 8) & 0xFF) + ";" +
           std::to_string(rgb & 0xFF);
  }
  return std::string(kind) + ";5;" + std::to_string(Xterm256(rgb));
}

// ---- Layout --------------------------------------------------------------------

constexpr int kBoxWidth = 58;
constexpr int kBoxHeight = 18;
constexpr int kIconCol = 3;  // from the box's left edge
constexpr int kIconWidth = 3;
constexpr int kLabelCol = 8;
constexpr int kLabelWidth = 16;
constexpr int kCountCol = kLabelCol + kLabelWidth + 1;
constexpr int kStatusRow = 15;  // tooltip; the key hint below it
constexpr int kPopupWidth = 22;
constexpr int kPopupHeight = 7;
const char* const kIcons[kMenuItemCount] = {"▶", "◆", "≡", "▼", "*", "×"};
constexpr char kKeyHint[] = "Tab/↑↓ wählen  Enter starten  Esc Abbrechen  F2 Menü";
constexpr char kPopupHint[] = "↑↓ wählen  Enter übernehmen  Esc schließen";

int BoxLeft(int cols) { return std::max(0, (cols - kBoxWidth) / 2); }
int BoxTop(int rows) { return std::max(0, (rows - kBoxHeight) / 2); }
int ItemRow(int32_t item) { return 2 + 2 * item; }

// UTF-8 characters of `text` (each one cell wide here).
std::vector<std::string> Glyphs(const std::string& text) {
  std::vector<std::string> out;
  for (size_t i = 0; i < text.size();) {
    size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

// A caption without its '&', and the position of the mnemonic letter (-1 if none).
std::string StripMnemonic(const std::string& caption, int* mnemonic) {
  std::string out;
  *mnemonic = -1;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      if (caption[i + 1] != '&') *mnemonic = static_cast<int>(Glyphs(out).size());
      ++i;
    }
    out += caption[i];
  }
  return out;
}

class Canvas {
 public:
  Canvas(std::vector<Cell>& cells, int cols, int rows) : cells_(cells), cols_(cols), rows_(rows) {}
  Cell* At(int col, int row) {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return nullptr;
    return &cells_[static_cast<size_t>(row * cols_ + col)];
  }
  void Fill(int col, int row, int width, int height, uint32_t fg, uint32_t bg) {
    for (int r = row; r < row + height; ++r) {
      for (int c = col; c < col + width; ++c) {
        if (Cell* cell = At(c, r)) *cell = Cell{" ", fg, bg, false, false};
      }
    }
  }
  // Writes `text` from `col`, at most `width` cells; returns the cells used.
  int Text(int col, int row, const std::string& text, int width, uint32_t fg, bool bold = false, int underline = -1) {
    int k = 0;
    for (const std::string& g : Glyphs(text)) {
      if (k >= width) break;
      if (Cell* cell = At(col + k, row)) {
        cell->ch = g;
        cell->fg = fg;
        cell->bold = bold;
        cell->underline = k == underline;
      }
      ++k;
    }
    return k;
  }
  void Frame(int col, int row, int width, int height, uint32_t fg) {
    for (int c = col; c < col + width; ++c) {
      const bool left = c == col, right = c == col + width - 1;
      Set(c, row, left ? "┌" : right ? "┐" : "─", fg);
      Set(c, row + height - 1, left ? "└" : right ? "┘" : "─", fg);
    }
    for (int r = row + 1; r < row + height - 1; ++r) {
      Set(col, r, "│", fg);
      Set(col + width - 1, r, "│", fg);
    }
  }
  void Set(int col, int row, const char* ch, uint32_t fg) {
    if (Cell* cell = At(col, row)) {
      cell->ch = ch;
      cell->fg = fg;
    }
  }

 private:
  std::vector<Cell>& cells_;
  int cols_, rows_;
};

std::string CellSgr(const Cell& c, bool truecolor) {
  return "\x1b[0" + std::string(c.bold ? ";1" : "") + (c.underline ? ";4" : "") + ColorSgr(true, c.fg, truecolor) +
         ColorSgr(false, c.bg, truecolor) + "m";
}

std::vector<TerminalMenu*>& Registry() {
  static std::vector<TerminalMenu*> menus;
  return menus;
}

bool TruecolorTerminal() {
  const char* colorterm = std::getenv("COLORTERM");
  return colorterm && (std::strstr(colorterm, "truecolor") || std::strstr(colorterm, "24bit"));
}

}  // namespace

// ---- Suspending and signals ----------------------------------------------------

void SuspendTerminalMenus() {
  if (g_term.suspended++ == 0) RestoreTerminalNow();
}

void ResumeTerminalMenus() {
  if (g_term.suspended == 0 || --g_term.suspended > 0) return;
  if (g_term.interactive_shown == 0) return;
  TakeTerminal();
  for (TerminalMenu* menu : Registry()) {
    if (menu->IsVisible() && menu->interactive()) menu->Redraw();
  }
}

bool TerminalMenusSuspended() { return g_term.suspended > 0; }

int TerminalSignalFd() {
  EnsureSignalPipe();
  return g_signal_pipe[0];
}

TerminalSignals TakeTerminalSignals() {
  char drain[64];
  while (g_signal_pipe[0] >= 0 && read(g_signal_pipe[0], drain, sizeof drain) > 0) {
  }
  TerminalSignals s;
  s.resized = g_resized != 0;
  g_resized = 0;
  s.close_signal = g_pending_close;
  g_pending_close = 0;
  return s;
}

// ---- The menu ------------------------------------------------------------------

const std::vector<TerminalMenu*>& TerminalMenu::All() { return Registry(); }

TerminalMenu::TerminalMenu(const void* owner, MenuEvents& events, int in_fd, int out_fd)
    : owner_(owner),
      events_(&events),
      in_fd_(in_fd),
      out_fd_(out_fd),
      interactive_(isatty(in_fd) == 1 && isatty(out_fd) == 1),
      truecolor_(TruecolorTerminal()) {
  for (int32_t i = 0; i < kMenuItemCount; ++i) items_[static_cast<size_t>(i)].tooltip = kMenuItems[i].tooltip;
  Registry().push_back(this);
}

TerminalMenu::~TerminalMenu() {
  Close();
  *alive_ = false;
  auto& all = Registry();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

template <typename F>
bool TerminalMenu::Emit(F&& f) {
  if (closed_) return false;
  const std::shared_ptr<bool> alive = alive_;
  f(*events_);
  return *alive && !closed_;
}

void TerminalMenu::Show() {
  if (closed_ || shown_) return;
  shown_ = true;
  auto& all = Registry();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  all.push_back(this);
  BeginShown(interactive_, in_fd_, out_fd_);
  if (interactive_) {
    Redraw();
    return;
  }
  std::string list = std::string(kMenuCaption) + "\n";
  for (int32_t i = 0; i < kMenuItemCount; ++i) {
    int mnemonic = 0;
    const std::string caption = StripMnemonic(kMenuItems[i].caption, &mnemonic);
    list += "  " + caption +
            std::string(static_cast<size_t>(std::max(1, 16 - static_cast<int>(Glyphs(caption).size()))), ' ') +
            items_[static_cast<size_t>(i)].tooltip + "\n";
  }
  list += "Tasten: Tab/Pfeile wählen, Enter startet, Esc bricht ab, F2 Kontextmenü\n";
  WriteOut(list);
  FlushPlain();
}

void TerminalMenu::Close() {
  if (closed_) return;
  closed_ = true;
  timers_ = {};
  popup_open_ = false;
  if (!shown_) return;
  shown_ = false;
  EndShown(interactive_);
}

bool TerminalMenu::FocusItem(int32_t index) {
  if (!IsVisible() || index < 0 || index >= kMenuItemCount) return false;
  focused_ = index;
  dirty_ = true;
  return true;
}

void TerminalMenu::SetItemLook(int32_t index, uint32_t color, bool bold, bool second_icon_visible) {
  if (index < 0 || index >= kMenuItemCount) return;
  items_[static_cast<size_t>(index)] = {color, bold, second_icon_visible, items_[static_cast<size_t>(index)].tooltip};
  dirty_ = true;
}

void TerminalMenu::SetCountText(const std::string& text) {
  count_text_ = text;
  dirty_ = true;
}

void TerminalMenu::SetCountVisible(bool visible) {
  count_visible_ = visible;
  dirty_ = true;
}

void TerminalMenu::MoveCountToItem(int32_t index) {
  count_item_ = std::clamp(index, int32_t{0}, kMenuItemCount - 1);
  dirty_ = true;
}

void TerminalMenu::SetBackground(const std::optional<SkinBitmap>& picture) {
  background_ = picture ? std::string(picture->resource_name) : std::string();
  dirty_ = true;
}

void TerminalMenu::SetIconBackColor(uint32_t color) {
  icon_back_ = color;
  dirty_ = true;
}

void TerminalMenu::SetTimer(MenuTimer timer, int32_t interval_ms) {
  const size_t slot = timer == MenuTimer::kRun ? 0 : 1;
  if (closed_) return;
  timers_[slot].interval_ms = std::max(0, interval_ms);
  timers_[slot].due = Clock::now() + std::chrono::milliseconds(timers_[slot].interval_ms);
}

std::optional<TerminalMenu::Clock::time_point> TerminalMenu::NextTimerDue() const {
  std::optional<Clock::time_point> next;
  for (const Timer& t : timers_) {
    if (t.interval_ms > 0 && (!next || t.due < *next)) next = t.due;
  }
  return next;
}

void TerminalMenu::FireDueTimer(Clock::time_point now) {
  size_t slot = timers_[0].interval_ms > 0 ? 0 : 1;
  if (timers_[1].interval_ms > 0 && (timers_[0].interval_ms == 0 || timers_[1].due < timers_[0].due)) slot = 1;
  Timer& t = timers_[slot];
  if (t.interval_ms <= 0 || t.due > now) return;
  // A late tick does not pile up: the next one is a full interval away.
  t.due += std::chrono::milliseconds(t.interval_ms);
  if (t.due <= now) t.due = now + std::chrono::milliseconds(t.interval_ms);
  const MenuTimer which = slot == 0 ? MenuTimer::kRun : MenuTimer::kCount;
  Emit([which](MenuEvents& e) { e.Timer(which); });
}

void TerminalMenu::ShowContextMenu(bool auto_unload_checked, int32_t skin_checked) {
  if (!IsVisible()) return;
  popup_open_ = true;
  popup_auto_unload_ = auto_unload_checked;
  popup_skin_ = skin_checked;
  popup_selected_ = 0;
  if (last_input_was_mouse_) {
    popup_col_ = mouse_col_;
    popup_row_ = mouse_row_;
  } else {
    popup_col_ = BoxLeft(cols_) + kLabelCol;
    popup_row_ = BoxTop(rows_) + ItemRow(focused_ >= 0 ? focused_ : 0) + 1;
  }
  popup_col_ = std::max(0, std::min(popup_col_, cols_ - kPopupWidth));
  popup_row_ = std::max(0, std::min(popup_row_, rows_ - kPopupHeight));
  dirty_ = true;
  if (!interactive_) {
    std::string line = "Kontextmenü: 1 " + std::string(kMenuAutoUnloadText) + (auto_unload_checked ? " [x]" : " [ ]") +
                       ", " + kMenuSkinText + ":";
    for (int32_t s = 0; s < 3; ++s) {
      line += " " + std::to_string(s + 2) + " " + kMenuSkinNames[s] + (s == skin_checked ? " [x]" : " [ ]");
    }
    WriteOut(line + ", Esc schließt\n");
  }
}

void TerminalMenu::UserClose(UnloadMode mode) {
  if (!Emit([mode](MenuEvents& e) { e.QueryUnload(mode); })) return;
  Close();
}

// ---- Input -----------------------------------------------------------------------

void TerminalMenu::HandleInput(const TermInput& in) {
  if (!IsVisible()) return;
  switch (in.type) {
    case TermInput::Type::kKey:
      last_input_was_mouse_ = false;
      popup_open_ ? PopupKey(in) : HandleKey(in);
      break;
    case TermInput::Type::kMousePress:
    case TermInput::Type::kMouseRelease:
    case TermInput::Type::kMouseMove:
      mouse_col_ = in.col;
      mouse_row_ = in.row;
      last_input_was_mouse_ = true;
      popup_open_ ? PopupMouse(in) : HandleMouse(in);
      break;
    case TermInput::Type::kFocusIn:
    case TermInput::Type::kFocusOut: {
      const bool active = in.type == TermInput::Type::kFocusIn;
      if (!active) ClosePopup();
      Emit([active](MenuEvents& e) { e.AppActivated(active); });
      break;
    }
    case TermInput::Type::kInterrupt:
    case TermInput::Type::kEndOfInput:
      UserClose(kUnloadByUser);
      break;
  }
}

void TerminalMenu::HandleKey(const TermInput& in) {
  const int32_t key = in.key, shift = in.shift;
  if (!Emit([key, shift](MenuEvents& e) { e.KeyDown(key, shift); })) return;
  if (key == kKeySpace && (shift & (kAltBit | kCtrlBit)) == 0 && focused_ >= 0) {
    const int32_t item = focused_;
    Emit([item](MenuEvents& e) { e.FakeClick(item); });
    return;
  }
  const bool menu_key =
      (key == kKeyF10 && shift == kShiftBit) || (key == kKeyApps && shift == 0) || (key == kKeyF2 && shift == 0);
  if (menu_key) Emit([](MenuEvents& e) { e.BackgroundMouseUp(kRightButton); });
}

TerminalMenu::Hit TerminalMenu::HitTest(int32_t col, int32_t row) const {
  const int left = BoxLeft(cols_), top = BoxTop(rows_);
  const int c = col - left, r = row - top;
  if (c < 0 || r < 0 || c >= kBoxWidth || r >= kBoxHeight) return {Hit::kOutside, -1};
  for (int32_t i = 0; i < kMenuItemCount; ++i) {
    if (r != ItemRow(i)) continue;
    if (c >= kIconCol && c < kIconCol + kIconWidth) return {Hit::kIcon, i};
    if (c >= kLabelCol && c < kLabelCol + kLabelWidth) return {Hit::kLabel, i};
  }
  return {Hit::kBackground, -1};
}

void TerminalMenu::HandleMouse(const TermInput& in) {
  const Hit hit = HitTest(in.col, in.row);
  const int32_t i = hit.index;
  const int16_t button = in.button;
  const size_t slot = static_cast<size_t>(std::clamp<int16_t>(button, 0, 4));
  switch (in.type) {
    case TermInput::Type::kMouseMove:
      if (hit.part == Hit::kLabel) {
        Emit([i](MenuEvents& e) { e.LabelMouseMove(i); });
      } else if (hit.part == Hit::kIcon) {
        const bool second = items_[static_cast<size_t>(i)].second_icon;
        Emit([i, second](MenuEvents& e) { second ? e.Icon2MouseMove(i) : e.Icon1MouseMove(i); });
      }
      break;
    case TermInput::Type::kMousePress:
      pressed_[slot] = hit;
      if (hit.part == Hit::kLabel) Emit([i, button](MenuEvents& e) { e.LabelMouseDown(i, button); });
      break;
    case TermInput::Type::kMouseRelease: {
      const Hit pressed = pressed_[slot];
      pressed_[slot] = Hit{};
      if (hit.part == Hit::kLabel && pressed == hit) {
        Emit([i](MenuEvents& e) { e.LabelClick(i); });
      } else if (hit.part == Hit::kIcon && pressed == hit) {
        Emit([i](MenuEvents& e) { e.Icon1Click(i); });
      } else if (hit.part == Hit::kBackground && (pressed.part == Hit::kBackground || pressed.part == Hit::kNone)) {
        Emit([button](MenuEvents& e) { e.BackgroundMouseUp(button); });
      }
      break;
    }
    default:
      break;
  }
}

// Entries: 0 auto-unload, 1 to 3 the skins; -1 none.
int TerminalMenu::PopupEntryAt(int32_t col, int32_t row) const {
  if (col <= popup_col_ || col >= popup_col_ + kPopupWidth - 1) return -1;
  const int r = row - popup_row_;
  if (r == 1) return 0;
  if (r >= 3 && r <= 5) return r - 2;
  return -1;
}

void TerminalMenu::PopupKey(const TermInput& in) {
  dirty_ = true;
  if (in.key == kKeyUp) {
    popup_selected_ = (popup_selected_ + 3) % 4;
  } else if (in.key == kKeyDown || (in.key == kKeyTab && in.shift == 0)) {
    popup_selected_ = (popup_selected_ + 1) % 4;
  } else if (in.key == kKeyEnter || in.key == kKeySpace) {
    ChoosePopupEntry(popup_selected_);
  } else if (in.key >= '1' && in.key <= '4') {
    ChoosePopupEntry(in.key - '1');
  } else if (in.key == kKeyEscape || in.key == kKeyF2 || in.key == kKeyApps || in.key == kKeyF10 ||
             in.key == kKeyLeft) {
    ClosePopup();
  }
}

void TerminalMenu::PopupMouse(const TermInput& in) {
  const int entry = PopupEntryAt(in.col, in.row);
  const bool inside = in.col >= popup_col_ && in.col < popup_col_ + kPopupWidth && in.row >= popup_row_ &&
                      in.row < popup_row_ + kPopupHeight;
  if (in.type == TermInput::Type::kMouseMove) {
    if (entry >= 0 && entry != popup_selected_) {
      popup_selected_ = entry;
      dirty_ = true;
    }
  } else if (in.type == TermInput::Type::kMouseRelease) {
    if (entry >= 0) {
      ChoosePopupEntry(entry);
    } else if (!inside) {
      ClosePopup();
    }
  } else if (!inside) {
    ClosePopup();  // a press elsewhere only closes the menu, as on Windows
    pressed_ = {};
    pressed_[static_cast<size_t>(std::clamp<int16_t>(in.button, 0, 4))] = Hit{Hit::kOutside, -1};
  }
}

void TerminalMenu::ChoosePopupEntry(int entry) {
  ClosePopup();
  if (entry == 0) {
    Emit([](MenuEvents& e) { e.ContextAutoUnload(); });
  } else if (entry >= 1 && entry <= 3) {
    Emit([entry](MenuEvents& e) { e.ContextSkin(entry - 1); });
  }
}

void TerminalMenu::ClosePopup() {
  if (!popup_open_) return;
  popup_open_ = false;
  dirty_ = true;
}

// ---- Drawing ---------------------------------------------------------------------

int32_t TerminalMenu::TooltipItem() const {
  for (int32_t i = 0; i < kMenuItemCount; ++i) {
    if (items_[static_cast<size_t>(i)].bold) return i;
  }
  return focused_;
}

void TerminalMenu::QuerySize() {
  winsize ws{};
  if (ioctl(out_fd_, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
    cols_ = ws.ws_col;
    rows_ = ws.ws_row;
  }
}

void TerminalMenu::Redraw() {
  if (!IsVisible() || !interactive_) return;
  QuerySize();
  popup_col_ = std::max(0, std::min(popup_col_, cols_ - kPopupWidth));
  popup_row_ = std::max(0, std::min(popup_row_, rows_ - kPopupHeight));
  shown_cells_.clear();
  WriteOut("\x1b[0m\x1b[2J");
  dirty_ = true;
  FlushDrawing();
}

void TerminalMenu::Render(std::vector<Cell>& cells) const {
  Canvas canvas(cells, cols_, rows_);
  const int left = BoxLeft(cols_), top = BoxTop(rows_);
  const uint32_t bg = BackgroundRgb(background_);
  const uint32_t ink = Contrast(bg);
  canvas.Fill(left, top, kBoxWidth, kBoxHeight, ink, bg);
  canvas.Frame(left, top, kBoxWidth, kBoxHeight, ink);
  const std::string title = std::string(" ") + kMenuCaption + " ";
  const int title_width = static_cast<int>(Glyphs(title).size());
  canvas.Text(left + (kBoxWidth - title_width) / 2, top, title, title_width, ink, true);

  const uint32_t icon_bg = ToRgb(icon_back_);
  for (int32_t i = 0; i < kMenuItemCount; ++i) {
    const Item& item = items_[static_cast<size_t>(i)];
    const int row = top + ItemRow(i);
    canvas.Fill(left + kIconCol, row, kIconWidth, 1, Contrast(icon_bg), icon_bg);
    // The second icon is the dimmed picture over the first.
    const uint32_t icon_ink = item.second_icon ? Mix(Contrast(icon_bg), icon_bg) : Contrast(icon_bg);
    canvas.Text(left + kIconCol + 1, row, kIcons[i], 1, icon_ink, !item.second_icon);
    int mnemonic = -1;
    const std::string caption = StripMnemonic(kMenuItems[i].caption, &mnemonic);
    canvas.Text(left + kLabelCol, row, caption, kLabelWidth, ToRgb(item.color), item.bold, mnemonic);
  }
  if (count_visible_) canvas.Text(left + kCountCol, top + ItemRow(count_item_), count_text_, 8, ink);

  canvas.Frame(left, top + kStatusRow - 1, kBoxWidth, kBoxHeight - kStatusRow + 1, ink);
  canvas.Set(left, top + kStatusRow - 1, "├", ink);
  canvas.Set(left + kBoxWidth - 1, top + kStatusRow - 1, "┤", ink);
  const int32_t tip = TooltipItem();
  const std::string tooltip = tip >= 0 ? items_[static_cast<size_t>(tip)].tooltip : std::string();
  canvas.Text(left + 2, top + kStatusRow, tooltip, kBoxWidth - 4, ink);
  canvas.Text(left + 2, top + kStatusRow + 1, popup_open_ ? kPopupHint : kKeyHint, kBoxWidth - 4, ink);
  if (popup_open_) RenderPopup(cells);
}

void TerminalMenu::RenderPopup(std::vector<Cell>& cells) const {
  Canvas canvas(cells, cols_, rows_);
  const uint32_t face = kSystemColors[4], text = kSystemColors[7];
  canvas.Fill(popup_col_, popup_row_, kPopupWidth, kPopupHeight, text, face);
  canvas.Frame(popup_col_, popup_row_, kPopupWidth, kPopupHeight, text);
  const auto entry_row = [&](int entry) { return popup_row_ + (entry == 0 ? 1 : entry + 2); };
  for (int entry = 0; entry < 4; ++entry) {
    const bool checked = entry == 0 ? popup_auto_unload_ : popup_skin_ == entry - 1;
    const std::string label = entry == 0 ? kMenuAutoUnloadText : kMenuSkinNames[entry - 1];
    const std::string line = std::string(entry == 0 ? "" : "  ") + (checked ? "✓ " : "  ") + label;
    const bool selected = entry == popup_selected_;
    const uint32_t fg = selected ? kSystemColors[14] : text;
    if (selected) canvas.Fill(popup_col_ + 1, entry_row(entry), kPopupWidth - 2, 1, fg, kSystemColors[13]);
    canvas.Text(popup_col_ + 2, entry_row(entry), line, kPopupWidth - 3, fg);
  }
  canvas.Text(popup_col_ + 4, popup_row_ + 2, kMenuSkinText, kPopupWidth - 5, text);
}

void TerminalMenu::FlushDrawing() {
  if (!IsVisible() || !dirty_ || TerminalMenusSuspended() || output_broken_) return;
  dirty_ = false;
  if (!interactive_) {
    FlushPlain();
    return;
  }
  const size_t size = static_cast<size_t>(cols_ * rows_);
  std::vector<Cell> cells(size);
  Render(cells);
  if (shown_cells_.size() != size) shown_cells_.assign(size, Cell{});
  std::string out;
  std::string sgr;
  int cursor = -1;
  for (size_t k = 0; k < size; ++k) {
    if (cells[k] == shown_cells_[k]) continue;
    const int col = static_cast<int>(k) % cols_, row = static_cast<int>(k) / cols_;
    if (cursor != static_cast<int>(k)) out += "\x1b[" + std::to_string(row + 1) + ";" + std::to_string(col + 1) + "H";
    const std::string cell_sgr = CellSgr(cells[k], truecolor_);
    if (cell_sgr != sgr) out += sgr = cell_sgr;
    out += cells[k].ch;
    cursor = col + 1 < cols_ ? static_cast<int>(k) + 1 : -1;
  }
  if (!out.empty()) WriteOut(out + "\x1b[0m");
  shown_cells_ = std::move(cells);
}

void TerminalMenu::FlushPlain() {
  int32_t bold = -1;
  for (int32_t i = 0; i < kMenuItemCount; ++i) {
    if (items_[static_cast<size_t>(i)].bold) bold = i;
  }
  std::string out;
  if (bold != printed_bold_ && bold >= 0) {
    int mnemonic = 0;
    out += "Auswahl: " + StripMnemonic(kMenuItems[bold].caption, &mnemonic) + "\n";
  }
  printed_bold_ = bold;
  const std::string count = count_visible_ ? count_text_ : std::string();
  if (count != printed_count_) {
    int mnemonic = 0;
    if (!count.empty()) {
      out += StripMnemonic(kMenuItems[count_item_].caption, &mnemonic) + " " + count + "\n";
    } else if (!printed_count_.empty()) {
      out += "Countdown angehalten\n";
    }
    printed_count_ = count;
  }
  if (!out.empty()) WriteOut(out);
}

void TerminalMenu::WriteOut(const std::string& text) {
  if (output_broken_) return;
  const char* data = text.data();
  size_t size = text.size();
  while (size > 0) {
    const ssize_t n = write(out_fd_, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd p{out_fd_, POLLOUT, 0};
      poll(&p, 1, 100);
      continue;
    }
    if (n <= 0) {
      output_broken_ = true;  // the terminal is gone; input tells the loop
      return;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
}

}  // namespace krv
