#include "suite/RegistryService.h"

#include "base/KrvError.h"
#include "base/Text.h"

namespace krv {
namespace {

constexpr char kSource[] = "IObjects: Registry";

std::string Normalise(const std::string& key) { return std::string(Trim(key, "\\")); }

std::string Where(Hive hive, const std::string& key) { return std::string(HiveName(hive)) + "\\" + Normalise(key); }

void CheckHive(Hive hive, const std::string& key) {
  if (hive == Hive::CurrentUser || hive == Hive::LocalMachine) return;
  throw KrvError(kErrRegistryFailed, kSource,
                 "Der Registrierungsschlüssel '" + key + "' liegt weder unter HKEY_CURRENT_USER noch unter " +
                     "HKEY_LOCAL_MACHINE.");
}

// `what` names the value or key, `verb` what was refused ("geschrieben").
[[noreturn]] void Raise(RegStatus status, const std::string& what, const char* verb, const std::string& err) {
  const std::string refused = what + " kann nicht " + verb + " werden";
  if (status == RegStatus::kDenied) throw KrvError(kErrRegistryDenied, kSource, "Zugriff verweigert: " + refused + ".");
  throw KrvError(kErrRegistryFailed, kSource, refused + " (" + err + ").");
}

}  // namespace

bool RegistryService::KeyExists(Hive hive, const std::string& key) { return reg_.KeyExists(hive, Normalise(key)); }

std::string RegistryService::Read(Hive hive, const std::string& key, const std::string& name, const std::string& def) {
  RegValue value;
  if (reg_.ReadValue(hive, Normalise(key), name, &value, nullptr) != RegStatus::kOk) return def;
  if (value.type == kRegSz || value.type == kRegExpandSz) return value.text;
  return value.type == kRegDword ? std::to_string(value.dword) : def;
}

void RegistryService::WriteText(Hive hive, const std::string& key, const std::string& name, const std::string& text) {
  Write(hive, key, name, RegValue::Sz(text));
}

void RegistryService::WriteNumber(Hive hive, const std::string& key, const std::string& name, uint32_t number) {
  Write(hive, key, name, RegValue::Dword(number));
}

void RegistryService::DeleteKey(Hive hive, const std::string& key) {
  CheckHive(hive, key);
  std::string err;
  const RegStatus status = reg_.DeleteKeyTree(hive, Normalise(key), &err);
  if (status != RegStatus::kOk && status != RegStatus::kNotFound) {
    Raise(status, "Der Schlüssel '" + Where(hive, key) + "'", "gelöscht", err);
  }
}

void RegistryService::Write(Hive hive, const std::string& key, const std::string& name, const RegValue& value) {
  CheckHive(hive, key);
  std::string err;
  const RegStatus status = reg_.WriteValue(hive, Normalise(key), name, value, &err);
  if (status != RegStatus::kOk)
    Raise(status, "Der Wert '" + name + "' unter '" + Where(hive, key) + "'", "geschrieben", err);
}

}  // namespace krv
