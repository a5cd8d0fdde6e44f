// The table of numbered German messages (ids 101 to 227 without 124, and
// 500 to 504).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace krv {

// Where messages 107 and 116 send the user for the product's setup program.
inline constexpr char kSetupDownloadUrl[] = "https://www.korvella.example/download/setup/";
// Where message 220 sends the user for the free Access runtime.
inline constexpr char kAccessRuntimeDownloadUrl[] = "https://www.korvella.example/download/access-runtime/";

// The raw text of message `id`, placeholders unfilled; null for an unknown id.
const std::string* FindMessage(int32_t id);
// Every id of the table, ascending.
std::vector<int32_t> MessageIds();

}  // namespace krv
