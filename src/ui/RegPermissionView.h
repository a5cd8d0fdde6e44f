// The registry permission notice's window as its form sees it: labels, the
// key list, three options, OK and Cancel. It only reports the user's acts.
#pragma once

#include <cstdint>
#include <string>

#include "ui/MenuView.h"

namespace krv {

inline constexpr char kRegPermissionCaption[] = "Hinweis";
inline constexpr const char* kRegPermissionLabels[5] = {
    "Es wurde festgestellt, dass für das aktuelle Benutzerkonto keine Schreibberechtigung für folgende "
    "Registryschlüssel besteht:",
    "Dies kann - insbesondere wenn Sie mehrere Microsoft Access-Versionen auf Ihrem Computer verwenden - dazu "
    "führen, dass die mit KORVELLA gelieferte Access-Runtime nicht korrekt gestartet werden kann.",
    "Geben Sie die aufgeführten Schlüssel möglichst mit Hilfe des Registry-Editors manuell frei. Wenn Sie keine "
    "Erfahrung im Umgang mit dem Registry-Editor haben, wählen Sie die automatische Freigabe.",
    "Auch wenn das Freigeben der Schreibrechte zurzeit evtl. nicht zwingend erforderlich ist, empfehlen wir Ihnen, "
    "diesen Schritt auszuführen.",
    "Wie möchten Sie fortfahren?",
};
inline constexpr const char* kRegPermissionOptions[3] = {
    " Diesen Hinweis ignorieren und KORVELLA starten",
    " Berechtigung automatisch freigeben",
    " Diese Überprüfung abschalten und KORVELLA starten",
};
inline constexpr char kRegPermissionOk[] = "&OK";
inline constexpr char kRegPermissionCancel[] = "&Abbrechen";

class RegPermissionEvents {
 public:
  virtual ~RegPermissionEvents() = default;
  virtual void OkClick() = 0;
  virtual void CancelClick() = 0;
  // The user picked option `index` (0 to 2).
  virtual void OptionClick(int32_t index) = 0;
  virtual void QueryUnload(UnloadMode mode) = 0;
};

class RegPermissionView {
 public:
  virtual ~RegPermissionView() = default;
  virtual void SetKeys(const std::string& text) = 0;  // lines joined by CR LF
  virtual void SetOption(int32_t index) = 0;
  // Shows the window and serves it until Hide() or Close().
  virtual void ShowModal() = 0;
  virtual void Hide() = 0;
  virtual void Close() = 0;
};

}  // namespace krv
