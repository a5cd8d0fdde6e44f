// Registry list strings: entries of hive, key, value name, optional sub
// folder and file name, joined by RegListSeparator.
#include "base/Text.h"
#include "runmdb/RunMdbErrors.h"
#include "runmdb/cuRunMDB.h"

namespace krv {
namespace {

using H = cuRunMDB_Helpers;

// Cuts `text` at the first `separator` (letter case ignored): `text` keeps
// what is before it, the result is what follows. Empty if not found.
std::string SplitOff(std::string& text, const std::string& separator) {
  if (separator.empty()) return "";
  const size_t at = IFind(text, separator);
  if (at == std::string::npos) return "";
  std::string after = text.substr(at + separator.size());
  text.resize(at);
  return after;
}

}  // namespace

std::string cuRunMDB::HKeyEnum2String(int32_t hkey) {
  switch (static_cast<uint32_t>(hkey)) {
    case 0x80000000u:
      return "HKCR";
    case 0x80000001u:
      return "HKCU";
    case 0x80000002u:
      return "HKLM";
    case 0x80000003u:
      return "HKU";
    default:
      return "";
  }
}

int32_t cuRunMDB::HKeyString2Enum(const std::string& name) {
  Hive hive;
  if (!ParseHiveName(name, &hive)) return kHKeyNone;
  return static_cast<int32_t>(static_cast<uint32_t>(hive));
}

void cuRunMDB::RegListParse(const std::string& entry, int32_t* hkey, std::string* key, std::string* value_name,
                            std::string* sub_dir, std::string* filename) {
  *hkey = kHKeyNone;
  key->clear();
  value_name->clear();
  std::string rest = entry;
  *filename = SplitOff(rest, filename_sep_);
  *sub_dir = SplitOff(rest, subdir_sep_);

  if (rest.ends_with('\\')) {
    *key = rest.substr(0, rest.size() - 1);
  } else {
    const size_t last = rest.rfind('\\');
    *key = last == std::string::npos ? rest : rest.substr(0, last);
    *value_name = last == std::string::npos ? rest : rest.substr(last + 1);
  }
  if (key->empty()) Raise(kRunMdbBadListEntry, "RegListParse", entry);
  const size_t first = key->find('\\');
  if (first == std::string::npos) Raise(kRunMdbBadListEntry, "RegListParse", entry);
  *hkey = HKeyString2Enum(key->substr(0, first));
  if (*hkey == kHKeyNone) Raise(kRunMdbEntryWithoutHKey, "RegListParse", entry);
  *key = key->substr(first + 1);
}

std::string cuRunMDB::RegListBuild(const std::string& key, const std::string& value_name, const std::string& filename,
                                   const std::string& sub_dir, int32_t hkey, const std::string& hkey_name) {
  std::string hive;
  if (hkey != kHKeyNone) {
    hive = HKeyEnum2String(hkey);
    if (hive.empty()) Raise(kRunMdbNoHKey, "RegListBuild");
  } else if (!hkey_name.empty()) {
    const int32_t number = HKeyString2Enum(hkey_name);
    if (number == kHKeyNone) Raise(kRunMdbInvalidValue, "RegListBuild", hkey_name);
    hive = HKeyEnum2String(number);  // long names are written back in short form
  } else {
    Raise(kRunMdbNoHKey, "RegListBuild");
  }
  std::string entry = hive + "\\" + H::TerminateString(key, "\\") + value_name;
  if (!sub_dir.empty()) entry += subdir_sep_ + sub_dir;
  if (!filename.empty()) entry += filename_sep_ + filename;
  return entry;
}

std::string* cuRunMDB::RegListOf(int32_t selector) {
  switch (selector) {
    case 0:
      return &acc_reg_list_;
    case 1:
      return &db_reg_list_;
    case 2:
      return &sysdb_reg_list_;
    default:
      return nullptr;
  }
}

int32_t cuRunMDB::RegListArray(int32_t selector, std::vector<std::pair<std::string, std::string>>* items) {
  const std::string* list = RegListOf(selector);
  if (!list) Raise(kRunMdbInvalidValue, "RegListArray", std::to_string(selector));
  std::vector<std::string> entries;
  const int32_t count = H::String2Array(*list, &entries, list_sep_);
  if (count == 0) return 0;
  items->clear();
  for (const std::string& e : entries) {
    if (e.ends_with('\\')) {
      items->emplace_back(e.substr(0, e.size() - 1), "");
    } else {
      const size_t last = e.rfind('\\');
      if (last == std::string::npos) {
        items->emplace_back(e, e);
      } else {
        items->emplace_back(e.substr(0, last), e.substr(last + 1));
      }
    }
  }
  return count;
}

void cuRunMDB::RegListAdd(int32_t selector, const std::string& entry) {
  if (entry.empty()) return;
  std::string* list = RegListOf(selector);
  if (!list) return;
  H::AddToString(*list, entry, list_sep_, false);
}

cuRunMDB::ListEntry cuRunMDB::ParseAndLogEntry(const std::string& entry) {
  ListEntry e;
  RegListParse(entry, &e.hkey, &e.key, &e.value_name, &e.sub_dir, &e.filename);
  Log(" - HKey: " + OrDash(HKeyEnum2String(e.hkey)));
  Log(" - Schlüssel: " + OrDash(e.key));
  Log(" - Wertname: " + OrDash(e.value_name));
  Log(" - Unterordner: " + OrDash(e.sub_dir));
  Log(" - Dateiname: " + OrDash(e.filename));
  return e;
}

}  // namespace krv
