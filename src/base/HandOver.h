// A program the starter hands over to: the top of the program ends the
// starter first, then starts it, and reports a failed start with message
// `MessageId` (0: a failed start is not reported).
#pragma once

#include <cstdint>
#include <string>

namespace krv {

struct HandOver {
  int32_t MessageId = 0;
  std::string File;
  std::string Args;
  bool Elevate = false;
  bool operator==(const HandOver&) const = default;
};

}  // namespace krv
