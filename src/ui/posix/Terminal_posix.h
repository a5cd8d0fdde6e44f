// POSIX only: the terminal every terminal window of the process shares,
// standing on ncurses. While a window holds it open the terminal is in raw
// mode on the alternate screen with mouse and focus reports on; it is given
// back as it was found when the last window lets go, when the process exits
// and on SIGTERM, SIGHUP and SIGINT. Windows draw on a canvas of cells that
// Present() hands to ncurses. Without a terminal on both sides it is the
// plain-line mode: text goes out as written and keys are plain bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/MenuView.h"

namespace krv {

// Virtual-key codes beyond the menu's own keys that the terminal can report.
enum TerminalKey : int32_t {
  kKeyBack = 8,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyEnd = 35,
  kKeyHome = 36,
  kKeyLeft = 37,
  kKeyRight = 39,
  kKeyInsert = 45,
  kKeyDelete = 46,
  kKeyApps = 93,  // the context-menu key
  kKeyF1 = 112,
  kKeyF2 = 113,
  kKeyF10 = 121,
  kKeyF12 = 123,
};

struct TermInput {
  enum class Type { kKey, kMousePress, kMouseRelease, kMouseMove, kFocusIn, kFocusOut, kInterrupt, kEndOfInput };
  Type type = Type::kKey;
  int32_t key = 0;     // kKey: virtual-key code
  int32_t shift = 0;   // kShiftBit, kCtrlBit, kAltBit
  int16_t button = 0;  // mouse: 1 left, 2 right, 4 middle; 0 for a move without a button
  int32_t col = 0;     // mouse: 0-based cell
  int32_t row = 0;
  std::string text = {};  // kKey: the character typed (UTF-8), for text fields; "" for other keys
  bool operator==(const TermInput&) const = default;
};

// The colour number for 0xRRGGBB on a terminal with `colors` colours: the
// value itself on a direct-colour terminal, the nearest of the xterm palette
// on 256, of the 16 or 8 basic ones below; -1 (the terminal's own) on none.
int TerminalColor(uint32_t rgb, int colors);

// UTF-8 characters of `text` (each one cell wide here).
std::vector<std::string> Glyphs(const std::string& text);

// Signals that arrived while a terminal was open: the read end of a pipe that
// becomes readable on each, and what it said since the last call.
struct TerminalSignals {
  bool resized = false;
  int close_signal = 0;  // SIGINT, SIGHUP or SIGTERM; 0 if none
};
int TerminalSignalFd();
TerminalSignals TakeTerminalSignals();

// While something else talks to the user on the terminal (a message box),
// open terminals give up their state: cooked mode, main screen, cursor shown,
// no reports. Resume takes it back; windows redraw. Nested calls count.
void SuspendTerminals();
void ResumeTerminals();
bool TerminalsSuspended();

class Terminal {
 public:
  static constexpr uint32_t kDefaultColor = 0xFF000000u;  // the terminal's own

  Terminal(int in_fd, int out_fd);
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  // Both sides are terminals: drawn, raw mode; otherwise plain lines.
  bool interactive() const { return interactive_; }
  int in_fd() const { return in_fd_; }
  void Open();
  void Close();
  int cols() const { return cols_; }
  int rows() const { return rows_; }
  // Takes the terminal's size after SIGWINCH.
  void Resized();

  // The canvas. Text writes at most `width` cells and keeps the paper.
  void Clear(bool whole_screen);
  void Fill(int col, int row, int width, int height, uint32_t fg, uint32_t bg);
  int Text(int col, int row, const std::string& text, int width, uint32_t fg, bool bold = false, int underline = -1);
  void Frame(int col, int row, int width, int height, uint32_t fg);
  void Set(int col, int row, const char* ch, uint32_t fg);
  void Present();

  // Plain mode: writes `text` as it is; false once the output is gone.
  bool Write(const std::string& text);

  // Decodes the input that is there; `ended` when the input is over or the
  // terminal hung up. Plain mode reads one byte, so a message box reading
  // the same input afterwards gets every byte the window did not use.
  void Read(std::vector<TermInput>& out, bool* ended);
  // Plain mode: a lone ESC waits for the rest; Flush makes it Escape.
  bool Pending() const { return plain_esc_; }
  void Flush(std::vector<TermInput>& out);

 private:
  struct Cell {
    std::string ch = " ";
    uint32_t fg = kDefaultColor;
    uint32_t bg = kDefaultColor;
    bool bold = false;
    bool underline = false;
  };
  Cell* At(int col, int row);
  void PlainByte(unsigned char c, int32_t shift, std::vector<TermInput>& out);
  void CursesKey(int kind, unsigned key, std::vector<TermInput>& out);

  const int in_fd_;
  const int out_fd_;
  const bool interactive_;
  bool open_ = false;
  bool output_broken_ = false;
  int cols_ = 80;
  int rows_ = 24;
  std::vector<Cell> cells_;
  bool clear_ = false;
  bool plain_esc_ = false;
  bool after_cr_ = false;  // a LF right after a CR belongs to the same Enter
};

}  // namespace krv
