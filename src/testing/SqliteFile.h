// The bytes of an empty SQLite database (one 512-byte page), so tests can
// lay out a real backend without the SQLite library.
#pragma once

#include <string>

namespace krv {

inline std::string EmptySqliteFile() {
  std::string page(512, '\0');
  const std::string magic("SQLite format 3\0", 16);
  page.replace(0, magic.size(), magic);
  const unsigned char header[][2] = {{0x10, 0x02}, {0x12, 0x01}, {0x13, 0x01}, {0x15, 0x40}, {0x16, 0x20},
                                     {0x17, 0x20}, {0x1B, 0x01}, {0x1F, 0x01}, {0x2B, 0x01}, {0x5F, 0x01},
                                     {0x61, 0x2E}, {0x62, 0x63}, {0x63, 0x01}, {0x64, 0x0D}, {0x69, 0x02}};
  for (const auto& [at, byte] : header) page[at] = static_cast<char>(byte);
  return page;
}

}  // namespace krv
