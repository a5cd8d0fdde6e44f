// Reader of the suite's configuration files (KrvSup20.krvCNFFile), an INI-like
// text format:
//   [Section]          a section; names compare case-insensitively
//   Key=Value          a key of the current section; blanks around key and value are dropped
//   ; comment          with RemoveComments, ';' starts a comment that runs to the line end,
//   # comment          and a line whose first visible character is '#' is a comment
//   {Collection}       a named collection of the current section: the keys
//                      after it, up to the next collection or section, are its
//                      elements (name=text), not keys of the section
// Lines without '=' and keys outside a section (before the first, or after a
// header without ']') are ignored. The text
// is UTF-8 (a leading BOM is skipped) or, when it is not valid UTF-8,
// Windows-1252. Lines end with CR LF, LF or CR.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace krv {

struct CnfKey {
  std::string name;
  std::string value;
};

struct CnfCollection {
  std::string name;
  std::vector<CnfKey> elements;  // in file order; a repeated name adds to the first
};

struct CnfSection {
  std::string name;
  std::vector<CnfKey> keys;  // in file order
  std::vector<CnfCollection> collections;
  // The first key of that name, or nullptr.
  const CnfKey* Key(std::string_view key_name) const;
  // The collection of that name, or nullptr.
  const CnfCollection* Collection(std::string_view collection_name) const;
};

struct CnfSections {
  std::vector<CnfSection> items;  // in file order; a repeated section adds to the first
  // The section of that name, or nullptr.
  const CnfSection* Section(std::string_view section_name) const;
  // The value of `key` in `section`, or "" when either is missing.
  std::string Value(std::string_view section_name, std::string_view key_name) const;
};

class krvCNFFile {
 public:
  explicit krvCNFFile(FileSystem& fs) : fs_(fs) {}

  std::string Filename;
  bool RemoveComments = false;
  bool RemoveTrailingTabs = false;

  // The file's sections; nullopt when it cannot be read (or is larger than 4 MB).
  std::optional<CnfSections> FileRead(std::string* err = nullptr);

  // Parsing without a file, for the readers and the fuzz target.
  static CnfSections Parse(std::string_view text, bool remove_comments, bool remove_trailing_tabs);

 private:
  FileSystem& fs_;
};

}  // namespace krv
