// POSIX only: turns the bytes a terminal sends into keys (Windows virtual-key
// codes with the shift bits of the start menu), SGR mouse reports and focus
// reports. Sequences may arrive in pieces; an ESC that nothing follows is
// the Escape key only once the caller's wait for the rest is over (Flush).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
  enum class Type {
    kKey,
    kMousePress,
    kMouseRelease,
    kMouseMove,
    kFocusIn,
    kFocusOut,
    kInterrupt,   // Ctrl+C
    kEndOfInput,  // Ctrl+D
  };
  Type type = Type::kKey;
  int32_t key = 0;     // kKey: virtual-key code
  int32_t shift = 0;   // kShiftBit, kCtrlBit, kAltBit
  int16_t button = 0;  // mouse: 1 left, 2 right, 4 middle; 0 for a move without a button
  int32_t col = 0;     // mouse: 0-based cell
  int32_t row = 0;

  bool operator==(const TermInput&) const = default;
};

class TerminalInputDecoder {
 public:
  // Appends what `bytes` complete to `out`; the start of an unfinished
  // sequence is kept for the next call.
  void Feed(std::string_view bytes, std::vector<TermInput>& out);
  // True while bytes wait for the rest of a sequence.
  bool Pending() const { return !buf_.empty(); }
  // The rest did not come: a lone ESC is Escape, ESC and a letter is Alt with
  // it, anything else unfinished is dropped.
  void Flush(std::vector<TermInput>& out);

  // Longest unfinished sequence kept; longer ones are garbage and dropped.
  static constexpr size_t kMaxSequence = 64;

 private:
  // Decode one input at the front of `s`; return the bytes used, 0 when the
  // front is unfinished.
  size_t DecodeOne(std::string_view s, std::vector<TermInput>& out);
  size_t DecodeEscape(std::string_view s, std::vector<TermInput>& out);
  size_t DecodeCsi(std::string_view s, std::vector<TermInput>& out);
  size_t DecodeSs3(std::string_view s, std::vector<TermInput>& out);
  void PlainByte(unsigned char c, int32_t extra_shift, std::vector<TermInput>& out);

  std::string buf_;
  bool after_cr_ = false;   // a LF right after a CR belongs to the same Enter
  int16_t x10_button_ = 0;  // the pressed button of the old mouse protocol
};

}  // namespace krv
