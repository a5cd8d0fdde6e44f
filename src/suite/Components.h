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
// Error numbers when the registration cannot be read: no right to read it,
// or any other failure (E_FAIL).
inline constexpr int32_t kErrPermissionDenied = 70;
inline constexpr int32_t kErrUnspecified = -2147467259;

struct ComponentResult {
  int32_t number = 0;       // 0: created; 429: not registered; else another failure
  std::string description;  // German text of the failure
};

// Creates (and at once releases) the component `prog_id`.
ComponentResult CreateComponent(Registry& reg, std::string_view prog_id);

}  // namespace krv
