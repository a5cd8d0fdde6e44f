#include "suite/PeVersion.h"

#include <optional>

namespace krv {
namespace {

constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr uint32_t kFixedFileInfoSize = 52;
constexpr uint32_t kHighBit = 0x80000000u;

// Little-endian reads that refuse to leave the image: the whole file, or its
// headers and one section of it, whatever lies between counting as missing.
class Bytes {
 public:
  explicit Bytes(std::span<const uint8_t> data) : head_(data) {}
  Bytes(std::span<const uint8_t> head, uint64_t tail_at, std::span<const uint8_t> tail)
      : head_(head), tail_at_(tail_at), tail_(tail) {}
  bool Has(uint64_t offset, uint64_t length) const {
    return In(head_, 0, offset, length) || In(tail_, tail_at_, offset, length);
  }
  std::optional<uint16_t> U16(uint64_t offset) const {
    const uint8_t* p = At(offset, 2);
    if (!p) return std::nullopt;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
  }
  std::optional<uint32_t> U32(uint64_t offset) const {
    const uint8_t* p = At(offset, 4);
    if (!p) return std::nullopt;
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
  }

 private:
  static bool In(std::span<const uint8_t> part, uint64_t at, uint64_t offset, uint64_t length) {
    return offset >= at && offset - at <= part.size() && length <= part.size() - (offset - at);
  }
  const uint8_t* At(uint64_t offset, uint64_t length) const {
    if (In(head_, 0, offset, length)) return head_.data() + offset;
    if (In(tail_, tail_at_, offset, length)) return tail_.data() + (offset - tail_at_);
    return nullptr;
  }

  std::span<const uint8_t> head_;
  uint64_t tail_at_ = 0;
  std::span<const uint8_t> tail_;
};

struct Section {
  uint32_t virtual_address, raw_size, raw_offset;
};

class PeImage {
 public:
  explicit PeImage(Bytes bytes) : bytes_(bytes) {}

  // Reads the headers; false with `why` when the bytes are no PE image.
  bool Load(const char** why);
  // File offset of `length` bytes at `rva`, all inside one section's data.
  std::optional<uint64_t> Offset(uint64_t rva, uint64_t length) const;
  // File offset and size of the section that holds `rva`.
  std::optional<std::pair<uint64_t, uint64_t>> SectionOf(uint64_t rva) const;
  const Bytes& bytes() const { return bytes_; }
  uint32_t resource_rva() const { return resource_rva_; }

 private:
  Bytes bytes_;
  uint64_t sections_at_ = 0;
  uint16_t section_count_ = 0;
  uint32_t resource_rva_ = 0;
};

bool PeImage::Load(const char** why) {
  *why = "no PE image";
  if (bytes_.U16(0) != 0x5A4D) return false;  // "MZ"
  const auto pe = bytes_.U32(0x3C);
  if (!pe || bytes_.U32(*pe) != 0x00004550) return false;  // "PE\0\0"
  const uint64_t coff = uint64_t{*pe} + 4;
  const auto sections = bytes_.U16(coff + 2);
  const auto optional_size = bytes_.U16(coff + 16);
  const uint64_t opt = coff + 20;
  const auto magic = bytes_.U16(opt);
  if (!sections || !optional_size || !magic) return false;
  uint64_t count_at = 0;
  if (*magic == 0x10B) {
    count_at = 92;
  } else if (*magic == 0x20B) {
    count_at = 108;
  } else {
    return false;
  }
  section_count_ = *sections;
  sections_at_ = opt + *optional_size;
  *why = "no version resource";
  const auto dir_count = bytes_.U32(opt + count_at);
  const uint64_t resource_dir = count_at + 4 + 2 * 8;  // data directory 2
  if (!dir_count || *dir_count <= 2 || resource_dir + 8 > *optional_size) return false;
  const auto rva = bytes_.U32(opt + resource_dir);
  if (!rva || *rva == 0) return false;
  resource_rva_ = *rva;
  return true;
}

std::optional<uint64_t> PeImage::Offset(uint64_t rva, uint64_t length) const {
  for (uint16_t i = 0; i < section_count_; ++i) {
    const uint64_t at = sections_at_ + uint64_t{i} * 40;
    const auto va = bytes_.U32(at + 12), raw_size = bytes_.U32(at + 16), raw_offset = bytes_.U32(at + 20);
    if (!va || !raw_size || !raw_offset) return std::nullopt;
    if (rva < *va || rva - *va >= *raw_size) continue;
    const uint64_t delta = rva - *va;
    if (length > *raw_size - delta) return std::nullopt;
    const uint64_t offset = *raw_offset + delta;
    if (!bytes_.Has(offset, length)) return std::nullopt;
    return offset;
  }
  return std::nullopt;
}

std::optional<std::pair<uint64_t, uint64_t>> PeImage::SectionOf(uint64_t rva) const {
  for (uint16_t i = 0; i < section_count_; ++i) {
    const uint64_t at = sections_at_ + uint64_t{i} * 40;
    const auto va = bytes_.U32(at + 12), raw_size = bytes_.U32(at + 16), raw_offset = bytes_.U32(at + 20);
    if (!va || !raw_size || !raw_offset) return std::nullopt;
    if (rva >= *va && rva - *va < *raw_size) return std::make_pair(uint64_t{*raw_offset}, uint64_t{*raw_size});
  }
  return std::nullopt;
}

// The `OffsetToData` of an entry in the resource directory at `dir_offset`
// (relative to the resource section): the entry with `id`, or the first one
// when `id` is empty.
std::optional<uint32_t> FindEntry(const PeImage& pe, uint32_t dir_offset, std::optional<uint32_t> id) {
  const auto header = pe.Offset(uint64_t{pe.resource_rva()} + dir_offset, 16);
  if (!header) return std::nullopt;
  const auto named = pe.bytes().U16(*header + 12), ids = pe.bytes().U16(*header + 14);
  if (!named || !ids) return std::nullopt;
  const uint32_t count = uint32_t{*named} + *ids;
  for (uint32_t i = 0; i < count; ++i) {
    const auto entry = pe.Offset(uint64_t{pe.resource_rva()} + dir_offset + 16 + uint64_t{i} * 8, 8);
    if (!entry) return std::nullopt;
    const auto name = pe.bytes().U32(*entry), data = pe.bytes().U32(*entry + 4);
    if (!name || !data) return std::nullopt;
    if (!id || ((*name & kHighBit) == 0 && *name == *id)) return *data;
  }
  return std::nullopt;
}

bool IsDirectory(uint32_t offset_to_data) { return (offset_to_data & kHighBit) != 0; }

// The version resource's bytes as (file offset, size).
std::optional<std::pair<uint64_t, uint32_t>> VersionResource(const PeImage& pe) {
  // Type RT_VERSION, then the first name, then the first language.
  const auto type = FindEntry(pe, 0, kRtVersion);
  if (!type || !IsDirectory(*type)) return std::nullopt;
  const auto name = FindEntry(pe, *type & ~kHighBit, std::nullopt);
  if (!name || !IsDirectory(*name)) return std::nullopt;
  const auto lang = FindEntry(pe, *name & ~kHighBit, std::nullopt);
  if (!lang || IsDirectory(*lang)) return std::nullopt;
  const auto entry = pe.Offset(uint64_t{pe.resource_rva()} + *lang, 16);
  if (!entry) return std::nullopt;
  const auto data_rva = pe.bytes().U32(*entry), size = pe.bytes().U32(*entry + 4);
  if (!data_rva || !size) return std::nullopt;
  const auto offset = pe.Offset(*data_rva, *size);
  if (!offset) return std::nullopt;
  return std::make_pair(*offset, *size);
}

// VS_VERSIONINFO: wLength, wValueLength, wType, L"VS_VERSION_INFO", padding
// to 32 bits, VS_FIXEDFILEINFO.
bool ReadFixedFileInfo(const Bytes& bytes, uint64_t at, uint32_t size, std::string* version) {
  static constexpr char kKey[] = "VS_VERSION_INFO";
  const auto length = bytes.U16(at), value_length = bytes.U16(at + 2);
  if (!length || !value_length || *length > size || *value_length < kFixedFileInfoSize) return false;
  for (size_t i = 0; i < sizeof kKey; ++i) {  // with the terminating zero
    if (bytes.U16(at + 6 + 2 * i) != static_cast<uint16_t>(kKey[i])) return false;
  }
  const uint64_t fixed = at + ((6 + 2 * sizeof kKey + 3) & ~uint64_t{3});
  if (fixed + kFixedFileInfoSize > at + *length) return false;
  const auto signature = bytes.U32(fixed), ms = bytes.U32(fixed + 8), ls = bytes.U32(fixed + 12);
  if (!signature || !ms || !ls || *signature != kFixedFileInfoSignature) return false;
  *version = std::to_string(*ms >> 16) + "." + std::to_string(*ms & 0xFFFF) + "." + std::to_string(*ls >> 16) + "." +
             std::to_string(*ls & 0xFFFF);
  return true;
}

}  // namespace

namespace {

bool VersionOf(const Bytes& bytes, std::string* version, std::string* err) {
  PeImage pe(bytes);
  const char* why = nullptr;
  if (!pe.Load(&why)) {
    if (err) *err = why;
    return false;
  }
  const auto resource = VersionResource(pe);
  if (!resource) {
    if (err) *err = "no version resource";
    return false;
  }
  if (!ReadFixedFileInfo(pe.bytes(), resource->first, resource->second, version)) {
    if (err) *err = "damaged version resource";
    return false;
  }
  return true;
}

}  // namespace

bool PeFileVersion(std::span<const uint8_t> image, std::string* version, std::string* err) {
  return VersionOf(Bytes(image), version, err);
}

bool PeFileVersion(std::span<const uint8_t> headers, uint64_t section_offset, std::span<const uint8_t> section,
                   std::string* version, std::string* err) {
  return VersionOf(Bytes(headers, section_offset, section), version, err);
}

bool PeResourceSection(std::span<const uint8_t> headers, uint64_t* offset, uint64_t* size) {
  PeImage pe{Bytes(headers)};
  const char* why = nullptr;
  if (!pe.Load(&why)) return false;
  const auto section = pe.SectionOf(pe.resource_rva());
  if (!section) return false;
  *offset = section->first;
  *size = section->second;
  return true;
}

}  // namespace krv
