// Creating the suite's components by ProgID. A component counts as
// registered when HKEY_CLASSES_ROOT\<ProgID>\CLSID exists, as COM decides.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace krv {

// Error number of a component that cannot be created (not registered).
inline constexpr int32_t kErrCannotCreateComponent = 429;
// Error number when the registration cannot be read.
inline constexpr int32_t kErrPermissionDenied = 70;

struct ComponentResult {
  int32_t number = 0;       // 0: created; 429: not registered; else another failure
  std::string description;  // German text of the failure
};

// Creates (and at once releases) the component `prog_id`.
ComponentResult CreateComponent(Registry& reg, std::string_view prog_id);

}  // namespace krv
