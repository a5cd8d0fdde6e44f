// In-memory registry for tests. Hives listed in `read_only` refuse writes
// with kDenied, as HKEY_LOCAL_MACHINE does for a non-administrator.
#pragma once

#include <map>
#include <set>

#include "platform/RegTree.h"
#include "platform/Registry.h"

namespace krv {

class FakeRegistry : public Registry {
 public:
  std::set<Hive> read_only;
  int writes = 0;  // successful changes, so tests can assert nothing was written
  // When set, CheckStores fails with this text, as for a damaged hive file.
  std::string damaged_store;

  void SetString(Hive hive, const std::string& key, const std::string& name, const std::string& text) {
    regtree_ops::WriteValue(hives_[hive], key, name, RegValue::Sz(text));
  }
  void SetDword(Hive hive, const std::string& key, const std::string& name, uint32_t value) {
    regtree_ops::WriteValue(hives_[hive], key, name, RegValue::Dword(value));
  }
  RegTree& tree(Hive hive) { return hives_[hive]; }

  bool KeyExists(Hive hive, const std::string& key) override { return regtree_ops::KeyExists(hives_[hive], key); }
  RegStatus CreateKey(Hive hive, const std::string& key, std::string* err) override {
    if (Denied(hive, err)) return RegStatus::kDenied;
    hives_[hive].Create(key);
    return Wrote(RegStatus::kOk);
  }
  RegStatus DeleteKeyTree(Hive hive, const std::string& key, std::string* err) override {
    if (Denied(hive, err)) return RegStatus::kDenied;
    return Wrote(hives_[hive].Delete(key) ? RegStatus::kOk : RegStatus::kNotFound);
  }
  bool ValueExists(Hive hive, const std::string& key, const std::string& name) override {
    return regtree_ops::ValueExists(hives_[hive], key, name);
  }
  RegStatus ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                      std::string* /*err*/) override {
    return regtree_ops::ReadValue(hives_[hive], key, name, out);
  }
  RegStatus WriteValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                       std::string* err) override {
    if (Denied(hive, err)) return RegStatus::kDenied;
    regtree_ops::WriteValue(hives_[hive], key, name, value);
    return Wrote(RegStatus::kOk);
  }
  RegStatus DeleteValue(Hive hive, const std::string& key, const std::string& name, std::string* err) override {
    if (Denied(hive, err)) return RegStatus::kDenied;
    return Wrote(regtree_ops::DeleteValue(hives_[hive], key, name));
  }
  std::vector<std::string> ValueNames(Hive hive, const std::string& key) override {
    return regtree_ops::ValueNames(hives_[hive], key);
  }
  std::vector<std::string> SubKeys(Hive hive, const std::string& key) override {
    return regtree_ops::SubKeys(hives_[hive], key);
  }
  bool CheckStores(std::string* why) override {
    if (why && !damaged_store.empty()) *why = damaged_store;
    return damaged_store.empty();
  }

 private:
  bool Denied(Hive hive, std::string* err) {
    if (read_only.contains(hive) && err) *err = std::string("FakeRegistry(") + HiveName(hive) + "): access denied";
    return read_only.contains(hive);
  }
  RegStatus Wrote(RegStatus status) {
    if (status == RegStatus::kOk) ++writes;
    return status;
  }
  std::map<Hive, RegTree> hives_;
};

}  // namespace krv
