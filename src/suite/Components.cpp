#include "suite/Components.h"

namespace krv {

ComponentResult CreateComponent(Registry& reg, std::string_view prog_id) {
  const std::string key = std::string(prog_id) + "\\CLSID";
  RegValue clsid;
  std::string err;
  switch (reg.ReadValue(Hive::ClassesRoot, key, "", &clsid, &err)) {
    case RegStatus::kOk:
      return {};
    case RegStatus::kNotFound:
      // A CLSID key without a default value still counts, as it does for COM.
      if (reg.KeyExists(Hive::ClassesRoot, key)) return {};
      return {kErrCannotCreateComponent, "Objekterstellung durch ActiveX-Komponente nicht möglich"};
    case RegStatus::kDenied:
      return {kErrPermissionDenied, "Zugriff verweigert (HKEY_CLASSES_ROOT\\" + key + ")"};
    case RegStatus::kFailed:
      break;
  }
  return {kErrUnspecified, "Die Registrierung kann nicht gelesen werden (" + err + ")"};
}

}  // namespace krv
