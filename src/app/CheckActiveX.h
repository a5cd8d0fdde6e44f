// The start-up proof that the suite's components are registered: each is
// created once, in a fixed order, and released at once.
#pragma once

#include <array>

#include "base/cuAppError.h"
#include "platform/Registry.h"

namespace krv {

struct ActiveXComponent {
  const char* prog_id;
  const char* label;  // named in messages 207 and 208
};

inline constexpr std::array<ActiveXComponent, 8> kActiveXComponents{{
    {"KrvErr25.krvErrMsg", "ErrorDLL"},
    {"KrvLib25.krvLibrary", "LibraryDLL"},
    {"KRVInf25.krvInfo", "InfoDLL"},
    {"KrvHlp25.krvHelper", "HelperDLL"},
    {"KrvInt25.IObjects", "InterfaceDLL"},
    {"KRVLcl25.krvLclApp", "Compatibility Layer"},
    {"KrvFun25.krvFunctions", "FunctionsDLL"},
    {"KRVRsc25.krvResourceFunctions", "ResourceDLL"},
}};

// Creates the components in table order. The first that cannot be created
// raises message 207 (not registered) or 208 (number, label, description);
// the rest are not tried. Source of the error: "cApp: CheckActiveX".
void CheckActiveX(Registry& reg, cuAppError& err);

}  // namespace krv
