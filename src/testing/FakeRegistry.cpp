#include "testing/FakeRegistry.h"

namespace krv {

void FakeRegistry::SetString(Hive hive, const std::string& key, const std::string& name, const std::string& text) {
  regtree_ops::WriteValue(hives_[hive], key, name, RegValue::Sz(text));
}

void FakeRegistry::SetDword(Hive hive, const std::string& key, const std::string& name, uint32_t value) {
  regtree_ops::WriteValue(hives_[hive], key, name, RegValue::Dword(value));
}

bool FakeRegistry::Denied(Hive hive, std::string* err) {
  if (!read_only.contains(hive)) return false;
  if (err) *err = std::string("FakeRegistry(") + HiveName(hive) + "): access denied";
  return true;
}

bool FakeRegistry::KeyExists(Hive hive, const std::string& key) { return regtree_ops::KeyExists(hives_[hive], key); }

RegStatus FakeRegistry::CreateKey(Hive hive, const std::string& key, std::string* err) {
  if (Denied(hive, err)) return RegStatus::kDenied;
  hives_[hive].Create(key);
  ++writes;
  return RegStatus::kOk;
}

RegStatus FakeRegistry::DeleteKeyTree(Hive hive, const std::string& key, std::string* err) {
  if (Denied(hive, err)) return RegStatus::kDenied;
  if (!hives_[hive].Delete(key)) return RegStatus::kNotFound;
  ++writes;
  return RegStatus::kOk;
}

bool FakeRegistry::ValueExists(Hive hive, const std::string& key, const std::string& name) {
  return regtree_ops::ValueExists(hives_[hive], key, name);
}

RegStatus FakeRegistry::ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                                  std::string* /*err*/) {
  return regtree_ops::ReadValue(hives_[hive], key, name, out);
}

RegStatus FakeRegistry::WriteValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                                   std::string* err) {
  if (Denied(hive, err)) return RegStatus::kDenied;
  regtree_ops::WriteValue(hives_[hive], key, name, value);
  ++writes;
  return RegStatus::kOk;
}

RegStatus FakeRegistry::DeleteValue(Hive hive, const std::string& key, const std::string& name, std::string* err) {
  if (Denied(hive, err)) return RegStatus::kDenied;
  const RegStatus status = regtree_ops::DeleteValue(hives_[hive], key, name);
  if (status == RegStatus::kOk) ++writes;
  return status;
}

std::vector<std::string> FakeRegistry::ValueNames(Hive hive, const std::string& key) {
  return regtree_ops::ValueNames(hives_[hive], key);
}

std::vector<std::string> FakeRegistry::SubKeys(Hive hive, const std::string& key) {
  return regtree_ops::SubKeys(hives_[hive], key);
}

bool FakeRegistry::CheckStores(std::string* why) {
  if (damaged_store.empty()) return true;
  if (why) *why = damaged_store;
  return false;
}

}  // namespace krv
