#include "settings/frmRegPermission.h"

#include "base/Text.h"

namespace krv {
namespace {

constexpr int32_t kMsgAdminRightsAsked = 214;
constexpr int32_t kMsgCheckSwitchedOff = 216;

}  // namespace

frmRegPermission::frmRegPermission(UiHost& ui, cuAppError& err) : ui_(ui), err_(err) {}

frmRegPermission::~frmRegPermission() { Unload(); }

void frmRegPermission::pubInit(const std::vector<std::string>& keys) {
  if (!view_) view_ = ui_.CreateRegPermissionView(*this);
  keys_text_.clear();
  for (const std::string& key : keys) {
    if (!keys_text_.empty()) keys_text_ += kCrLf;
    keys_text_ += "HKCR\\" + key;
  }
  view_->SetKeys(keys_text_);
  view_->SetOption(option_);
}

void frmRegPermission::ShowModal() {
  if (!view_) return;
  visible_ = true;
  view_->ShowModal();
  visible_ = false;
}

void frmRegPermission::OptionClick(int32_t index) {
  if (index >= kRegIgnore && index <= kRegSwitchOff) option_ = index;
}

void frmRegPermission::OkClick() {
  if (option_ == kRegGrant) {
    if (err_.MsgShow(kMsgAdminRightsAsked, kMbYesNo | kMbIconQuestion) == kIdNo) return;
  } else if (option_ == kRegSwitchOff) {
    err_.MsgShow(kMsgCheckSwitchedOff, kMbIconInformation);
  }
  cancelled_ = false;
  Hide();
}

void frmRegPermission::CancelClick() {
  cancelled_ = true;
  Hide();
}

void frmRegPermission::QueryUnload(UnloadMode mode) {
  if (mode == kUnloadByUser) {
    CancelClick();
  } else {
    Unload();
  }
}

void frmRegPermission::Hide() {
  visible_ = false;
  if (view_) view_->Hide();
}

void frmRegPermission::Unload() {
  if (!view_) return;
  visible_ = false;
  std::unique_ptr<RegPermissionView> view = std::move(view_);
  view->Close();
}

}  // namespace krv
