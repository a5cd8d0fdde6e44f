#include "platform/RegFile.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include "base/Text.h"

namespace krv {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
// regedit breaks a hex line once it reaches this column.
constexpr size_t kHexWrapColumn = 77;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsValidUtf8(std::string_view s) {
  // Decoding replaces every broken sequence, so a clean round trip means valid.
  for (unsigned char c : s) {
    if (c >= 0x80) return Utf16ToUtf8(Utf8ToUtf16(s)) == s;
  }
  return true;
}

std::string Utf16LeBytesToUtf8(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return Utf16ToUtf8(units);
}

void AppendUtf16Le(std::string_view utf8, std::vector<uint8_t>& out) {
  for (char16_t u : Utf8ToUtf16(utf8)) {
    out.push_back(static_cast<uint8_t>(u & 0xFF));
    out.push_back(static_cast<uint8_t>(u >> 8));
  }
}

// The file's text as UTF-8. Only a UTF-16LE BOM makes a file UTF-16;
// REGEDIT4 files are ANSI; other files are UTF-8 when they are valid UTF-8.
std::string DecodeFile(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return Utf16LeBytesToUtf8(bytes.substr(2));
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
  }
  if (TrimLeft(bytes).starts_with("REGEDIT")) return Cp1252ToUtf8(bytes);
  return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string JoinKeyPath(const std::vector<std::string>& parts) {
  std::string path;
  for (const std::string& part : parts) {
    if (!path.empty()) path += '\\';
    path += part;
  }
  return path;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses 1 to 8 hex digits making up all of `s`.
bool ParseHex32(std::string_view s, uint32_t* out) {
  if (s.empty() || s.size() > 8) return false;
  uint32_t v = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  *out = v;
  return true;
}

// Blanks, then the end of the line or a ';' comment.
bool RestIsEmpty(std::string_view rest) {
  rest = TrimLeft(rest);
  return rest.empty() || rest.front() == ';';
}

// Reads a quoted string starting at s[*pos] == '"', leaving *pos after the
// closing quote. \\ and \" are escapes, as are \r and \n; any other backslash
// stays as it is.
bool ParseQuoted(std::string_view s, size_t* pos, std::string* out) {
  out->clear();
  for (size_t i = *pos + 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      *pos = i + 1;
      return true;
    }
    if (c == '\\' && i + 1 < s.size()) {
      const char n = s[i + 1];
      if (n == '\\' || n == '"') {
        *out += n;
        ++i;
        continue;
      }
      if (n == 'r' || n == 'n') {
        *out += n == 'r' ? '\r' : '\n';
        ++i;
        continue;
      }
    }
    *out += c;
  }
  return false;
}

std::string TextFromBytes(const std::vector<uint8_t>& bytes, RegFormat format) {
  const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::string text = format == RegFormat::kUnicode5 ? Utf16LeBytesToUtf8(raw) : Cp1252ToUtf8(raw);
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

RegValue ValueFromHex(uint32_t type, std::vector<uint8_t> bytes, RegFormat format) {
  switch (type) {
    case kRegSz:
    case kRegExpandSz: {
      RegValue v;
      v.type = type;
      v.text = TextFromBytes(bytes, format);
      return v;
    }
    case kRegDword:
      if (bytes.size() == 4) {
        return RegValue::Dword(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24));
      }
      return RegValue::Raw(type, std::move(bytes));
    case kRegMultiSz: {
      if (format == RegFormat::kRegedit4) {
        const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        std::vector<uint8_t> wide;
        AppendUtf16Le(Cp1252ToUtf8(raw), wide);
        bytes = std::move(wide);
      }
      if (bytes.size() % 2) bytes.push_back(0);
      if (bytes.empty() || bytes[bytes.size() - 1] != 0 || bytes[bytes.size() - 2] != 0) {
        bytes.push_back(0);
        bytes.push_back(0);
      }
      return RegValue::Raw(type, std::move(bytes));
    }
    default:
      return RegValue::Raw(type, std::move(bytes));
  }
}

// Turns "01,02, 0a,\" style text (continuations already joined) into bytes.
bool ParseHexBytes(std::string_view s, std::vector<uint8_t>* out) {
  out->clear();
  s = TrimRight(TrimLeft(s));
  if (s.empty()) return true;
  size_t start = 0;
  while (start <= s.size()) {
    size_t comma = s.find(',', start);
    const bool last = comma == std::string_view::npos;
    if (last) comma = s.size();
    const std::string_view token = TrimRight(TrimLeft(s.substr(start, comma - start)));
    if (token.empty()) return last && start > 0;  // only a trailing comma may leave a gap
    if (token.size() > 2) return false;
    uint32_t byte = 0;
    if (!ParseHex32(token, &byte)) return false;
    out->push_back(static_cast<uint8_t>(byte));
    if (last) break;
    start = comma + 1;
  }
  return true;
}

enum class KeyState { kNone, kValid, kDeleted, kInvalid };

class Parser {
 public:
  Parser(RegFormat format, RegParseResult* result) : format_(format), result_(result) {}

  void Run(const std::vector<std::string_view>& lines) {
    for (size_t i = 1; i < lines.size(); ++i) {
      const int line_no = static_cast<int>(i) + 1;
      const std::string_view line = TrimLeft(lines[i]);
      if (line.empty() || line.front() == ';') continue;
      if (line.front() == '[') {
        KeyLine(line_no, line);
      } else if (line.front() == '"' || line.front() == '@') {
        i = ValueLine(lines, i);
      } else {
        Warn(line_no, "line not understood, ignored");
      }
    }
  }

 private:
  void Warn(int line_no, const std::string& reason) {
    result_->warnings.push_back("line " + std::to_string(line_no) + ": " + reason);
  }

  void KeyLine(int line_no, std::string_view line) {
    state_ = KeyState::kInvalid;
    const size_t close = line.rfind(']');
    if (close == std::string_view::npos || !RestIsEmpty(line.substr(close + 1))) {
      Warn(line_no, "key line without closing bracket, ignored");
      return;
    }
    std::string_view inner = line.substr(1, close - 1);
    const bool remove = inner.starts_with('-');
    if (remove) inner.remove_prefix(1);
    if (inner.empty() || IsBlank(inner.front())) {
      Warn(line_no, "blank at the start of a key name, key ignored");
      return;
    }
    const size_t slash = inner.find('\\');
    const std::string root(inner.substr(0, slash));
    Hive hive;
    if (!ParseHiveName(root, &hive)) {
      Warn(line_no, "unknown root key \"" + root + "\", key ignored");
      return;
    }
    const std::vector<std::string> parts =
        SplitKeyPath(slash == std::string_view::npos ? std::string() : std::string(inner.substr(slash + 1)));
    if (parts.size() > kMaxRegKeyDepth) {
      Warn(line_no, "key nested too deeply, ignored");
      return;
    }
    RegOp op;
    op.hive = hive;
    op.key = JoinKeyPath(parts);
    op.line = line_no;
    if (remove) {
      if (op.key.empty()) {
        Warn(line_no, "a root key cannot be deleted, ignored");
        return;
      }
      op.kind = RegOp::kDeleteTree;
      state_ = KeyState::kDeleted;
    } else {
      op.kind = RegOp::kCreateKey;
      state_ = KeyState::kValid;
      hive_ = hive;
      key_ = op.key;
    }
    result_->ops.push_back(std::move(op));
  }

  // Parses the value line at lines[i] and the continuation lines of its hex
  // data; returns the index of the last line consumed.
  size_t ValueLine(const std::vector<std::string_view>& lines, size_t i) {
    const int line_no = static_cast<int>(i) + 1;
    const std::string_view line = TrimLeft(lines[i]);
    RegOp op;
    op.line = line_no;
    size_t pos = 0;
    if (line.front() == '@') {
      pos = 1;
    } else if (!ParseQuoted(line, &pos, &op.name)) {
      Warn(line_no, "value name without closing quote, ignored");
      return i;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') {
      Warn(line_no, "'=' missing after the value name, ignored");
      return i;
    }
    ++pos;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    const std::string_view data = line.substr(pos);

    bool ok = false;
    if (data.starts_with('-')) {
      op.kind = RegOp::kDeleteValue;
      ok = RestIsEmpty(data.substr(1));
    } else if (data.starts_with('"')) {
      op.kind = RegOp::kSetValue;
      size_t end = 0;
      std::string text;
      ok = ParseQuoted(data, &end, &text) && RestIsEmpty(data.substr(end));
      op.value = RegValue::Sz(std::move(text));
    } else if (data.size() >= 6 && IEquals(data.substr(0, 6), "dword:")) {
      op.kind = RegOp::kSetValue;
      std::string_view digits = data.substr(6);
      const size_t comment = digits.find(';');
      if (comment != std::string_view::npos) digits = digits.substr(0, comment);
      uint32_t dword = 0;
      ok = ParseHex32(TrimRight(digits), &dword);
      op.value = RegValue::Dword(dword);
    } else if (data.size() >= 3 && IEquals(data.substr(0, 3), "hex")) {
      op.kind = RegOp::kSetValue;
      i = HexValue(lines, i, data.substr(3), &op, &ok);
      if (!ok) return i;  // HexValue has warned
    } else {
      Warn(line_no, "value data not understood, ignored");
      return i;
    }
    if (!ok) {
      Warn(line_no, "invalid value data, ignored");
      return i;
    }
    AddValueOp(std::move(op));
    return i;
  }

  size_t HexValue(const std::vector<std::string_view>& lines, size_t i, std::string_view rest, RegOp* op, bool* ok) {
    const int line_no = static_cast<int>(i) + 1;
    *ok = false;
    uint32_t type = kRegBinary;
    if (rest.starts_with('(')) {
      const size_t close = rest.find(')');
      if (close == std::string_view::npos || !ParseHex32(rest.substr(1, close - 1), &type)) {
        Warn(line_no, "invalid hex type, ignored");
        return i;
      }
      rest.remove_prefix(close + 1);
    }
    if (!rest.starts_with(':')) {
      Warn(line_no, "':' missing after hex, ignored");
      return i;
    }
    rest.remove_prefix(1);
    std::string joined;
    for (;;) {
      const size_t comment = rest.find(';');
      if (comment != std::string_view::npos) rest = rest.substr(0, comment);
      rest = TrimRight(rest);
      const bool more = rest.ends_with('\\');
      if (more) rest.remove_suffix(1);
      joined += rest;
      if (!more) break;
      // Blank and comment lines between continuation lines do not count.
      do {
        ++i;
      } while (i < lines.size() && (TrimLeft(lines[i]).empty() || TrimLeft(lines[i]).front() == ';'));
      if (i >= lines.size()) {
        Warn(line_no, "hex data continues past the end of the file, ignored");
        return i;
      }
      rest = TrimLeft(lines[i]);
      if (rest.front() == '"' || rest.front() == '@' || rest.front() == '[') {
        Warn(line_no, "hex data broken off by line " + std::to_string(i + 1) + ", both ignored");
        return i;
      }
    }
    std::vector<uint8_t> bytes;
    if (!ParseHexBytes(joined, &bytes)) {
      Warn(line_no, "invalid hex data, ignored");
      return i;
    }
    op->value = ValueFromHex(type, std::move(bytes), format_);
    *ok = true;
    return i;
  }

  void AddValueOp(RegOp op) {
    if (state_ == KeyState::kNone) {
      Warn(op.line, "value before the first key, ignored");
      return;
    }
    if (state_ != KeyState::kValid) return;  // below a deleted or refused key
    op.hive = hive_;
    op.key = key_;
    result_->ops.push_back(std::move(op));
  }

  RegFormat format_;
  RegParseResult* result_;
  KeyState state_ = KeyState::kNone;
  Hive hive_ = Hive::CurrentUser;
  std::string key_;
};

// --- Export ---

void AppendEscaped(std::string& out, std::string_view s) {
  for (char c : s) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
}

size_t Columns(std::string_view utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

// Appends "hex:..." or "hex(N):..." wrapped the way regedit wraps it; `column`
// is the length of the line so far.
void AppendHex(std::string& out, size_t column, uint32_t type, const std::vector<uint8_t>& bytes) {
  char prefix[24];
  if (type == kRegBinary) {
    std::snprintf(prefix, sizeof prefix, "hex:");
  } else {
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(type));
  }
  out += prefix;
  column += std::string_view(prefix).size();
  static const char kDigits[] = "0123456789abcdef";
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0xF];
    if (i + 1 == bytes.size()) break;
    out += ',';
    column += 3;
    if (column >= kHexWrapColumn) {
      out += "\\\r\n  ";
      column = 2;
    }
  }
}

std::vector<uint8_t> TextBytes(std::string_view text, RegFormat format) {
  std::vector<uint8_t> bytes;
  if (format == RegFormat::kUnicode5) {
    AppendUtf16Le(text, bytes);
    bytes.insert(bytes.end(), {0, 0});
  } else {
    const std::string ansi = Utf8ToCp1252(text);
    bytes.assign(ansi.begin(), ansi.end());
    bytes.push_back(0);
  }
  return bytes;
}

void AppendValueLine(std::string& out, const std::string& name, const RegValue& value, RegFormat format) {
  const size_t line_start = out.size();
  if (name.empty()) {
    out += '@';
  } else {
    out += '"';
    AppendEscaped(out, name);
    out += '"';
  }
  out += '=';
  const size_t column = Columns(std::string_view(out).substr(line_start));
  const bool text_type = value.type == kRegSz || value.type == kRegExpandSz;
  if (value.type == kRegSz && value.text.find('\0') == std::string::npos) {
    out += '"';
    AppendEscaped(out, value.text);
    out += '"';
  } else if (text_type) {
    AppendHex(out, column, value.type, TextBytes(value.text, format));
  } else if (value.type == kRegDword && value.data.empty()) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(value.dword));
    out += digits;
  } else if (value.type == kRegMultiSz && format == RegFormat::kRegedit4) {
    const std::string_view raw(reinterpret_cast<const char*>(value.data.data()), value.data.size());
    const std::string ansi = Utf8ToCp1252(Utf16LeBytesToUtf8(raw));
    AppendHex(out, column, value.type, std::vector<uint8_t>(ansi.begin(), ansi.end()));
  } else {
    AppendHex(out, column, value.type, value.data);
  }
  out += "\r\n";
}

void AppendKey(std::string& out, const std::string& path, const RegKey& key, RegFormat format) {
  out += "\r\n[";
  out += path;
  out += "]\r\n";
  for (const auto& [name, value] : key.values()) AppendValueLine(out, name, value, format);
  // Subkeys in the order Windows enumerates them: by upper-cased name.
  std::vector<std::pair<std::string, const RegKey*>> children;
  children.reserve(key.children().size());
  for (const auto& child : key.children()) children.emplace_back(UpperCase(child->name()), child.get());
  std::sort(children.begin(), children.end());
  for (const auto& [folded, child] : children) AppendKey(out, path + "\\" + child->name(), *child, format);
}

}  // namespace

bool ParseRegFile(std::string_view bytes, RegParseResult* result, std::string* err) {
  result->ops.clear();
  result->warnings.clear();
  const std::string text = DecodeFile(bytes);
  const std::vector<std::string_view> lines = SplitLines(text);
  const std::string_view header = TrimRight(TrimLeft(lines.front()));
  RegFormat format;
  if (header == kHeader4) {
    format = RegFormat::kRegedit4;
  } else if (header == kHeader5) {
    format = RegFormat::kUnicode5;
  } else if (header.starts_with("REGEDIT") || header.starts_with("Windows Registry Editor Version ")) {
    result->warnings.push_back("line 1: unknown format version \"" + std::string(header) + "\", nothing imported");
    return true;
  } else {
    if (err) {
      *err = text.empty() ? std::string("empty file, not a registry file")
                          : "not a registry file: the first line must be \"" + std::string(kHeader5) + "\" or \"" +
                                std::string(kHeader4) + "\"";
    }
    return false;
  }
  Parser(format, result).Run(lines);
  return true;
}

bool ApplyRegOps(Registry& registry, const std::vector<RegOp>& ops, std::string* err) {
  if (auto* target = dynamic_cast<RegOpsTarget*>(&registry)) {
    return target->ApplyRegOpsAtOnce(ops, err) == RegStatus::kOk;
  }
  for (const RegOp& op : ops) {
    std::string why;
    RegStatus status = RegStatus::kOk;
    switch (op.kind) {
      case RegOp::kCreateKey:
        status = registry.CreateKey(op.hive, op.key, &why);
        break;
      case RegOp::kDeleteTree:
        status = registry.DeleteKeyTree(op.hive, op.key, &why);
        break;
      case RegOp::kSetValue:
        status = registry.WriteValue(op.hive, op.key, op.name, op.value, &why);
        break;
      case RegOp::kDeleteValue:
        status = registry.DeleteValue(op.hive, op.key, op.name, &why);
        break;
    }
    if (status != RegStatus::kOk && status != RegStatus::kNotFound) {
      if (err) *err = "line " + std::to_string(op.line) + ": " + why;
      return false;
    }
  }
  return true;
}

void ApplyRegOps(RegTree& tree, Hive hive, const std::vector<RegOp>& ops) {
  for (const RegOp& op : ops) {
    if (op.hive != hive) continue;
    switch (op.kind) {
      case RegOp::kCreateKey:
        tree.Create(op.key);
        break;
      case RegOp::kDeleteTree:
        tree.Delete(op.key);
        break;
      case RegOp::kSetValue:
        regtree_ops::WriteValue(tree, op.key, op.name, op.value);
        break;
      case RegOp::kDeleteValue:
        regtree_ops::DeleteValue(tree, op.key, op.name);
        break;
    }
  }
}

std::string ExportRegText(Hive hive, const std::string& key_path, const RegKey& key, RegFormat format) {
  std::string out(format == RegFormat::kUnicode5 ? kHeader5 : kHeader4);
  out += "\r\n";
  const std::string path = JoinKeyPath(SplitKeyPath(key_path));
  AppendKey(out, path.empty() ? std::string(HiveName(hive)) : std::string(HiveName(hive)) + "\\" + path, key, format);
  out += "\r\n";
  return out;
}

std::string EncodeRegFile(const std::string& utf8_text, RegFormat format) {
  if (format == RegFormat::kRegedit4) return Utf8ToCp1252(utf8_text);
  const std::u16string units = Utf8ToUtf16(utf8_text);
  std::string bytes;
  bytes.reserve(2 + 2 * units.size());
  bytes += "\xFF\xFE";
  for (char16_t u : units) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  return bytes;
}

RegValue NormalizeRegValue(const RegValue& value) {
  switch (value.type) {
    case kRegSz:
    case kRegExpandSz: {
      RegValue v;
      v.type = value.type;
      v.text = IsValidUtf8(value.text) ? value.text : Utf16ToUtf8(Utf8ToUtf16(value.text));
      return v;
    }
    case kRegDword:
      return value.data.empty() ? RegValue::Dword(value.dword)
                                : ValueFromHex(kRegDword, value.data, RegFormat::kUnicode5);
    default:
      return ValueFromHex(value.type, value.data, RegFormat::kUnicode5);
  }
}

bool RegKeyPathStorable(const std::string& key, std::string* why) {
  if (key.find('\n') != std::string::npos) {
    if (why) *why = "key name with a line break";
    return false;
  }
  if (SplitKeyPath(key).size() > kMaxRegKeyDepth) {
    if (why) *why = "key nested deeper than " + std::to_string(kMaxRegKeyDepth) + " levels";
    return false;
  }
  return true;
}

}  // namespace krv
