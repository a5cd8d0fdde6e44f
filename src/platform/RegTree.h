// An in-memory registry hive: keys named case-insensitively and stored
// case-preserving, values kept in creation order. The memory registry and the
// POSIX file store both hold their hives in it.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Registry.h"

namespace krv {

class RegKey {
 public:
  explicit RegKey(std::string name) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }

  const RegValue* FindValue(const std::string& name) const;
  // Replacing keeps the value's place and its stored name.
  void SetValue(const std::string& name, const RegValue& value);
  bool DeleteValue(const std::string& name);
  // (name, value) in creation order.
  const std::vector<std::pair<std::string, RegValue>>& values() const {
    if (dead_count_ > 0) Compact();
    return values_;
  }

  RegKey* FindChild(const std::string& name) const;
  RegKey* GetOrCreateChild(const std::string& name);
  bool DeleteChild(const std::string& name);
  const std::vector<std::unique_ptr<RegKey>>& children() const { return children_; }

 private:
  void Compact() const;

  std::string name_;
  // A deleted value leaves a hole (dead_) until the next compaction, so a run
  // of deletions costs linear time, not quadratic. Compaction happens when
  // half the slots are holes or when the values are listed.
  mutable std::vector<std::pair<std::string, RegValue>> values_;
  mutable std::vector<bool> dead_;
  mutable size_t dead_count_ = 0;
  mutable std::unordered_map<std::string, size_t> value_index_;  // folded name -> position
  std::vector<std::unique_ptr<RegKey>> children_;
  std::unordered_map<std::string, RegKey*> child_index_;  // folded name -> child
};

// Splits a key path at backslashes, dropping empty parts (so leading, trailing
// and doubled backslashes do not matter).
std::vector<std::string> SplitKeyPath(const std::string& path);

class RegTree {
 public:
  RegTree() : root_("") {}

  RegKey& root() { return root_; }
  const RegKey& root() const { return root_; }
  // The key at `path` ("" is the hive root), or nullptr.
  RegKey* Find(const std::string& path);
  RegKey* Create(const std::string& path);
  // Removes the key with its subtree; false if missing. The root cannot be removed.
  bool Delete(const std::string& path);
  void Clear() { root_ = RegKey(""); }

 private:
  RegKey root_;
};

// Registry operations carried out on one hive's tree. Shared by the memory
// registry and the file store so both behave alike.
namespace regtree_ops {
bool KeyExists(RegTree& tree, const std::string& key);
bool ValueExists(RegTree& tree, const std::string& key, const std::string& name);
RegStatus ReadValue(RegTree& tree, const std::string& key, const std::string& name, RegValue* out);
void WriteValue(RegTree& tree, const std::string& key, const std::string& name, const RegValue& value);
RegStatus DeleteValue(RegTree& tree, const std::string& key, const std::string& name);
std::vector<std::string> ValueNames(RegTree& tree, const std::string& key);
std::vector<std::string> SubKeys(RegTree& tree, const std::string& key);
}  // namespace regtree_ops

}  // namespace krv
