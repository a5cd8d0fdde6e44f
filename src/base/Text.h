// Text helpers shared by core and platform code. Strings are UTF-8; letter
// case is folded for ASCII and the German letters Ä, Ö, Ü.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace krv {

std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);
bool IEquals(std::string_view a, std::string_view b);
bool IStartsWith(std::string_view s, std::string_view prefix);
bool IEndsWith(std::string_view s, std::string_view suffix);
// Position of the first/last case-insensitive match, or npos.
size_t IFind(std::string_view hay, std::string_view needle, size_t from = 0);
size_t IFindLast(std::string_view hay, std::string_view needle);

enum class TrimEnds { kBoth, kLeft, kRight };
// `s` without the characters of `blanks` at the chosen ends.
std::string_view Trim(std::string_view s, std::string_view blanks = " \t", TrimEnds ends = TrimEnds::kBoth);

// The number a settings text stands for, as the settings have always been
// read: blanks around it, a sign, digits with one decimal point or comma, an
// exponent, or "&H" hexadecimal and "&O" octal. nullopt when not numeric.
std::optional<double> NumericValue(std::string_view text);

// Invalid UTF-8 bytes become U+FFFD; unpaired surrogates likewise.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);
// Windows-1252, the ANSI code page of German Windows.
std::string Cp1252ToUtf8(std::string_view s);
// Characters without a Windows-1252 form become '?'.
std::string Utf8ToCp1252(std::string_view s);

}  // namespace krv
