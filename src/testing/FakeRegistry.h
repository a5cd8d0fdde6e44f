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

  // Test set-up shortcuts.
  void SetString(Hive hive, const std::string& key, const std::string& name, const std::string& text);
  void SetDword(Hive hive, const std::string& key, const std::string& name, uint32_t value);

  bool KeyExists(Hive hive, const std::string& key) override;
  RegStatus CreateKey(Hive hive, const std::string& key, std::string* err) override;
  RegStatus DeleteKeyTree(Hive hive, const std::string& key, std::string* err) override;
  bool ValueExists(Hive hive, const std::string& key, const std::string& name) override;
  RegStatus ReadValue(Hive hive, const std::string& key, const std::string& name, RegValue* out,
                      std::string* err) override;
  RegStatus WriteValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                       std::string* err) override;
  RegStatus DeleteValue(Hive hive, const std::string& key, const std::string& name, std::string* err) override;
  std::vector<std::string> ValueNames(Hive hive, const std::string& key) override;
  std::vector<std::string> SubKeys(Hive hive, const std::string& key) override;
  bool CheckStores(std::string* why) override;

  RegTree& tree(Hive hive) { return hives_[hive]; }

 private:
  bool Denied(Hive hive, std::string* err);
  std::map<Hive, RegTree> hives_;
};

}  // namespace krv
