// The registry permission notice: lists keys below HKEY_CLASSES_ROOT the
// user may not write and asks how to go on. It only collects the choice;
// the caller shows it, reads the result once it is hidden, and unloads it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/cuAppError.h"
#include "ui/Forms.h"
#include "ui/RegPermissionView.h"
#include "ui/UiHost.h"

namespace krv {

inline constexpr char kRegPermissionFormName[] = "frmRegPermission";

// The options, in the notice's order.
enum RegPermissionChoice : int32_t { kRegIgnore = 0, kRegGrant = 1, kRegSwitchOff = 2 };

class frmRegPermission final : public Form, public RegPermissionEvents {
 public:
  frmRegPermission(UiHost& ui, cuAppError& err);
  ~frmRegPermission() override;

  // Loads the form and fills the key list with "HKCR\" and each key.
  void pubInit(const std::vector<std::string>& keys);
  // Shows the notice until one of its buttons hides it.
  void ShowModal();

  // The results, read after the notice is hidden.
  bool Cancelled() const { return cancelled_; }
  int32_t Option() const { return option_; }
  const std::string& KeysText() const { return keys_text_; }
  bool Visible() const { return visible_; }

  // Form
  std::string_view Name() const override { return kRegPermissionFormName; }
  bool Loaded() const override { return view_ != nullptr; }
  void Unload() override;

  // RegPermissionEvents
  void OkClick() override;
  void CancelClick() override;
  void OptionClick(int32_t index) override;
  void QueryUnload(UnloadMode mode) override;

 private:
  void Hide();

  UiHost& ui_;
  cuAppError& err_;
  std::unique_ptr<RegPermissionView> view_;
  std::string keys_text_;
  bool cancelled_ = false;
  // Ignoring is the default: the user who only confirms starts KORVELLA.
  int32_t option_ = kRegIgnore;
  bool visible_ = false;
};

}  // namespace krv
