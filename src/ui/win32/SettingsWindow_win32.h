// Win32 code only: the settings dialog's real window and the registry
// permission notice, over the shared window layer.
#pragma once

#include <memory>

#include "ui/RegPermissionView.h"
#include "ui/SettingsView.h"

namespace krv::win32 {

// Control ids (GetDlgItem) for tests.
inline constexpr int kSettingsBackendId = 10;
inline constexpr int kSettingsBrowseId = 11;
inline constexpr int kSettingsCompressId = 12;
inline constexpr int kSettingsReasonId = 13;
inline constexpr int kSettingsDaysId = 14;
inline constexpr int kSettingsToolbarId = 15;
// Toolbar commands, in the toolbar's order (Admin, OK, Cancel).
inline constexpr int kSettingsFirstCommand = 100;
inline constexpr int kRegPermissionKeysId = 20;
inline constexpr int kRegPermissionOptionId = 21;  // + option
inline constexpr int kRegPermissionOkId = 30;
inline constexpr int kRegPermissionCancelId = 31;

// Icon resources of krv25.rc for the image list, by key.
inline constexpr int kPictureOkId = 200;
inline constexpr int kPictureCancelId = 201;
inline constexpr int kPictureTresorId = 202;
inline constexpr int kPictureCompressId = 203;
inline constexpr int kPictureShieldId = 204;

// The windows are created hidden, owned by the active window of this thread.
std::unique_ptr<SettingsView> NewSettingsWindow(SettingsEvents& events);
std::unique_ptr<RegPermissionView> NewRegPermissionWindow(RegPermissionEvents& events);

}  // namespace krv::win32
