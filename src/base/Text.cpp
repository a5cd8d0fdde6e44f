#include "base/Text.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace krv {
namespace {

// Decodes one code point at s[i], advancing i. Invalid sequences yield U+FFFD.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int extra = 0;
  char32_t cp = 0;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    cp = b0 & 0x07;
  } else {
    return 0xFFFD;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
  }
  static const char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
  return cp;
}

void EncodeUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The upper half of Windows-1252; 0 marks the five unassigned bytes.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t FoldLower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c == 0xC4 || c == 0xD6 || c == 0xDC) return c + 32;  // Ä Ö Ü
  return c;
}

char32_t FoldUpper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c == 0xE4 || c == 0xF6 || c == 0xFC) return c - 32;  // ä ö ü
  return c;
}

template <typename F>
std::string MapCodePoints(std::string_view s, F f) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out += static_cast<char>(f(b));
      ++i;
      continue;
    }
    const size_t start = i;
    const char32_t cp = DecodeUtf8(s, i);
    if (cp == 0xFFFD) {
      out.append(s.substr(start, i - start));  // keep bytes we cannot read
    } else {
      EncodeUtf8(f(cp), out);
    }
  }
  return out;
}

}  // namespace

std::string LowerCase(std::string_view s) { return MapCodePoints(s, FoldLower); }
std::string UpperCase(std::string_view s) { return MapCodePoints(s, FoldUpper); }

bool IEquals(std::string_view a, std::string_view b) { return LowerCase(a) == LowerCase(b); }

bool IStartsWith(std::string_view s, std::string_view prefix) { return LowerCase(s).starts_with(LowerCase(prefix)); }

bool IEndsWith(std::string_view s, std::string_view suffix) { return LowerCase(s).ends_with(LowerCase(suffix)); }

// Folding keeps byte lengths (ASCII to ASCII, two-byte umlauts to two-byte
// umlauts), so positions in the folded text are positions in the original.
size_t IFind(std::string_view hay, std::string_view needle, size_t from) {
  return LowerCase(hay).find(LowerCase(needle), from);
}

size_t IFindLast(std::string_view hay, std::string_view needle) { return LowerCase(hay).rfind(LowerCase(needle)); }

std::string_view Trim(std::string_view s, std::string_view blanks, TrimEnds ends) {
  if (ends != TrimEnds::kRight) s.remove_prefix(std::min(s.find_first_not_of(blanks), s.size()));
  if (ends != TrimEnds::kLeft) s.remove_suffix(s.size() - (s.find_last_not_of(blanks) + 1));
  return s;
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char32_t cp = DecodeUtf8(s, i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    EncodeUtf8(c, out);
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s) {
    const auto b = static_cast<unsigned char>(ch);
    char32_t cp = b;
    if (b >= 0x80 && b < 0xA0) cp = kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : b;
    EncodeUtf8(cp, out);
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const char32_t cp = DecodeUtf8(s, i);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kCp1252High[k] == cp) mapped = static_cast<char>(0x80 + k);
    }
    out += mapped;
  }
  return out;
}

}  // namespace krv

namespace krv {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<double> RadixValue(std::string_view digits, int radix) {
  if (digits.empty() || digits.size() > 16) return std::nullopt;
  double value = 0;
  for (char c : digits) {
    int d = -1;
    if (IsDigit(c)) d = c - '0';
    if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0 || d >= radix) return std::nullopt;
    value = value * radix + d;
  }
  return value;
}

}  // namespace

std::optional<double> NumericValue(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  if (text.size() > 2 && text[0] == '&') {
    const char kind = text[1];
    if (kind == 'H' || kind == 'h') return RadixValue(text.substr(2), 16);
    if (kind == 'O' || kind == 'o') return RadixValue(text.substr(2), 8);
    return std::nullopt;
  }
  std::string plain;  // sign, digits, '.', exponent: what strtod takes in the C locale
  size_t i = 0;
  if (text[i] == '+' || text[i] == '-') plain += text[i++];
  size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      plain += c;
      ++digits;
    } else if ((c == '.' || c == ',') && !point) {
      plain += '.';
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    size_t exp_digits = 0;
    for (; i < text.size() && IsDigit(text[i]) && exp_digits < 4; ++i, ++exp_digits) plain += text[i];
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  return std::strtod(plain.c_str(), nullptr);
}

}  // namespace krv
