#include "suite/krvCNFFile.h"

#include "base/Text.h"

namespace krv {
namespace {

constexpr uint64_t kMaxFileSize = 4u << 20;

// Structure only (lead byte and continuation bytes), enough to tell UTF-8
// from Windows-1252; the converters replace the rest.
bool ValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i++]);
    size_t extra = 0;
    if (b >= 0x80) {
      if ((b & 0xE0) == 0xC0) {
        extra = 1;
      } else if ((b & 0xF0) == 0xE0) {
        extra = 2;
      } else if ((b & 0xF8) == 0xF0) {
        extra = 3;
      } else {
        return false;
      }
    }
    for (; extra > 0; --extra, ++i) {
      if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return false;
    }
  }
  return true;
}

// The file's text as UTF-8: BOMs are honoured, other bytes that are not
// UTF-8 are taken as Windows-1252.
std::string DecodeText(std::string_view raw) {
  if (raw.starts_with("\xEF\xBB\xBF")) raw.remove_prefix(3);
  if (raw.starts_with("\xFF\xFE")) {
    raw.remove_prefix(2);
    std::u16string wide;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
      wide += static_cast<char16_t>(static_cast<unsigned char>(raw[i]) | static_cast<unsigned char>(raw[i + 1]) << 8);
    }
    return Utf16ToUtf8(wide);
  }
  return ValidUtf8(raw) ? std::string(raw) : Cp1252ToUtf8(raw);
}

// Index of the section of that name, appended when new.
size_t SectionIndex(CnfSections& sections, std::string_view name) {
  for (size_t i = 0; i < sections.items.size(); ++i) {
    if (IEquals(sections.items[i].name, name)) return i;
  }
  sections.items.push_back(CnfSection{std::string(name), {}, {}});
  return sections.items.size() - 1;
}

// Index of the collection of that name in `section`, appended when new.
size_t CollectionIndex(CnfSection& section, std::string_view name) {
  for (size_t i = 0; i < section.collections.size(); ++i) {
    if (IEquals(section.collections[i].name, name)) return i;
  }
  section.collections.push_back(CnfCollection{std::string(name), {}});
  return section.collections.size() - 1;
}

}  // namespace

const CnfCollection* CnfSection::Collection(std::string_view collection_name) const {
  for (const CnfCollection& collection : collections) {
    if (IEquals(collection.name, collection_name)) return &collection;
  }
  return nullptr;
}

const CnfKey* CnfSection::Key(std::string_view key_name) const {
  for (const CnfKey& key : keys) {
    if (IEquals(key.name, key_name)) return &key;
  }
  return nullptr;
}

const CnfSection* CnfSections::Section(std::string_view section_name) const {
  for (const CnfSection& section : items) {
    if (IEquals(section.name, section_name)) return &section;
  }
  return nullptr;
}

std::string CnfSections::Value(std::string_view section_name, std::string_view key_name) const {
  const CnfSection* section = Section(section_name);
  const CnfKey* key = section ? section->Key(key_name) : nullptr;
  return key ? key->value : std::string();
}

CnfSections krvCNFFile::Parse(std::string_view raw, bool remove_comments, bool remove_trailing_tabs) {
  const std::string text = DecodeText(raw);
  CnfSections sections;
  constexpr size_t kNone = static_cast<size_t>(-1);
  size_t current = kNone;     // an index: pointers into `items` move when it grows
  size_t collection = kNone;  // of the current section; kNone: its own keys
  std::string_view rest = text;
  while (!rest.empty()) {
    const size_t eol = rest.find_first_of("\r\n");
    std::string_view line = rest.substr(0, eol);
    if (eol == std::string_view::npos) {
      rest = {};
    } else {
      rest.remove_prefix(eol + (rest.substr(eol, 2) == "\r\n" ? 2 : 1));
    }

    if (remove_comments) {
      if (Trim(line).starts_with('#')) continue;
      line = line.substr(0, line.find(';'));
    }
    if (remove_trailing_tabs) line = Trim(line, "\t", TrimEnds::kRight);

    const std::string_view visible = Trim(line);
    if (visible.starts_with('[')) {
      const size_t close = visible.find(']');
      if (close == std::string_view::npos) {
        current = kNone;  // its keys belong to no section we could name
        continue;
      }
      const std::string_view name = Trim(visible.substr(1, close - 1));
      current = SectionIndex(sections, name);
      collection = kNone;
      continue;
    }
    if (visible.starts_with('{') && visible.ends_with('}') && visible.find('=') == std::string_view::npos &&
        current != kNone) {
      const std::string_view name = Trim(visible.substr(1, visible.size() - 2));
      collection = name.empty() ? kNone : CollectionIndex(sections.items[current], name);
      continue;
    }
    const size_t eq = line.find('=');
    if (current == kNone || eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    if (key.empty()) continue;
    std::string_view value = line.substr(eq + 1);
    value = Trim(Trim(value, " \t", TrimEnds::kLeft), " ", TrimEnds::kRight);
    CnfSection& section = sections.items[current];
    (collection == kNone ? section.keys : section.collections[collection].elements)
        .push_back(CnfKey{std::string(key), std::string(value)});
  }
  return sections;
}

std::optional<CnfSections> krvCNFFile::FileRead(std::string* err) {
  uint64_t length = 0;
  if (!fs_.FileLength(Filename, &length, err)) return std::nullopt;
  if (length > kMaxFileSize) {
    if (err) *err = "FileRead(" + Filename + "): file too large";
    return std::nullopt;
  }
  std::string raw;
  if (!fs_.ReadFile(Filename, &raw, err)) return std::nullopt;
  return Parse(raw, RemoveComments, RemoveTrailingTabs);
}

}  // namespace krv
