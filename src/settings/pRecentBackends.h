// The list of recently used data backends behind the settings dialog's
// drop-down list: loaded from the registry when created (the current
// backend first), one entry per path whatever its letter case, written
// back as "File 1", "File 2", ... when released.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "ui/SettingsView.h"

namespace krv {

inline constexpr char kRecentBackendsKey[] = "Loader\\RecentBackends";
inline constexpr int32_t kRecentBackendsDefaultMax = 8;

class pRecentBackends {
 public:
  // `product_root`: the product's key below HKEY_CURRENT_USER;
  // `current_backend` answers the current backend's path each time.
  pRecentBackends(Registry& reg, const std::string& product_root, std::function<std::string()> current_backend);
  // Writes the list back.
  ~pRecentBackends();
  pRecentBackends(const pRecentBackends&) = delete;
  pRecentBackends& operator=(const pRecentBackends&) = delete;

  void Init(SettingsView& combo);
  // Puts `path` at the front unless it is listed, and selects it.
  void ColAdd(const std::string& path);
  // Drops `path` and selects the current backend.
  void ColRemove(const std::string& path);

  const std::vector<std::string>& Items() const { return items_; }
  int32_t MaxItems() const { return max_items_; }

 private:
  bool ItemAdd(const std::string& path, bool at_front);
  void ItemRemove(const std::string& path);
  void RefreshCombo(const std::string& select);
  void SelectItem(const std::string& path, bool keep_enabled);
  void Write();

  Registry& reg_;
  std::string key_;  // below HKEY_CURRENT_USER, no trailing backslash
  std::function<std::string()> current_;
  std::vector<std::string> items_;
  int32_t max_items_ = 0;
  SettingsView* combo_ = nullptr;
};

}  // namespace krv
