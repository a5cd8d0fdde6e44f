#include "menu/frmMenu.h"

#include <string>

#include "base/Text.h"
#include "base/cmnShowFatalError.h"
#include "base/cuAppError.h"
#include "platform/FileSystem.h"
#include "suite/IObjects.h"
#include "suite/SuiteNames.h"
#include "suite/muKRVFunctions.h"
#include "ui/UiHost.h"

namespace krv {
namespace {

constexpr int32_t kLastItem = kMenuItemCount - 1;
constexpr uint32_t kInitialLabelColor = 0x808080;

struct Sibling {
  const char* file;
  const char* args;
};
// Items 1 to 3.
constexpr Sibling kSiblings[] = {
    {kBrowserExe, "/AllowLoader"}, {kVersionInfoExe, "/AllowLoader"}, {kCompressorExe, ""}};

std::string CountText(int32_t seconds) { return "(" + std::to_string(seconds) + ")"; }

}  // namespace

int16_t LoWord(std::uintptr_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFFu)); }

frmMenu::frmMenu(MenuHost& host) : host_(host) {}

frmMenu::~frmMenu() { UnloadForm(); }

void frmMenu::Load() {
  view_ = host_.Ui().CreateMenuView(*this);
  loaded_ = true;
  for (int32_t i = 0; i < kMenuItemCount; ++i) view_->SetItemLook(i, kInitialLabelColor, false, true);
  last_button_ = kLeftButton;
  // False: the upgrade program took over and the starter ends.
  if (!host_.InitInterfaceDLL(false, true) || !loaded_) {
    UnloadForm();
    return;
  }
  if (mSubclass* subclass = host_.Subclass(); subclass && view_->Handle() != 0) {
    try {
      subclass->AttachMessage(this, view_->Handle(), kWmActivateApp);
      attached_ = true;
    } catch (...) {
      // Without the registration the menu just does not unload itself.
    }
  }

  auto_unload_ = true;
  if (const auto value = NumericValue(GetSetting(host_.Library(), kMenuAutoUnloadSetting, true)))
    auto_unload_ = *value != 0;

  skin_ = std::make_unique<pSkin>();
  int32_t skin = pSkin::kOff;
  if (const auto value = NumericValue(GetSetting(host_.Library(), kMenuSkinSetting, pSkin::kGrey))) {
    // Only the numbers of the two skins; a fraction such as 2.6 must not become a skin without colours.
    if (*value == pSkin::kBlue || *value == pSkin::kGrey) skin = static_cast<int32_t>(*value);
  }
  ContextSkin(skin);
  active_item_ = -1;
}

void frmMenu::pubActiveItem(int32_t index) {
  if (!loaded_) return;
  view_->MoveCountToItem(index);
  HighlightItem(index, false);
  active_item_ = index;
}

void frmMenu::pubStartTimer(int32_t seconds) {
  if (!loaded_) return;
  if (seconds > 0) {
    remaining_ = seconds;
    view_->SetCountText(CountText(seconds));
    view_->SetCountVisible(true);
    count_enabled_ = true;
    view_->SetTimer(MenuTimer::kCount, 1000);
    run_enabled_ = true;
    view_->SetTimer(MenuTimer::kRun, seconds * 1000);
  } else {
    remaining_ = 0;
    DisarmTimers();
    if (seconds == 0) Run(-1);
  }
}

void frmMenu::HighlightItem(int32_t index, bool force) {
  if (!loaded_) return;  // skin and window are gone
  try {
    StopCountdown();
    if (!force && index == active_item_) return;
    // Giving the focus reports FakeGotFocus on some platforms; that echo is
    // not a second request of the user.
    highlighting_ = true;
    view_->FocusItem(index);
    highlighting_ = false;
    for (int32_t i = 0; i < kMenuItemCount; ++i) {
      const bool active = i == index;
      view_->SetItemLook(i, skin_->ForeColor(!active), active, !active);
    }
    active_item_ = index;
  } catch (...) {
    highlighting_ = false;  // the menu stays usable; nothing to report
  }
}

void frmMenu::FakeGotFocus(int32_t index) {
  if (!highlighting_) HighlightItem(index, false);
}

void frmMenu::StopCountdown() {
  if (!count_enabled_) return;
  if (!stop_asked_) {
    stop_asked_ = true;  // the first request is the mouse the menu appeared under
    return;
  }
  DisarmTimers();
  view_->SetCountVisible(false);
}

void frmMenu::DisarmTimers() {
  count_enabled_ = false;
  run_enabled_ = false;
  if (view_) {
    view_->SetTimer(MenuTimer::kCount, 0);
    view_->SetTimer(MenuTimer::kRun, 0);
  }
}

void frmMenu::Timer(MenuTimer timer) {
  if (timer == MenuTimer::kCount) {
    if (!count_enabled_) return;
    --remaining_;
    view_->SetCountText(CountText(remaining_));
    return;
  }
  if (!run_enabled_) return;
  // Both timers stop here, so a refused start is not offered again and again.
  DisarmTimers();
  Run(-1);
}

void frmMenu::Run(int32_t index) {
  try {
    if (index == -1) {
      index = active_item_;
    } else {
      HighlightItem(index, false);
    }
    if (index < 0 || index > kLastItem) return;
    RunItem(index);
  } catch (...) {
    ReportError("Run");
  }
}

void frmMenu::RunItem(int32_t index) {
  cuAppError* err = host_.oErr();
  if (!err) return;
  switch (index) {
    case 0: {
      const std::string refusal = host_.CheckEnvironment(0);
      if (!refusal.empty()) {
        MsgBoxParams box;
        box.buttons = kMbIconStop;
        box.text = refusal;
        err->MsgShow(0, box);
        return;
      }
      if (!host_.InitInterfaceDLL(true, true)) return;
      UnloadForm();
      host_.LoadKRV();
      return;
    }
    case 4:
      // The countdown must not run another item behind the dialog (the
      // terminal serves no timers while the dialog is open and would fire it late).
      DisarmTimers();
      view_->SetCountVisible(false);
      host_.LoadSettingsForm(true);
      return;
    case kLastItem:
      host_.EndStarter();
      return;
    default:
      RunSibling(index);
      return;
  }
}

void frmMenu::RunSibling(int32_t index) {
  const std::string refusal = host_.CheckEnvironment(index);
  if (!refusal.empty()) {
    host_.Boxes().MessageBox(refusal, kAppTitle, kMbIconStop);
    return;
  }
  if (!host_.InitInterfaceDLL(true, true)) return;
  const Sibling& sibling = kSiblings[index - 1];
  const std::string path = host_.Objects()->ProgramFolder() + sibling.file;
  if (!host_.Files().FileExists(path)) {
    host_.oErr()->MsgShow(kMsgFileNotFound, kMbIconStop, path);
    return;
  }
  UnloadForm();
  // The starter ends before the sibling starts; a failed start is not reported.
  host_.HandOverTo(HandOver{0, path, sibling.args, false});
}

void frmMenu::KeyDown(int32_t key_code, int32_t shift) {
  if (shift & kAltBit) {
    switch (key_code) {
      case 'A':
        return Run(5);
      case 'B':
        return Run(1);
      case 'C':
        return Run(2);
      case 'E':
        return Run(4);
      case 'F':
        return Run(0);
      default:
        return;
    }
  }
  switch (key_code) {
    case kKeyTab:
      return HighlightItem(active_item_ >= kLastItem ? 0 : active_item_ + 1, false);
    case kKeyEnter:
      return Run(-1);
    case kKeyEscape:
      return Run(kLastItem);
    case kKeyUp:
      if (active_item_ >= 1) HighlightItem(active_item_ - 1, false);
      return;
    case kKeyDown:
      if (active_item_ < kLastItem) HighlightItem(active_item_ + 1, false);
      return;
    default:
      return;
  }
}

void frmMenu::LabelMouseDown(int32_t, int16_t button) { last_button_ = button; }

void frmMenu::LabelClick(int32_t index) {
  try {
    if (last_button_ == kLeftButton) {
      Run(index);
    } else {
      PopupMenu(last_button_);
    }
  } catch (...) {
    ReportError("lbl_Click");
  }
}

void frmMenu::PopupMenu(int16_t button) {
  try {
    if (button != kRightButton || !loaded_) return;
    view_->ShowContextMenu(auto_unload_, skin_->Skin());
  } catch (...) {
    ReportError("PopupMenu");
  }
}

void frmMenu::ContextAutoUnload() {
  try {
    if (!loaded_ || !view_->IsVisible()) return;
    const bool checked = !auto_unload_;
    SaveSetting(host_.Library(), kMenuAutoUnloadSetting, checked ? "1" : "0");
    auto_unload_ = checked;
  } catch (...) {
    ReportError("AutoUnload_Click");
  }
}

void frmMenu::ContextSkin(int32_t skin) {
  try {
    if (!loaded_) return;
    ApplySkin(skin);
  } catch (...) {
    ReportError("Skin_Click");
  }
}

void frmMenu::ApplySkin(int32_t skin) {
  skin_->SetSkin(skin);
  view_->SetBackground(skin_->BackgroundPicture());
  view_->SetIconBackColor(skin_->IconColor());
  if (active_item_ != -1) HighlightItem(active_item_, true);
  if (view_->IsVisible()) SaveSetting(host_.Library(), kMenuSkinSetting, skin);
}

void frmMenu::QueryUnload(UnloadMode mode) {
  if (mode != kUnloadByCode && mode != kUnloadByOwner) host_.EndStarter();
  UnloadForm();
}

void frmMenu::AppActivated(bool active) {
  if (!active) Deactivated();
}

std::intptr_t frmMenu::WindowProc(WindowHandle, uint32_t message, std::uintptr_t wparam, std::intptr_t) {
  if (message == kWmActivateApp && LoWord(wparam) == 0) Deactivated();
  return 0;
}

void frmMenu::Deactivated() {
  try {
    if (loaded_ && auto_unload_ && !host_.LoadedForms().IsLoaded(kSettingsFormName)) UnloadForm();
  } catch (...) {
    // Ignored, like every unnamed handler of the menu.
  }
}

void frmMenu::UnloadForm() {
  if (!loaded_) return;
  loaded_ = false;
  DisarmTimers();
  skin_.reset();
  if (attached_) {
    attached_ = false;
    if (mSubclass* subclass = host_.Subclass()) {
      try {
        subclass->DetachMessage(this, view_->Handle(), kWmActivateApp);
      } catch (...) {
        // The window is going anyway.
      }
    }
  }
  view_->Close();
}

void frmMenu::ReportError(const char* proc) { ReportFormError(host_.oErr(), host_.Boxes(), kMenuFormName, proc); }

}  // namespace krv
