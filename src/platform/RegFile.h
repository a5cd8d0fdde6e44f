// The .reg text format of regedit: parsing (REGEDIT4 in Windows-1252,
// "Windows Registry Editor Version 5.00" in UTF-16LE with BOM or UTF-8) into
// a list of operations, and exporting keys the way regedit writes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/RegTree.h"
#include "platform/Registry.h"

namespace krv {

struct RegOp {
  enum Kind { kCreateKey, kDeleteTree, kSetValue, kDeleteValue };
  Kind kind = kCreateKey;
  Hive hive = Hive::CurrentUser;
  std::string key;   // below the hive, no leading or trailing backslash
  std::string name;  // value name ("" = default value)
  RegValue value;
  int line = 0;  // line number in the file, for messages
};

struct RegParseResult {
  std::vector<RegOp> ops;
  // Lines regedit would ignore or reject, as "line N: reason"; the file still imports.
  std::vector<std::string> warnings;
};

enum class RegFormat { kRegedit4, kUnicode5 };

// Parses a whole file as bytes. False (with `err`) when the header is wrong,
// as regedit refuses such a file.
bool ParseRegFile(std::string_view bytes, RegParseResult* result, std::string* err);

// A registry that can carry out a whole list of operations at once, one write
// per hive, so an import of N values does not rewrite a file-backed hive N
// times and a hive gets all of its part of the list or nothing.
class RegOpsTarget {
 public:
  virtual RegStatus ApplyRegOpsAtOnce(const std::vector<RegOp>& ops, std::string* err) = 0;

 protected:
  ~RegOpsTarget() = default;
};

// Carries the operations out on a registry; stops at the first refused write.
// Deleting a key or value that is missing is no failure (regedit ignores it).
bool ApplyRegOps(Registry& registry, const std::vector<RegOp>& ops, std::string* err);
// Carries out the operations that concern `hive` on a tree.
void ApplyRegOps(RegTree& tree, Hive hive, const std::vector<RegOp>& ops);

// Text of the key and everything below it, as regedit exports it (header,
// CRLF line ends, values in creation order, long hex data wrapped), as UTF-8.
std::string ExportRegText(Hive hive, const std::string& key_path, const RegKey& key, RegFormat format);
// The bytes of a file: UTF-16LE with BOM for kUnicode5, Windows-1252 for kRegedit4.
std::string EncodeRegFile(const std::string& utf8_text, RegFormat format);

// The value as it reads back from a .reg file: only the member its type uses,
// text as valid UTF-8, a 4-byte REG_DWORD as a number, REG_MULTI_SZ with its
// terminator.
RegValue NormalizeRegValue(const RegValue& value);

// Windows nests keys at most this deep; deeper key lines are refused.
constexpr size_t kMaxRegKeyDepth = 512;
// False (with the reason) for a key path that a .reg file cannot hold: one
// nested deeper than kMaxRegKeyDepth or with a line break in a name.
bool RegKeyPathStorable(const std::string& key, std::string* why);

}  // namespace krv
