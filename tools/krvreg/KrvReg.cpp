#include "krvreg/KrvReg.h"

#include <cinttypes>
#include <cstdio>
#include <istream>
#include <ostream>

#include "base/Text.h"
#include "krvreg/KrvRegArgs.h"
#include "krvreg/KrvRegFiles.h"
#include "platform/RegFile.h"

namespace krv {
namespace {

// reg.exe's own texts.
constexpr char kDone[] = "The operation completed successfully.";
constexpr char kCanceled[] = "The operation was canceled by the user.";
constexpr char kNotFound[] = "ERROR: The system was unable to find the specified registry key or value.";
constexpr char kDenied[] = "ERROR: Access is denied.";
constexpr char kRegistryError[] = "ERROR: Error accessing the registry.";
constexpr char kFileError[] = "ERROR: Error opening the file. There may be a disk or file system error.";
constexpr char kBadNumber[] = "ERROR: Invalid syntax. Specify valid numeric value.";
constexpr char kIndent[] = "    ";

const char* TypeName(uint32_t type) {
  switch (type) {
    case kRegNone:
      return "REG_NONE";
    case kRegSz:
      return "REG_SZ";
    case kRegExpandSz:
      return "REG_EXPAND_SZ";
    case kRegBinary:
      return "REG_BINARY";
    case kRegDword:
      return "REG_DWORD";
    case 5:
      return "REG_DWORD_BIG_ENDIAN";
    case 6:
      return "REG_LINK";
    case kRegMultiSz:
      return "REG_MULTI_SZ";
    case 8:
      return "REG_RESOURCE_LIST";
    case 9:
      return "REG_FULL_RESOURCE_DESCRIPTOR";
    case 10:
      return "REG_RESOURCE_REQUIREMENTS_LIST";
    case kRegQword:
      return "REG_QWORD";
    default:
      return "REG_UNKNOWN";
  }
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (uint8_t b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0xF];
  }
  return hex;
}

// REG_MULTI_SZ strings joined by "\0", as reg.exe shows them.
std::string MultiSzText(const std::vector<uint8_t>& bytes) {
  std::u16string all;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) all += char16_t(bytes[i] | (bytes[i + 1] << 8));
  while (!all.empty() && all.back() == u'\0') all.pop_back();
  std::string text;
  size_t start = 0;
  for (size_t end; (end = all.find(u'\0', start)) != std::u16string::npos; start = end + 1) {
    text += Utf16ToUtf8(std::u16string_view(all).substr(start, end - start)) + "\\0";
  }
  return text + Utf16ToUtf8(std::u16string_view(all).substr(start));
}

std::string DataText(const RegValue& v) {
  char number[32];
  switch (v.type) {
    case kRegSz:
    case kRegExpandSz:
      return v.text;
    case kRegDword:
      if (!v.data.empty()) break;
      std::snprintf(number, sizeof number, "0x%" PRIx32, v.dword);
      return number;
    case kRegQword:
      if (v.data.size() != 8) break;
      {
        uint64_t q = 0;
        for (int i = 7; i >= 0; --i) q = (q << 8) | v.data[i];
        std::snprintf(number, sizeof number, "0x%" PRIx64, q);
      }
      return number;
    case kRegMultiSz:
      return MultiSzText(v.data);
  }
  return HexBytes(v.data);
}

std::string DisplayName(const std::string& name) { return name.empty() ? "(Default)" : name; }

std::string ValueLine(const std::string& name, const RegValue& v) {
  return kIndent + DisplayName(name) + kIndent + TypeName(v.type) + kIndent + DataText(v);
}

// Decimal or 0x-hexadecimal, as reg.exe takes a REG_DWORD; nothing else.
bool ParseDword(const std::string& text, uint32_t* out) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > 10) return false;
  uint64_t n = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      d = c - 'A' + 10;
    } else {
      return false;
    }
    n = n * (hex ? 16 : 10) + d;
  }
  if (n > 0xFFFFFFFFull) return false;
  *out = static_cast<uint32_t>(n);
  return true;
}

class Session {
 public:
  Session(Registry& reg, std::istream& in, std::ostream& out, std::ostream& err)
      : reg_(reg), in_(in), out_(out), err_(err) {}

  int Run(const KrvRegCommand& cmd);

 private:
  int Query(const KrvRegCommand& cmd);
  int QueryValue(const KrvRegCommand& cmd);
  int Search(const KrvRegCommand& cmd);
  int Add(const KrvRegCommand& cmd);
  int Delete(const KrvRegCommand& cmd);
  int DeleteAllValues(const KrvRegCommand& cmd);
  int Import(const KrvRegCommand& cmd);
  int Export(const KrvRegCommand& cmd);

  // Prints the key line, its values and a blank line; with `always` false,
  // nothing for a key without values.
  void PrintKey(const KrvRegKey& key, bool always);
  void PrintTree(const KrvRegKey& key);
  int SearchTree(const KrvRegKey& key, const std::string& name);

  bool Ask(const std::string& question);
  // The value's name as stored, for output; `name` itself when missing.
  std::string StoredName(const KrvRegKey& key, const std::string& name);
  int Done() {
    out_ << kDone << "\n";
    return 0;
  }
  int Canceled() {
    out_ << kCanceled << "\n";
    return 1;
  }
  int Fail(const char* message, const std::string& detail = "") {
    err_ << message << "\n";
    if (!detail.empty()) err_ << detail << "\n";
    return 1;
  }
  int Fail(RegStatus status, const std::string& detail);

  Registry& reg_;
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
};

int Session::Run(const KrvRegCommand& cmd) {
  switch (cmd.op) {
    case KrvRegOp::kQuery:
      return Query(cmd);
    case KrvRegOp::kAdd:
      return Add(cmd);
    case KrvRegOp::kDelete:
      return Delete(cmd);
    case KrvRegOp::kImport:
      return Import(cmd);
    case KrvRegOp::kExport:
      return Export(cmd);
    case KrvRegOp::kNone:
      break;
  }
  return 1;
}

int Session::Fail(RegStatus status, const std::string& detail) {
  switch (status) {
    case RegStatus::kOk:
      return 0;
    case RegStatus::kNotFound:
      return Fail(kNotFound);
    case RegStatus::kDenied:
      return Fail(kDenied);
    case RegStatus::kFailed:
      break;
  }
  return Fail(kRegistryError, detail);
}

// Loops until the answer starts with Y or N; the end of input answers No, so a
// script without answers never changes anything it was not told to.
bool Session::Ask(const std::string& question) {
  for (;;) {
    out_ << question << " " << std::flush;
    std::string answer;
    if (!std::getline(in_, answer)) {
      out_ << "\n";
      return false;
    }
    const size_t first = answer.find_first_not_of(" \t\r");
    if (first == std::string::npos) continue;
    if (answer[first] == 'y' || answer[first] == 'Y') return true;
    if (answer[first] == 'n' || answer[first] == 'N') return false;
  }
}

std::string Session::StoredName(const KrvRegKey& key, const std::string& name) {
  for (const std::string& stored : reg_.ValueNames(key.hive, key.path)) {
    if (IEquals(stored, name)) return stored;
  }
  return name;
}

void Session::PrintKey(const KrvRegKey& key, bool always) {
  std::vector<std::string> lines;
  for (const std::string& name : reg_.ValueNames(key.hive, key.path)) {
    RegValue v;
    if (reg_.ReadValue(key.hive, key.path, name, &v, nullptr) == RegStatus::kOk) lines.push_back(ValueLine(name, v));
  }
  if (lines.empty() && !always) return;
  out_ << key.FullName() << "\n";
  for (const std::string& line : lines) out_ << line << "\n";
  out_ << "\n";
}

void Session::PrintTree(const KrvRegKey& key) {
  for (const std::string& sub : reg_.SubKeys(key.hive, key.path)) {
    const KrvRegKey child{key.hive, key.Child(sub)};
    PrintKey(child, true);
    PrintTree(child);
  }
}

int Session::Query(const KrvRegCommand& cmd) {
  if (!reg_.KeyExists(cmd.key.hive, cmd.key.path)) return Fail(kNotFound);
  if (cmd.NamesValue()) return cmd.recurse ? Search(cmd) : QueryValue(cmd);
  out_ << "\n";
  PrintKey(cmd.key, false);
  if (cmd.recurse) {
    PrintTree(cmd.key);
  } else {
    for (const std::string& sub : reg_.SubKeys(cmd.key.hive, cmd.key.path)) {
      out_ << KrvRegKey{cmd.key.hive, cmd.key.Child(sub)}.FullName() << "\n";
    }
  }
  return 0;
}

int Session::QueryValue(const KrvRegCommand& cmd) {
  const std::string name = StoredName(cmd.key, cmd.ValueName());
  RegValue v;
  std::string why;
  const RegStatus status = reg_.ReadValue(cmd.key.hive, cmd.key.path, name, &v, &why);
  std::string line;
  if (status == RegStatus::kOk) {
    line = ValueLine(name, v);
  } else if (status == RegStatus::kNotFound && name.empty()) {
    // reg.exe reports an unset default value instead of failing.
    line = std::string(kIndent) + "(Default)" + kIndent + "REG_SZ" + kIndent + "(value not set)";
  } else {
    return Fail(status, why);
  }
  out_ << "\n" << cmd.key.FullName() << "\n" << line << "\n\n";
  return 0;
}

int Session::SearchTree(const KrvRegKey& key, const std::string& name) {
  int found = 0;
  RegValue v;
  if (reg_.ReadValue(key.hive, key.path, name, &v, nullptr) == RegStatus::kOk) {
    out_ << key.FullName() << "\n" << ValueLine(StoredName(key, name), v) << "\n\n";
    ++found;
  }
  for (const std::string& sub : reg_.SubKeys(key.hive, key.path)) {
    found += SearchTree(KrvRegKey{key.hive, key.Child(sub)}, name);
  }
  return found;
}

// /v or /ve with /s: the value in the key and every key below it.
int Session::Search(const KrvRegCommand& cmd) {
  out_ << "\n";
  const int found = SearchTree(cmd.key, cmd.ValueName());
  out_ << "End of search: " << found << " match(es) found.\n";
  return found > 0 ? 0 : 1;
}

int Session::Add(const KrvRegCommand& cmd) {
  const std::string type = cmd.type.value_or("REG_SZ");
  RegValue value;
  if (IEquals(type, "REG_SZ")) {
    value = RegValue::Sz(cmd.data.value_or(""));
  } else if (IEquals(type, "REG_EXPAND_SZ")) {
    value = RegValue::ExpandSz(cmd.data.value_or(""));
  } else if (IEquals(type, "REG_DWORD")) {
    uint32_t number = 0;
    if (!cmd.data.has_value() || !ParseDword(*cmd.data, &number)) return Fail(kBadNumber);
    value = RegValue::Dword(number);
  } else {
    return Fail(("ERROR: Unsupported value type " + type + ". Use REG_SZ, REG_EXPAND_SZ or REG_DWORD.").c_str());
  }
  std::string why;
  const bool sets_value = cmd.NamesValue() || cmd.data.has_value() || cmd.type.has_value();
  if (!sets_value) {
    if (cmd.key.path.empty()) return Fail("ERROR: Invalid key name.");
    const RegStatus status = reg_.CreateKey(cmd.key.hive, cmd.key.path, &why);
    return status == RegStatus::kOk ? Done() : Fail(status, why);
  }
  const std::string name = cmd.ValueName();
  if (!cmd.force && reg_.ValueExists(cmd.key.hive, cmd.key.path, name) &&
      !Ask("Value " + DisplayName(name) + " exists, overwrite(Yes/No)?")) {
    return Canceled();
  }
  const RegStatus status = reg_.WriteValue(cmd.key.hive, cmd.key.path, name, value, &why);
  return status == RegStatus::kOk ? Done() : Fail(status, why);
}

int Session::Delete(const KrvRegCommand& cmd) {
  if (!reg_.KeyExists(cmd.key.hive, cmd.key.path)) return Fail(kNotFound);
  if (cmd.all_values) return DeleteAllValues(cmd);
  std::string why;
  RegStatus status;
  if (cmd.NamesValue()) {
    const std::string name = cmd.ValueName();
    if (!reg_.ValueExists(cmd.key.hive, cmd.key.path, name)) return Fail(kNotFound);
    if (!cmd.force && !Ask("Delete the registry value " + DisplayName(name) + " (Yes/No)?")) return Canceled();
    status = reg_.DeleteValue(cmd.key.hive, cmd.key.path, name, &why);
  } else {
    // A whole hive is never deleted.
    if (cmd.key.path.empty()) return Fail("ERROR: Invalid key name.");
    if (!cmd.force && !Ask("Permanently delete the registry key " + cmd.key.FullName() + " (Yes/No)?"))
      return Canceled();
    status = reg_.DeleteKeyTree(cmd.key.hive, cmd.key.path, &why);
  }
  return status == RegStatus::kOk ? Done() : Fail(status, why);
}

int Session::DeleteAllValues(const KrvRegCommand& cmd) {
  if (!cmd.force && !Ask("Delete all values under the registry key " + cmd.key.FullName() + " (Yes/No)?"))
    return Canceled();
  for (const std::string& name : reg_.ValueNames(cmd.key.hive, cmd.key.path)) {
    std::string why;
    const RegStatus status = reg_.DeleteValue(cmd.key.hive, cmd.key.path, name, &why);
    if (status != RegStatus::kOk && status != RegStatus::kNotFound) return Fail(status, why);
  }
  return Done();
}

int Session::Import(const KrvRegCommand& cmd) {
  std::string bytes;
  std::string why;
  if (!ReadWholeFile(cmd.file, &bytes, &why)) return Fail(kFileError, why);
  RegParseResult parsed;
  if (!ParseRegFile(bytes, &parsed, &why)) return Fail(kFileError, cmd.file + ": " + why);
  for (const std::string& warning : parsed.warnings) err_ << "WARNING: " << cmd.file << ": " << warning << "\n";
  if (!ApplyRegOps(reg_, parsed.ops, &why)) return Fail(kRegistryError, cmd.file + ": " + why);
  return Done();
}

int Session::Export(const KrvRegCommand& cmd) {
  if (!reg_.KeyExists(cmd.key.hive, cmd.key.path)) return Fail(kNotFound);
  const RegKey tree = CopyKeyTree(reg_, cmd.key.hive, cmd.key.path);
  const std::string text = ExportRegText(cmd.key.hive, cmd.key.path, tree, RegFormat::kUnicode5);
  if (!cmd.force && FileExists(cmd.file) && !Ask("File " + cmd.file + " already exists. Overwrite (Yes/No)?")) {
    return Canceled();
  }
  std::string why;
  if (!WriteWholeFile(cmd.file, EncodeRegFile(text, RegFormat::kUnicode5), &why)) return Fail(kFileError, why);
  return Done();
}

void PrintUsage(KrvRegOp op, std::ostream& out) {
  switch (op) {
    case KrvRegOp::kNone:
      out << "KRVREG Operation [Parameter List]\n\n"
             "  Operation  [ QUERY | ADD | DELETE | IMPORT | EXPORT ]\n\n"
             "Return Code:\n\n"
             "  0 - Successful\n"
             "  1 - Failed\n\n"
             "For help on a specific operation type:\n\n"
             "  KRVREG Operation /?\n";
      return;
    case KrvRegOp::kQuery:
      out << "KRVREG QUERY KeyName [/v ValueName | /ve] [/s]\n\n"
             "  KeyName  ROOTKEY\\SubKey, ROOTKEY = [ HKLM | HKCU | HKCR | HKU ]\n"
             "  /v       Queries the value ValueName.\n"
             "  /ve      Queries the default value (Default).\n"
             "  /s       Queries all subkeys and values recursively.\n";
      return;
    case KrvRegOp::kAdd:
      out << "KRVREG ADD KeyName [/v ValueName | /ve] [/t Type] [/d Data] [/f]\n\n"
             "  KeyName  ROOTKEY\\SubKey, ROOTKEY = [ HKLM | HKCU | HKCR | HKU ]\n"
             "  /v       The value name to add.\n"
             "  /ve      Adds the default value (Default).\n"
             "  /t       REG_SZ (default), REG_EXPAND_SZ or REG_DWORD.\n"
             "  /d       The data; REG_DWORD as decimal or 0x hexadecimal.\n"
             "  /f       Overwrites an existing value without asking.\n";
      return;
    case KrvRegOp::kDelete:
      out << "KRVREG DELETE KeyName [/v ValueName | /ve | /va] [/f]\n\n"
             "  KeyName  ROOTKEY\\SubKey, ROOTKEY = [ HKLM | HKCU | HKCR | HKU ]\n"
             "  /v       The value to delete.\n"
             "  /ve      Deletes the default value (Default).\n"
             "  /va      Deletes all values of the key.\n"
             "  /f       Deletes without asking.\n"
             "  Without /v, /ve or /va the key is deleted with all its subkeys.\n";
      return;
    case KrvRegOp::kImport:
      out << "KRVREG IMPORT FileName\n\n"
             "  FileName  A .reg file (REGEDIT4 or Windows Registry Editor Version 5.00).\n";
      return;
    case KrvRegOp::kExport:
      out << "KRVREG EXPORT KeyName FileName [/y]\n\n"
             "  KeyName   ROOTKEY\\SubKey, ROOTKEY = [ HKLM | HKCU | HKCR | HKU ]\n"
             "  FileName  The .reg file to write (Windows Registry Editor Version 5.00, UTF-16LE).\n"
             "  /y        Overwrites an existing file without asking.\n";
      return;
  }
}

}  // namespace

int RunKrvReg(const std::vector<std::string>& args, Registry& reg, std::istream& in, std::ostream& out,
              std::ostream& err) {
  KrvRegCommand cmd;
  const KrvRegArgError error = ParseKrvRegArgs(args, &cmd);
  const std::string hint =
      cmd.op == KrvRegOp::kNone ? std::string("KRVREG /?") : std::string("KRVREG ") + KrvRegOpName(cmd.op) + " /?";
  switch (error) {
    case KrvRegArgError::kSyntax:
      err << "ERROR: Invalid syntax.\nType \"" << hint << "\" for usage.\n";
      return 1;
    case KrvRegArgError::kKeyName:
      err << "ERROR: Invalid key name.\nType \"" << hint << "\" for usage.\n";
      return 1;
    case KrvRegArgError::kNone:
      break;
  }
  if (cmd.help) {
    PrintUsage(cmd.op, out);
    return 0;
  }
  return Session(reg, in, out, err).Run(cmd);
}

}  // namespace krv
