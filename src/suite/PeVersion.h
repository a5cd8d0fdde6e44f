// File version of a Windows PE file (exe, dll, ocx): the file version of the
// VS_FIXEDFILEINFO in the version resource, as "a.b.c.d". Pure byte parsing,
// usable on every host; never reads outside the given bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace krv {

// True and "a.b.c.d" when the bytes are a PE image with a version resource;
// false otherwise (`err`, if given, says why).
bool PeFileVersion(std::span<const uint8_t> image, std::string* version, std::string* err = nullptr);

// For large files, read in two parts: where the resource section lies (file
// offset and size), told by the file's first bytes (its headers); false when
// they show no PE image with resources.
bool PeResourceSection(std::span<const uint8_t> headers, uint64_t* offset, uint64_t* size);
// PeFileVersion over the headers (from offset 0) and the resource section at
// `section_offset`; bytes outside the two count as missing.
bool PeFileVersion(std::span<const uint8_t> headers, uint64_t section_offset, std::span<const uint8_t> section,
                   std::string* version, std::string* err = nullptr);

}  // namespace krv
