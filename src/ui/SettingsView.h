// The settings dialog's window as its form logic sees it: two frames (data
// backend, updates), a drop-down list of recent backends with the selected
// path as tooltip, a browse button, a compress button, a text box for the
// days, and a toolbar of three buttons at the bottom right. The view holds
// no behaviour; keys, clicks and edits go to the form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/MenuView.h"

namespace krv {

inline constexpr char kSettingsCaptionSuffix[] = " - Einstellungen";
inline constexpr char kSettingsBackendFrame[] = "Daten-Backend";
inline constexpr char kSettingsBackendLabel[] = "Aktuelles Daten-Backend";
inline constexpr char kSettingsBackendLabelTip[] = "Pfad des aktuell installierten Daten-Backends";
inline constexpr char kSettingsBrowseTip[] = "Backend wählen";
inline constexpr char kSettingsCompressCaption[] = "Komprimieren";
inline constexpr char kSettingsCompressTip[] = "Backend jetzt komprimieren";
inline constexpr char kSettingsUpdateFrame[] = "Updates";
inline constexpr char kSettingsDaysTip[] = "Auf 0 einstellen, um die Funktion auszuschalten";
inline constexpr char kSettingsDaysLabel[] = "Tage nach dem letzten Onlineupdate eine Erinnerung anzeigen";
inline constexpr char kSettingsDaysHint[] =
    "Stellen Sie diesen Wert auf '0' ein, wenn Sie die Überprüfung gänzlich abschalten möchten.";

struct ToolbarButtonText {
  const char* key;
  const char* caption;  // '&' marks the mnemonic
  const char* tooltip;
  const char* picture;  // image-list key
};

// In the toolbar's order, left to right.
inline constexpr ToolbarButtonText kSettingsButtons[3] = {
    {"Admin", "Admin-Einstellungen", "Administrator-Einstelllungen öffnen", "Shield"},
    {"OK", "&OK", "Formular schließen und Änderungen speichern", "OK"},
    {"Cancel", "&Schließen", "Formular schließen ohne Änderungen zu speichern", "Cancel"},
};
inline constexpr int kSettingsOkButton = 1;

// What the view reports; the form implements it. No event arrives after Close().
class SettingsEvents {
 public:
  virtual ~SettingsEvents() = default;
  // Keys reach the form before the controls (shift bits as MenuView.h).
  virtual void KeyDown(int32_t key_code, int32_t shift) = 0;
  // A toolbar button by its key ("Admin", "OK", "Cancel").
  virtual void ButtonClick(const std::string& key) = 0;
  // The user picked an entry of the backend list.
  virtual void BackendClick() = 0;
  virtual void BrowseClick() = 0;
  virtual void CompressClick() = 0;
  // The user changed the text of the days box.
  virtual void DaysChange() = 0;
  // The user or the system closes the window.
  virtual void QueryUnload(UnloadMode mode) = 0;
};

class SettingsView {
 public:
  virtual ~SettingsView() = default;

  virtual void SetCaption(const std::string& caption) = 0;
  // Modal: returns when the window has closed. Modeless: returns at once,
  // the host's event loop serves the window (a terminal serves it here).
  virtual void Show(bool modal) = 0;
  virtual bool IsVisible() const = 0;
  // Destroys the window; safe from inside its events and more than once.
  virtual void Close() = 0;

  // The backend list: entries, the selected one (-1 none) and its tooltip.
  virtual void SetBackends(const std::vector<std::string>& paths) = 0;
  virtual void SelectBackend(int32_t index) = 0;
  virtual int32_t SelectedBackend() const = 0;
  virtual void SetBackendTip(const std::string& tip) = 0;
  virtual void SetBackendEnabled(bool enabled) = 0;
  virtual bool BackendEnabled() const = 0;
  virtual void SetBrowseEnabled(bool enabled) = 0;
  virtual void SetCompressEnabled(bool enabled) = 0;
  // Why the backend cannot be changed; hidden when empty.
  virtual void SetBlockReason(const std::string& reason) = 0;

  // The days box; setting it by code reports no change.
  virtual void SetDays(const std::string& text) = 0;
  virtual std::string Days() const = 0;
  virtual void SetOkEnabled(bool enabled) = 0;

  // Lets the user choose a backend file (starting at `current`); nullopt
  // when the choice was cancelled.
  virtual std::optional<std::string> ChooseBackendFile(const std::string& current) = 0;
};

}  // namespace krv
