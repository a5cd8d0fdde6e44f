// String, path and registry helpers of the Access runner. Comparisons and
// searches ignore letter case; positions are 1-based, 0 meaning not found.
// Nothing here throws: file tests answer false, registry reads the default.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace krv {

class cuRunMDB_Helpers {
 public:
  cuRunMDB_Helpers(Registry& registry, FileSystem& fs) : registry_(registry), fs_(fs) {}

  // Text becomes Add when empty, else Text + Separator + Add (nothing when
  // SkipEmpty is set and Add is empty).
  static void AddToString(std::string& text, const std::string& add, const std::string& separator, bool skip_empty);
  // The text before the first NUL (untrimmed); without a NUL, the text trimmed of blanks.
  static std::string CleanString(const std::string& text);
  // How many characters of `text` equal `ch` (a single character, UTF-8).
  static int32_t CountCharacter(const std::string& text, const std::string& ch, bool case_sensitive);
  // Removes `levels` trailing folder levels; the result ends with the
  // separator. The backslash form never rises above a drive root or a UNC share.
  static std::string DirUp(const std::string& path, int levels, bool use_slash);
  static std::string FileExtractName(const std::string& path, bool use_slash);
  static std::string FileExtractPath(const std::string& path, bool use_slash, bool keep_separator);
  // File name without folder and extension.
  static std::string FileExtractRootName(const std::string& path);
  // Character position of the n-th occurrence of `find`; 0 if fewer or n < 1.
  static int32_t InStrEx(const std::string& text, const std::string& find, int32_t n);
  // Starts with two separators, "\" or "/" in any mix.
  static bool PathIsUNCName(const std::string& path);
  // Quotes `text` (trimmed first with trim_first, also in place) unless it is
  // already quoted and `force` is not set.
  static std::string QuoteString(std::string& text, bool force, bool trim_first);
  // Splits at `separator` (case-insensitive), trimming each item. Keeps empty
  // items between separators, drops an empty last one. Returns the count;
  // `items` is left untouched when the source is empty.
  static int32_t String2Array(const std::string& source, std::vector<std::string>* items, const std::string& separator);
  // Appends `terminator` unless `text` is empty or already ends with it.
  static std::string TerminateString(const std::string& text, const std::string& terminator);
  // Trims in place and removes one pair of surrounding double quotes.
  static std::string UnQuoteString(std::string& text);
  // Blanks only, as the runner's paths and registry values are written.
  static std::string Trim(const std::string& text);

  // A file (not a folder) after UnQuoteString; false on any failure.
  bool FileExists(const std::string& path) const;
  // A REG_SZ value; `def` for a missing key or value, an unknown hive or any other type.
  std::string RegGetSettingString(int32_t hkey, const std::string& key, const std::string& value_name,
                                  const std::string& def) const;
  // The key has a value of that name (any type, letter case ignored).
  bool RegValueExists(int32_t hkey, const std::string& key, const std::string& value_name) const;

 private:
  Registry& registry_;
  FileSystem& fs_;
};

}  // namespace krv
