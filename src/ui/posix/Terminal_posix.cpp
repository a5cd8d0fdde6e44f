// POSIX only: the shared terminal on ncurses, and the terminal state it
// borrows, given back on every way out.
#include "ui/posix/Terminal_posix.h"

#include <curses.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace krv {
namespace {

// ncurses knows neither focus reports nor motion without a button; we switch
// them on and off ourselves.
constexpr char kReportsOn[] = "\x1b[?1003h\x1b[?1004h";
constexpr char kReportsOff[] = "\x1b[?1004l\x1b[?1003l";
constexpr int kCloseSignals[] = {SIGINT, SIGHUP, SIGTERM};
constexpr int kFocusInCode = KEY_MAX + 1;
constexpr int kFocusOutCode = KEY_MAX + 2;
constexpr int kMenuKeyCode = KEY_MAX + 3;

// The state of the process's one ncurses screen.
struct SharedTerminal {
  SCREEN* screen = nullptr;
  FILE* in = nullptr;
  FILE* out = nullptr;
  int in_fd = -1;
  int out_fd = -1;
  termios saved{};
  int interactive_open = 0;  // open terminals that draw
  int open = 0;              // all open terminals (signal handlers are in place)
  int suspended = 0;
  struct sigaction old_actions[std::size(kCloseSignals)]{};
  struct sigaction old_winch {};
  char leave[256] = {};  // what gives the terminal back, for a signal handler
  size_t leave_size = 0;
};
SharedTerminal g_term;
volatile sig_atomic_t g_raw = 0;  // the terminal is in our state now
volatile sig_atomic_t g_pending_close = 0;
volatile sig_atomic_t g_resized = 0;
int g_signal_pipe[2] = {-1, -1};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd p{fd, POLLOUT, 0};
      poll(&p, 1, 100);
      continue;
    }
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Async-signal-safe: only write and tcsetattr.
void RestoreTerminalNow() {
  if (!g_raw) return;
  g_raw = 0;
  WriteAll(g_term.out_fd, g_term.leave, g_term.leave_size);
  tcsetattr(g_term.in_fd, TCSANOW, &g_term.saved);
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

// Before newterm, so ncurses finds handlers in place and installs none.
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

void AppendLeave(const char* cap) {
  if (!cap || cap == reinterpret_cast<const char*>(-1)) return;
  const size_t n = std::min(std::strlen(cap), sizeof g_term.leave - g_term.leave_size);
  std::memcpy(g_term.leave + g_term.leave_size, cap, n);
  g_term.leave_size += n;
}

// A terminal type ncurses knows: a direct-colour variant when the terminal
// says it has true colour, else $TERM, else xterm.
SCREEN* NewScreen() {
  const char* env = std::getenv("TERM");
  const std::string term = env && *env ? env : "xterm";
  const char* colorterm = std::getenv("COLORTERM");
  std::vector<std::string> types;
  if (colorterm && (std::strstr(colorterm, "truecolor") || std::strstr(colorterm, "24bit")))
    types.push_back(term.substr(0, term.find('-')) + "-direct");
  types.push_back(term);
  types.push_back("xterm");
  for (const std::string& type : types) {
    if (SCREEN* s = newterm(type.c_str(), g_term.out, g_term.in)) return s;
  }
  return nullptr;
}

bool TakeTerminal() {
  if (g_raw) return true;
  if (g_term.screen) {
    reset_prog_mode();
  } else {
    // ncursesw writes UTF-8 only under a UTF-8 locale; our texts are UTF-8.
    if (!std::strstr(std::setlocale(LC_CTYPE, nullptr), "UTF-8")) std::setlocale(LC_CTYPE, "C.UTF-8");
    g_term.in = fdopen(dup(g_term.in_fd), "r");
    g_term.out = fdopen(dup(g_term.out_fd), "w");
    if (!g_term.in || !g_term.out || !(g_term.screen = NewScreen())) return false;
    set_term(g_term.screen);
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    set_escdelay(50);
    typeahead(-1);  // draw whole even while keys come
    idcok(stdscr, FALSE);
    curs_set(0);
    // Presses and releases as they come: no clicks made of them.
    mouseinterval(0);
    mousemask(BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON2_PRESSED | BUTTON2_RELEASED | BUTTON3_PRESSED |
                  BUTTON3_RELEASED | BUTTON_SHIFT | BUTTON_ALT | BUTTON_CTRL | REPORT_MOUSE_POSITION,
              nullptr);
    if (has_colors()) {
      start_color();
      use_default_colors();
    }
    // Terminals that ignore the keypad mode send the cursor keys this way.
    const struct {
      const char* seq;
      int code;
    } keys[] = {{"\x1b[A", KEY_UP},       {"\x1b[B", KEY_DOWN},      {"\x1b[C", KEY_RIGHT},
                {"\x1b[D", KEY_LEFT},     {"\x1b[H", KEY_HOME},      {"\x1b[F", KEY_END},
                {"\x1b[I", kFocusInCode}, {"\x1b[O", kFocusOutCode}, {"\x1b[29~", kMenuKeyCode}};
    for (const auto& k : keys) define_key(k.seq, k.code);
    g_term.leave_size = 0;
    AppendLeave(kReportsOff);
    AppendLeave("\x1b[?1006l\x1b[?1000l");
    for (const char* cap : {"sgr0", "cnorm", "rmkx", "rmcup"}) AppendLeave(tigetstr(cap));
  }
  WriteAll(g_term.out_fd, kReportsOn, sizeof kReportsOn - 1);
  g_raw = 1;
  return true;
}

void GiveTerminalBack() {
  if (!g_raw) return;
  g_raw = 0;
  WriteAll(g_term.out_fd, kReportsOff, sizeof kReportsOff - 1);
  def_prog_mode();
  endwin();
  tcsetattr(g_term.in_fd, TCSANOW, &g_term.saved);
}

void EndScreen() {
  GiveTerminalBack();
  if (g_term.screen) delscreen(g_term.screen);
  g_term.screen = nullptr;
  for (FILE* f : {g_term.in, g_term.out}) {
    if (f) fclose(f);
  }
  g_term.in = g_term.out = nullptr;
}

constexpr uint32_t kBasicColors[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                       0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

int Distance(uint32_t a, uint32_t b) {
  int d = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int x = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    d += x * x;
  }
  return d;
}

// Nearest colour of the xterm 256-colour palette (cube or grey ramp).
int Xterm256(uint32_t rgb) {
  const int r = static_cast<int>(rgb >> 16), g = static_cast<int>((rgb >> 8) & 0xFF), b = static_cast<int>(rgb & 0xFF);
  auto level = [](int v) { return v < 48 ? 0 : v < 115 ? 1 : (v - 35) / 40; };
  auto value = [](int l) { return static_cast<uint32_t>(l == 0 ? 0 : 55 + 40 * l); };
  const int lr = level(r), lg = level(g), lb = level(b);
  const int grey_level = std::clamp(((r + g + b) / 3 - 8 + 5) / 10, 0, 23);
  const auto grey = static_cast<uint32_t>(8 + 10 * grey_level);
  const uint32_t cube_rgb = (value(lr) << 16) | (value(lg) << 8) | value(lb);
  return Distance(rgb, grey * 0x010101u) < Distance(rgb, cube_rgb) ? 232 + grey_level : 16 + 36 * lr + 6 * lg + lb;
}

wchar_t Decode(const std::string& g) {
  const auto c = static_cast<unsigned char>(g[0]);
  if (c < 0x80 || g.size() < 2) return c < 0x80 ? c : L'?';
  uint32_t v = c & (0x3F >> (g.size() - 1));
  for (size_t i = 1; i < g.size(); ++i) v = (v << 6) | (static_cast<unsigned char>(g[i]) & 0x3F);
  return static_cast<wchar_t>(v);
}

TermInput Key(int32_t code, int32_t shift = 0) {
  TermInput in;
  in.key = code;
  in.shift = shift;
  return in;
}

// A key that also types a character (without Alt).
TermInput Typed(int32_t code, int32_t shift, std::string text) {
  TermInput in = Key(code, shift);
  if (!(shift & (kAltBit | kCtrlBit))) in.text = std::move(text);
  return in;
}

std::string Utf8(uint32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (cp >> 18));
    s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

void MouseInput(const MEVENT& ev, std::vector<TermInput>& out) {
  const mmask_t b = ev.bstate;
  TermInput in;
  in.col = ev.x;
  in.row = ev.y;
  in.shift =
      ((b & BUTTON_SHIFT) ? kShiftBit : 0) | ((b & BUTTON_ALT) ? kAltBit : 0) | ((b & BUTTON_CTRL) ? kCtrlBit : 0);
  const struct {
    mmask_t mask;
    TermInput::Type type;
    int16_t button;
  } buttons[] = {{BUTTON1_PRESSED, TermInput::Type::kMousePress, kLeftButton},
                 {BUTTON1_RELEASED, TermInput::Type::kMouseRelease, kLeftButton},
                 {BUTTON3_PRESSED, TermInput::Type::kMousePress, kRightButton},
                 {BUTTON3_RELEASED, TermInput::Type::kMouseRelease, kRightButton},
                 {BUTTON2_PRESSED, TermInput::Type::kMousePress, 4},
                 {BUTTON2_RELEASED, TermInput::Type::kMouseRelease, 4},
                 {REPORT_MOUSE_POSITION, TermInput::Type::kMouseMove, 0}};
  for (const auto& m : buttons) {
    if (b & m.mask) {
      in.type = m.type;
      in.button = m.button;
      out.push_back(in);
      return;
    }
  }
}

}  // namespace

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

int TerminalColor(uint32_t rgb, int colors) {
  if (rgb == Terminal::kDefaultColor || colors < 8) return -1;
  if (colors >= 0x1000000) return rgb < 8 ? 0 : static_cast<int>(rgb);  // below 8 are the basic colours
  if (colors >= 256) return Xterm256(rgb);
  const int n = colors >= 16 ? 16 : 8;
  int best = 0;
  for (int i = 1; i < n; ++i) {
    if (Distance(rgb, kBasicColors[i]) < Distance(rgb, kBasicColors[best])) best = i;
  }
  return best;
}

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

void SuspendTerminals() {
  if (g_term.suspended++ == 0) GiveTerminalBack();
}

void ResumeTerminals() {
  if (g_term.suspended == 0 || --g_term.suspended > 0) return;
  if (g_term.interactive_open > 0) TakeTerminal();
}

bool TerminalsSuspended() { return g_term.suspended > 0; }

Terminal::Terminal(int in_fd, int out_fd)
    : in_fd_(in_fd), out_fd_(out_fd), interactive_(isatty(in_fd) == 1 && isatty(out_fd) == 1) {}

Terminal::~Terminal() { Close(); }

void Terminal::Open() {
  if (open_) return;
  open_ = true;
  static const bool at_exit_registered = std::atexit(RestoreTerminalNow) == 0;
  (void)at_exit_registered;
  if (g_term.open++ == 0) InstallHandlers();
  if (!interactive_) return;
  if (g_term.interactive_open++ == 0) {
    g_term.in_fd = in_fd_;
    g_term.out_fd = out_fd_;
    tcgetattr(in_fd_, &g_term.saved);
    if (!g_term.suspended && !TakeTerminal()) output_broken_ = true;
  }
  Resized();
}

void Terminal::Close() {
  if (!open_) return;
  open_ = false;
  if (interactive_ && --g_term.interactive_open == 0) EndScreen();
  if (--g_term.open == 0) RemoveHandlers();
}

void Terminal::Resized() {
  winsize ws{};
  if (ioctl(out_fd_, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
    cols_ = ws.ws_col;
    rows_ = ws.ws_row;
  }
  if (g_term.screen && (cols_ != COLS || rows_ != LINES)) resize_term(rows_, cols_);
  Clear(true);
}

Terminal::Cell* Terminal::At(int col, int row) {
  if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return nullptr;
  return &cells_[static_cast<size_t>(row * cols_ + col)];
}

void Terminal::Clear(bool whole_screen) {
  cells_.assign(static_cast<size_t>(cols_ * rows_), Cell{});
  clear_ = clear_ || whole_screen;
}

void Terminal::Fill(int col, int row, int width, int height, uint32_t fg, uint32_t bg) {
  for (int r = row; r < row + height; ++r) {
    for (int c = col; c < col + width; ++c) {
      if (Cell* cell = At(c, r)) *cell = Cell{" ", fg, bg, false, false};
    }
  }
}

int Terminal::Text(int col, int row, const std::string& text, int width, uint32_t fg, bool bold, int underline) {
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

void Terminal::Frame(int col, int row, int width, int height, uint32_t fg) {
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

void Terminal::Set(int col, int row, const char* ch, uint32_t fg) {
  if (Cell* cell = At(col, row)) {
    cell->ch = ch;
    cell->fg = fg;
  }
}

void Terminal::Present() {
  if (!g_raw || !g_term.screen || output_broken_) return;
  const int colors = has_colors() ? COLORS : 0;
  for (int row = 0; row < rows_; ++row) {
    for (int col = 0; col < cols_; ++col) {
      const Cell& c = *At(col, row);
      const wchar_t text[2] = {Decode(c.ch), 0};
      int pair = colors ? std::max(0, alloc_pair(TerminalColor(c.fg, colors), TerminalColor(c.bg, colors))) : 0;
      cchar_t cc{};
      setcchar(&cc, text, (c.bold ? A_BOLD : A_NORMAL) | (c.underline ? A_UNDERLINE : A_NORMAL), 0, &pair);
      mvwadd_wch(stdscr, row, col, &cc);  // the last cell says ERR: the cursor cannot move on
    }
  }
  if (clear_) clearok(curscr, TRUE);
  clear_ = false;
  wnoutrefresh(stdscr);
  doupdate();
}

bool Terminal::Write(const std::string& text) {
  if (!output_broken_ && !WriteAll(out_fd_, text.data(), text.size())) output_broken_ = true;
  return !output_broken_;
}

void Terminal::Read(std::vector<TermInput>& out, bool* ended) {
  *ended = false;
  if (interactive_) {
    if (!g_raw) return;
    // Readable, yet nothing comes: the input is over.
    bool any = false;
    wint_t key = 0;
    for (int kind; (kind = wget_wch(stdscr, &key)) != ERR;) {
      any = true;
      CursesKey(kind, static_cast<unsigned>(key), out);
    }
    *ended = !any;
    return;
  }
  unsigned char c = 0;
  const ssize_t n = read(in_fd_, &c, 1);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (n <= 0) {
    Flush(out);
    *ended = true;
    return;
  }
  const bool after_esc = plain_esc_;
  plain_esc_ = false;
  if (after_esc && ((c >= 0x20 && c < 0x7f) || c == '\t' || c == '\r' || c == '\n')) {
    PlainByte(c, kAltBit, out);  // Alt sends ESC before the key
    return;
  }
  if (after_esc) out.push_back(Key(kKeyEscape));
  if (c == 0x1b) {
    plain_esc_ = true;
  } else {
    PlainByte(c, 0, out);
  }
}

void Terminal::Flush(std::vector<TermInput>& out) {
  if (plain_esc_) out.push_back(Key(kKeyEscape));
  plain_esc_ = false;
}

void Terminal::PlainByte(unsigned char c, int32_t shift, std::vector<TermInput>& out) {
  const bool lf_of_crlf = c == '\n' && after_cr_;
  after_cr_ = c == '\r';
  if (lf_of_crlf) return;
  if (c == '\t') {
    out.push_back(Key(kKeyTab, shift));
  } else if (c == '\r' || c == '\n') {
    out.push_back(Key(kKeyEnter, shift));
  } else if ((c == 0x03 || c == 0x04) && !shift) {
    out.push_back(TermInput{c == 0x03 ? TermInput::Type::kInterrupt : TermInput::Type::kEndOfInput});
  } else if (c == 0x08 || c == 0x7f) {
    out.push_back(Key(kKeyBack, shift));
  } else if (c >= 0x01 && c <= 0x1a) {
    out.push_back(Key('A' + (c - 1), shift | kCtrlBit));
  } else if (c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) {
    out.push_back(Typed(c, shift, std::string(1, static_cast<char>(c))));
  } else if (c >= 'a' && c <= 'z') {
    out.push_back(Typed(c - 'a' + 'A', shift, std::string(1, static_cast<char>(c))));
  } else if (c > 0x20 && c < 0x7f) {
    // No key the windows know, but a character for text fields.
    out.push_back(Typed(0, shift, std::string(1, static_cast<char>(c))));
  } else if (c >= 0x80 && !shift) {
    out.push_back(Typed(0, 0, std::string(1, static_cast<char>(c))));  // a byte of a UTF-8 character
  }
}

void Terminal::CursesKey(int kind, unsigned key, std::vector<TermInput>& out) {
  if (kind == OK) {
    if (key != 0x1b) {
      if (key < 0x80) {
        PlainByte(static_cast<unsigned char>(key), 0, out);
      } else {
        out.push_back(Typed(0, 0, Utf8(key)));  // an umlaut for a text field
      }
      return;
    }
    // ESC and what came with it: Alt with a key, or Escape alone.
    wint_t next = 0;
    const int next_kind = wget_wch(stdscr, &next);
    if (next_kind == OK && next != 0x1b && next < 0x7f && (next >= 0x20 || next == '\t' || next == '\r')) {
      PlainByte(static_cast<unsigned char>(next), kAltBit, out);
      return;
    }
    out.push_back(Key(kKeyEscape));
    if (next_kind != ERR) CursesKey(next_kind, static_cast<unsigned>(next), out);
    return;
  }
  after_cr_ = false;
  const int code = static_cast<int>(key);
  if (code == kFocusInCode || code == kFocusOutCode) {
    out.push_back(TermInput{code == kFocusInCode ? TermInput::Type::kFocusIn : TermInput::Type::kFocusOut});
  } else if (code == KEY_MOUSE) {
    // Reports that came together are queued; getmouse gives the newest first.
    std::vector<MEVENT> events;
    for (MEVENT ev{}; getmouse(&ev) == OK;) events.push_back(ev);
    for (auto ev = events.rbegin(); ev != events.rend(); ++ev) MouseInput(*ev, out);
  } else {
    const struct {
      int code;
      int32_t key;
      int32_t shift;
    } keys[] = {{KEY_UP, kKeyUp, 0},
                {KEY_DOWN, kKeyDown, 0},
                {KEY_LEFT, kKeyLeft, 0},
                {KEY_RIGHT, kKeyRight, 0},
                {KEY_HOME, kKeyHome, 0},
                {KEY_END, kKeyEnd, 0},
                {KEY_PPAGE, kKeyPageUp, 0},
                {KEY_NPAGE, kKeyPageDown, 0},
                {KEY_IC, kKeyInsert, 0},
                {KEY_DC, kKeyDelete, 0},
                {KEY_BACKSPACE, kKeyBack, 0},
                {KEY_ENTER, kKeyEnter, 0},
                {KEY_BTAB, kKeyTab, kShiftBit},
                {kMenuKeyCode, kKeyApps, 0}};
    for (const auto& k : keys) {
      if (k.code == code) {
        out.push_back(Key(k.key, k.shift));
        return;
      }
    }
    // F13 to F24 are the shifted F1 to F12.
    if (code >= KEY_F(1) && code <= KEY_F(24)) {
      const int n = code - KEY_F(1);
      out.push_back(Key(kKeyF1 + n % 12, n >= 12 ? kShiftBit : 0));
    }
  }
}

}  // namespace krv
