#include "suite/RegistryService.h"

#include "base/KrvError.h"
#include "base/Text.h"

namespace krv {
namespace {

std::string Normalise(const std::string& key) { return std::string(Trim(key, "\\")); }

}  // namespace

bool RegistryService::KeyExists(Hive hive, const std::string& key) { return reg_.KeyExists(hive, Normalise(key)); }

std::string RegistryService::Read(Hive hive, const std::string& key, const std::string& name, const std::string& def) {
  RegValue value;
  const RegStatus status = reg_.ReadValue(hive, Normalise(key), name, &value, nullptr);
  return status == RegStatus::kOk && (value.type == kRegSz || value.type == kRegExpandSz) ? value.text : def;
}

void RegistryService::WriteText(Hive hive, const std::string& key, const std::string& name, const std::string& text) {
  Write(hive, key, name, RegValue::Sz(text));
}

void RegistryService::WriteNumber(Hive hive, const std::string& key, const std::string& name, uint32_t number) {
  Write(hive, key, name, RegValue::Dword(number));
}

void RegistryService::Write(Hive hive, const std::string& key, const std::string& name, const RegValue& value) {
  std::string err;
  const RegStatus status = reg_.WriteValue(hive, Normalise(key), name, value, &err);
  if (status == RegStatus::kOk) return;
  const std::string refused =
      "Der Wert '" + name + "' unter '" + HiveName(hive) + "\\" + Normalise(key) + "' kann nicht geschrieben werden";
  if (status == RegStatus::kDenied)
    throw KrvError(kErrRegistryDenied, "IObjects: Registry", "Zugriff verweigert: " + refused + ".");
  throw KrvError(kErrRegistryFailed, "IObjects: Registry", refused + " (" + err + ").");
}

}  // namespace krv
