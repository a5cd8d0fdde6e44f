#include "settings/pRecentBackends.h"

#include <algorithm>
#include <cmath>

#include "base/Text.h"

namespace krv {
namespace {

constexpr char kMaxItemsValue[] = "MaxItems";
constexpr char kFilePrefix[] = "File ";

std::string FileValueName(int32_t number) { return kFilePrefix + std::to_string(number); }

std::string ReadText(Registry& reg, const std::string& key, const std::string& name, const std::string& def) {
  RegValue value;
  std::string err;
  if (reg.ReadValue(Hive::CurrentUser, key, name, &value, &err) != RegStatus::kOk) return def;
  if (value.type == kRegDword) return std::to_string(value.dword);
  return value.type == kRegSz || value.type == kRegExpandSz ? value.text : def;
}

}  // namespace

pRecentBackends::pRecentBackends(Registry& reg, const std::string& product_root,
                                 std::function<std::string()> current_backend)
    : reg_(reg), current_(std::move(current_backend)) {
  key_ = product_root;
  while (key_.ends_with('\\')) key_.pop_back();
  key_ += std::string("\\") + kRecentBackendsKey;
  if (const std::string current = current_(); !current.empty()) ItemAdd(current, false);
  std::string err;
  if (!reg_.KeyExists(Hive::CurrentUser, key_)) {
    max_items_ = kRecentBackendsDefaultMax;
    if (reg_.CreateKey(Hive::CurrentUser, key_, &err) == RegStatus::kOk)
      reg_.WriteValue(Hive::CurrentUser, key_, kMaxItemsValue, RegValue::Sz("8"), &err);
    return;
  }
  // Not a number: nothing is kept (and at most one value name is looked at).
  const auto max = NumericValue(ReadText(reg_, key_, kMaxItemsValue, "8"));
  max_items_ = max && *max > 0 ? static_cast<int32_t>(std::min(std::round(*max), 1000.0)) : 0;
  const std::vector<std::string> names = reg_.ValueNames(Hive::CurrentUser, key_);
  for (size_t i = 0; i < names.size() && i <= static_cast<size_t>(max_items_); ++i) {
    if (!IStartsWith(names[i], kFilePrefix)) continue;
    // An empty entry names no backend; choosing it would ask for a file instead.
    if (const std::string path = ReadText(reg_, key_, names[i], ""); !path.empty()) ItemAdd(path, false);
  }
}

pRecentBackends::~pRecentBackends() {
  try {
    Write();
  } catch (...) {
    // The stored list stays as it was.
  }
}

bool pRecentBackends::ItemAdd(const std::string& path, bool at_front) {
  const auto same = [&path](const std::string& item) { return IEquals(item, path); };
  if (std::any_of(items_.begin(), items_.end(), same)) return false;
  items_.insert(at_front ? items_.begin() : items_.end(), path);
  return true;
}

void pRecentBackends::ItemRemove(const std::string& path) {
  std::erase_if(items_, [&path](const std::string& item) { return IEquals(item, path); });
}

void pRecentBackends::Init(SettingsView& combo) {
  combo_ = &combo;
  RefreshCombo(current_());
}

void pRecentBackends::ColAdd(const std::string& path) {
  ItemAdd(path, true);
  RefreshCombo(path);
}

void pRecentBackends::ColRemove(const std::string& path) {
  ItemRemove(path);
  RefreshCombo(current_());
}

void pRecentBackends::RefreshCombo(const std::string& select) {
  if (!combo_) return;
  combo_->SetBackends({});
  combo_->SetBackendTip("");
  if (items_.empty()) return;
  combo_->SetBackends(items_);
  if (!select.empty()) SelectItem(select, false);
}

void pRecentBackends::SelectItem(const std::string& path, bool keep_enabled) {
  combo_->SetBackendTip("");
  const auto it = std::find_if(items_.begin(), items_.end(), [&path](const auto& i) { return IEquals(i, path); });
  if (it == items_.end()) return;
  // A disabled list tells the dialog that this selection is the program's own.
  const bool was_enabled = combo_->BackendEnabled();
  if (!keep_enabled) combo_->SetBackendEnabled(false);
  combo_->SelectBackend(static_cast<int32_t>(it - items_.begin()));
  combo_->SetBackendTip(*it);
  if (!keep_enabled) combo_->SetBackendEnabled(was_enabled);
}

void pRecentBackends::Write() {
  if (items_.empty() || key_.empty()) return;
  std::string err;
  int32_t next = 1;
  for (; next <= max_items_ && static_cast<size_t>(next) <= items_.size(); ++next) {
    reg_.WriteValue(Hive::CurrentUser, key_, FileValueName(next), RegValue::Sz(items_[next - 1]), &err);
  }
  for (int32_t j = next; j <= max_items_; ++j) {
    if (reg_.ValueExists(Hive::CurrentUser, key_, FileValueName(j)))
      reg_.DeleteValue(Hive::CurrentUser, key_, FileValueName(j), &err);
  }
}

}  // namespace krv
