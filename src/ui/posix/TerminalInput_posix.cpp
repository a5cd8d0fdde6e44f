// POSIX only: decoder of terminal input (xterm, VT220 and Linux console forms).
#include "ui/posix/TerminalInput_posix.h"

#include <algorithm>

#include "ui/MenuView.h"

namespace krv {
namespace {

constexpr unsigned char kEsc = 0x1b;

bool IsParamByte(unsigned char c) { return c >= 0x20 && c <= 0x3f; }
bool IsFinalByte(unsigned char c) { return c >= 0x40 && c <= 0x7e; }

TermInput Key(int32_t code, int32_t shift = 0) {
  TermInput in;
  in.key = code;
  in.shift = shift;
  return in;
}

// Numbers of a parameter string such as "1;2" or "<0;10;5"; an empty field is 0.
std::vector<int32_t> Params(std::string_view text) {
  std::vector<int32_t> out(1, 0);
  for (const char c : text) {
    if (c == ';') {
      out.push_back(0);
    } else if (c >= '0' && c <= '9' && out.back() < 100000) {
      out.back() = out.back() * 10 + (c - '0');
    }
  }
  return out;
}

// The xterm modifier parameter (1 + shift 1, alt 2, ctrl 4, meta 8) as shift bits.
int32_t Modifiers(const std::vector<int32_t>& params) {
  if (params.size() < 2 || params[1] < 2) return 0;
  const int32_t m = params[1] - 1;
  return ((m & 1) ? kShiftBit : 0) | ((m & (2 | 8)) ? kAltBit : 0) | ((m & 4) ? kCtrlBit : 0);
}

// Cursor and editing keys by their final letter (CSI or SS3); 0 if none.
int32_t LetterKey(unsigned char final) {
  switch (final) {
    case 'A':
      return kKeyUp;
    case 'B':
      return kKeyDown;
    case 'C':
      return kKeyRight;
    case 'D':
      return kKeyLeft;
    case 'H':
      return kKeyHome;
    case 'F':
      return kKeyEnd;
    case 'P':
    case 'Q':
    case 'R':
    case 'S':
      return kKeyF1 + (final - 'P');
    default:
      return 0;
  }
}

// Keys of the VT220 form CSI n ~; 0 if none.
int32_t TildeKey(int32_t n) {
  switch (n) {
    case 1:
    case 7:
      return kKeyHome;
    case 2:
      return kKeyInsert;
    case 3:
      return kKeyDelete;
    case 4:
    case 8:
      return kKeyEnd;
    case 5:
      return kKeyPageUp;
    case 6:
      return kKeyPageDown;
    case 29:
      return kKeyApps;
    default:
      break;
  }
  if (n >= 11 && n <= 15) return kKeyF1 + (n - 11);
  if (n >= 17 && n <= 21) return kKeyF1 + 5 + (n - 17);
  if (n == 23 || n == 24) return kKeyF1 + 10 + (n - 23);
  return 0;
}

// Button number of the mouse protocols' low two bits (0 left, 1 middle, 2 right).
int16_t MouseButton(int32_t low) { return low == 0 ? kLeftButton : low == 1 ? int16_t{4} : kRightButton; }

int32_t MouseShift(int32_t b) {
  return ((b & 4) ? kShiftBit : 0) | ((b & 8) ? kAltBit : 0) | ((b & 16) ? kCtrlBit : 0);
}

}  // namespace

void TerminalInputDecoder::Feed(std::string_view bytes, std::vector<TermInput>& out) {
  buf_.append(bytes);
  size_t used = 0;
  while (used < buf_.size()) {
    const size_t n = DecodeOne(std::string_view(buf_).substr(used), out);
    if (n == 0) break;
    used += n;
  }
  buf_.erase(0, used);
}

void TerminalInputDecoder::Flush(std::vector<TermInput>& out) {
  if (buf_.size() == 1 && static_cast<unsigned char>(buf_[0]) == kEsc) {
    out.push_back(Key(kKeyEscape));
  } else if (buf_.size() == 2 && static_cast<unsigned char>(buf_[0]) == kEsc && buf_[1] == 'O') {
    PlainByte('O', kAltBit, out);  // Alt+O, not the start of an SS3 key
  }
  buf_.clear();
}

size_t TerminalInputDecoder::DecodeOne(std::string_view s, std::vector<TermInput>& out) {
  const auto c = static_cast<unsigned char>(s[0]);
  if (c == kEsc) {
    const bool cr = after_cr_;
    after_cr_ = false;
    const size_t n = DecodeEscape(s, out);
    if (n == 0) after_cr_ = cr;
    return n;
  }
  if (c >= 0x80) {
    // A UTF-8 character has no key code here: skip it whole.
    after_cr_ = false;
    const size_t need = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : c >= 0xc0 ? 2 : 1;
    size_t n = 1;
    while (n < need && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xc0) == 0x80) ++n;
    return (n < need && n == s.size()) ? 0 : n;
  }
  PlainByte(c, 0, out);
  return 1;
}

void TerminalInputDecoder::PlainByte(unsigned char c, int32_t extra_shift, std::vector<TermInput>& out) {
  const bool lf_of_crlf = c == '\n' && after_cr_;
  after_cr_ = c == '\r';
  if (lf_of_crlf) return;
  if (c == '\t') {
    out.push_back(Key(kKeyTab, extra_shift));
  } else if (c == '\r' || c == '\n') {
    out.push_back(Key(kKeyEnter, extra_shift));
  } else if (c == 0x03 && !extra_shift) {
    out.push_back(TermInput{TermInput::Type::kInterrupt});
  } else if (c == 0x04 && !extra_shift) {
    out.push_back(TermInput{TermInput::Type::kEndOfInput});
  } else if (c == 0x08 || c == 0x7f) {
    out.push_back(Key(kKeyBack, extra_shift));
  } else if (c >= 0x01 && c <= 0x1a) {
    out.push_back(Key('A' + (c - 1), extra_shift | kCtrlBit));
  } else if (c == ' ' || (c >= '0' && c <= '9')) {
    out.push_back(Key(c, extra_shift));
  } else if (c >= 'a' && c <= 'z') {
    out.push_back(Key(c - 'a' + 'A', extra_shift));
  } else if (c >= 'A' && c <= 'Z') {
    out.push_back(Key(c, extra_shift));
  }
  // Other characters have no key the menu knows.
}

size_t TerminalInputDecoder::DecodeEscape(std::string_view s, std::vector<TermInput>& out) {
  if (s.size() < 2) return 0;
  const auto c1 = static_cast<unsigned char>(s[1]);
  if (c1 == '[') return DecodeCsi(s, out);
  if (c1 == 'O') return DecodeSs3(s, out);
  if ((c1 >= 0x20 && c1 <= 0x7f) || c1 == '\t' || c1 == '\r' || c1 == '\n') {
    PlainByte(c1, kAltBit, out);  // Alt sends ESC before the key
    return 2;
  }
  out.push_back(Key(kKeyEscape));  // ESC ESC, ESC Ctrl+key: the first is Escape
  return 1;
}

size_t TerminalInputDecoder::DecodeCsi(std::string_view s, std::vector<TermInput>& out) {
  if (s.size() < 3) return 0;
  const auto c2 = static_cast<unsigned char>(s[2]);
  if (c2 == '[') {  // Linux console F1 to F5: ESC [ [ A..E
    if (s.size() < 4) return 0;
    const auto f = static_cast<unsigned char>(s[3]);
    if (f >= 'A' && f <= 'E') out.push_back(Key(kKeyF1 + (f - 'A')));
    return 4;
  }
  if (c2 == 'M') {  // old mouse protocol: ESC [ M button col row, each + 32
    if (s.size() < 6) return 0;
    const int32_t b = static_cast<unsigned char>(s[3]) - 32;
    TermInput in;
    in.col = std::max(0, static_cast<unsigned char>(s[4]) - 33);
    in.row = std::max(0, static_cast<unsigned char>(s[5]) - 33);
    in.shift = MouseShift(b);
    if (b < 0 || (b & 64)) return 6;  // wheel
    if (b & 32) {
      in.type = TermInput::Type::kMouseMove;
      in.button = (b & 3) == 3 ? int16_t{0} : MouseButton(b & 3);
    } else if ((b & 3) == 3) {
      if (!x10_button_) return 6;
      in.type = TermInput::Type::kMouseRelease;
      in.button = x10_button_;
      x10_button_ = 0;
    } else {
      in.type = TermInput::Type::kMousePress;
      in.button = x10_button_ = MouseButton(b & 3);
    }
    out.push_back(in);
    return 6;
  }
  size_t i = 2;
  while (i < s.size() && i < kMaxSequence && IsParamByte(static_cast<unsigned char>(s[i]))) ++i;
  if (i >= kMaxSequence) return i;  // no terminal sends this much: garbage
  if (i == s.size()) return 0;
  const auto final = static_cast<unsigned char>(s[i]);
  if (!IsFinalByte(final)) return final == kEsc ? i : i + 1;  // broken off: drop it
  const std::string_view params_text = s.substr(2, i - 2);
  const std::vector<int32_t> p = Params(params_text);
  const size_t used = i + 1;

  if (!params_text.empty() && params_text[0] == '<') {  // SGR mouse report
    if (p.size() != 3 || (final != 'M' && final != 'm')) return used;
    const int32_t b = p[0];
    if (b & (64 | 128)) return used;  // wheel and extra buttons
    TermInput in;
    in.col = std::max(0, p[1] - 1);
    in.row = std::max(0, p[2] - 1);
    in.shift = MouseShift(b);
    if (b & 32) {
      in.type = TermInput::Type::kMouseMove;
      in.button = (b & 3) == 3 ? int16_t{0} : MouseButton(b & 3);
    } else {
      if ((b & 3) == 3) return used;
      in.type = final == 'M' ? TermInput::Type::kMousePress : TermInput::Type::kMouseRelease;
      in.button = MouseButton(b & 3);
    }
    out.push_back(in);
    return used;
  }
  if (params_text.empty() && (final == 'I' || final == 'O')) {
    out.push_back(TermInput{final == 'I' ? TermInput::Type::kFocusIn : TermInput::Type::kFocusOut});
    return used;
  }
  if (!params_text.empty() && !(params_text[0] >= '0' && params_text[0] <= ';')) return used;  // private forms
  if (final == 'Z') {
    out.push_back(Key(kKeyTab, kShiftBit | Modifiers(p)));
  } else if (final == '~') {
    if (const int32_t key = TildeKey(p[0])) out.push_back(Key(key, Modifiers(p)));
  } else if (const int32_t key = LetterKey(final)) {
    out.push_back(Key(key, Modifiers(p)));
  }
  return used;
}

size_t TerminalInputDecoder::DecodeSs3(std::string_view s, std::vector<TermInput>& out) {
  size_t i = 2;
  while (i < s.size() && i < 5 && ((s[i] >= '0' && s[i] <= '9') || s[i] == ';')) ++i;
  if (i == s.size()) return 0;
  const auto final = static_cast<unsigned char>(s[i]);
  if (!IsFinalByte(final) || i == 5) {
    PlainByte('O', kAltBit, out);  // Alt+O and whatever follows it
    return 2;
  }
  // Some terminals put the modifier in front of the final: ESC O 2 Q.
  const std::vector<int32_t> p = Params(s.substr(2, i - 2));
  const int32_t shift = p.size() >= 2 ? Modifiers(p) : Modifiers({1, p[0]});
  if (final == 'M') {
    out.push_back(Key(kKeyEnter, shift));
  } else if (const int32_t key = LetterKey(final)) {
    out.push_back(Key(key, shift));
  }
  return i + 1;
}

}  // namespace krv
