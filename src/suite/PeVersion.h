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

}  // namespace krv
