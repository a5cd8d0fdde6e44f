#include "platform/RegTree.h"

#include <algorithm>

#include "base/Text.h"

namespace krv {

const RegValue* RegKey::FindValue(const std::string& name) const {
  auto it = value_index_.find(LowerCase(name));
  return it == value_index_.end() ? nullptr : &values_[it->second].second;
}

void RegKey::SetValue(const std::string& name, const RegValue& value) {
  const std::string folded = LowerCase(name);
  auto it = value_index_.find(folded);
  if (it != value_index_.end()) {
    values_[it->second].second = value;
    return;
  }
  value_index_.emplace(folded, values_.size());
  values_.emplace_back(name, value);
  dead_.push_back(false);
}

bool RegKey::DeleteValue(const std::string& name) {
  auto it = value_index_.find(LowerCase(name));
  if (it == value_index_.end()) return false;
  const size_t pos = it->second;
  value_index_.erase(it);
  values_[pos] = {};
  dead_[pos] = true;
  ++dead_count_;
  if (dead_count_ * 2 > values_.size()) Compact();
  return true;
}

void RegKey::Compact() const {
  size_t out = 0;
  for (size_t i = 0; i < values_.size(); ++i) {
    if (dead_[i]) continue;
    if (out != i) {
      values_[out] = std::move(values_[i]);
      value_index_[LowerCase(values_[out].first)] = out;
    }
    ++out;
  }
  values_.resize(out);
  dead_.assign(out, false);
  dead_count_ = 0;
}

RegKey* RegKey::FindChild(const std::string& name) const {
  auto it = child_index_.find(LowerCase(name));
  return it == child_index_.end() ? nullptr : it->second;
}

RegKey* RegKey::GetOrCreateChild(const std::string& name) {
  if (RegKey* existing = FindChild(name)) return existing;
  children_.push_back(std::make_unique<RegKey>(name));
  RegKey* child = children_.back().get();
  child_index_.emplace(LowerCase(name), child);
  return child;
}

bool RegKey::DeleteChild(const std::string& name) {
  auto it = child_index_.find(LowerCase(name));
  if (it == child_index_.end()) return false;
  RegKey* child = it->second;
  child_index_.erase(it);
  std::erase_if(children_, [child](const std::unique_ptr<RegKey>& k) { return k.get() == child; });
  return true;
}

std::vector<std::string> SplitKeyPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

RegKey* RegTree::Find(const std::string& path) {
  RegKey* key = &root_;
  for (const std::string& part : SplitKeyPath(path)) {
    key = key->FindChild(part);
    if (!key) return nullptr;
  }
  return key;
}

RegKey* RegTree::Create(const std::string& path) {
  RegKey* key = &root_;
  for (const std::string& part : SplitKeyPath(path)) key = key->GetOrCreateChild(part);
  return key;
}

bool RegTree::Delete(const std::string& path) {
  std::vector<std::string> parts = SplitKeyPath(path);
  if (parts.empty()) return false;
  const std::string last = parts.back();
  parts.pop_back();
  RegKey* parent = &root_;
  for (const std::string& part : parts) {
    parent = parent->FindChild(part);
    if (!parent) return false;
  }
  return parent->DeleteChild(last);
}

namespace regtree_ops {

bool KeyExists(RegTree& tree, const std::string& key) { return tree.Find(key) != nullptr; }

bool ValueExists(RegTree& tree, const std::string& key, const std::string& name) {
  const RegKey* k = tree.Find(key);
  return k && k->FindValue(name);
}

RegStatus ReadValue(RegTree& tree, const std::string& key, const std::string& name, RegValue* out) {
  const RegKey* k = tree.Find(key);
  const RegValue* v = k ? k->FindValue(name) : nullptr;
  if (!v) return RegStatus::kNotFound;
  *out = *v;
  return RegStatus::kOk;
}

void WriteValue(RegTree& tree, const std::string& key, const std::string& name, const RegValue& value) {
  tree.Create(key)->SetValue(name, value);
}

RegStatus DeleteValue(RegTree& tree, const std::string& key, const std::string& name) {
  RegKey* k = tree.Find(key);
  return k && k->DeleteValue(name) ? RegStatus::kOk : RegStatus::kNotFound;
}

std::vector<std::string> ValueNames(RegTree& tree, const std::string& key) {
  std::vector<std::string> names;
  if (const RegKey* k = tree.Find(key)) {
    for (const auto& [name, value] : k->values()) names.push_back(name);
  }
  return names;
}

// Sorted by upper-cased name, the order in which Windows enumerates subkeys,
// so every implementation (and a hive reloaded from its file) lists alike.
std::vector<std::string> SubKeys(RegTree& tree, const std::string& key) {
  std::vector<std::pair<std::string, std::string>> sorted;
  if (const RegKey* k = tree.Find(key)) {
    for (const auto& child : k->children()) sorted.emplace_back(UpperCase(child->name()), child->name());
  }
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::string> names;
  names.reserve(sorted.size());
  for (auto& [folded, name] : sorted) names.push_back(std::move(name));
  return names;
}

}  // namespace regtree_ops
}  // namespace krv
