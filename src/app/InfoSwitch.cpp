#include "app/InfoSwitch.h"

#include <vector>

#include "app/CommandLine.h"
#include "base/Text.h"

namespace krv {

InfoSwitch InfoSwitchOf(const std::string& command_line) {
  std::vector<std::string> words;
  if (SplitCommandLine(command_line, &words, 1) == 0) return InfoSwitch::kNone;
  if (words[0] == "/?" || IEquals(words[0], "--help")) return InfoSwitch::kHelp;
  if (IEquals(words[0], "--version")) return InfoSwitch::kVersion;
  return InfoSwitch::kNone;
}

std::string InfoText(InfoSwitch which) {
  const std::string version = std::string("KORVELLA II.5 Startprogramm (krv25), Version ") + KRV_VERSION + "\n";
  if (which != InfoSwitch::kHelp) return version;
  return version +
         "\n"
         "Aufruf: krv25 [/L | /LB | /O] [/D<Sekunden>] [/T]\n"
         "\n"
         "  (ohne)        zeigt das Startmenü; KORVELLA startet nach 5 Sekunden\n"
         "  /L            prüft Installation und Daten-Backend und startet KORVELLA\n"
         "                ohne Startmenü\n"
         "  /LB           wie /L, ohne die Prüfung des Browsers und der Komponenten\n"
         "  /O            öffnet die Einstellungen\n"
         "  /D<Sekunden>  Sekunden bis zum automatischen Start im Startmenü, z. B. /D10\n"
         "  /T            Testmodus: zeigt die Befehlszeile von Access (Kennwort\n"
         "                verdeckt), statt Access zu starten\n"
         "  /?            zeigt diese Hilfe\n"
         "  --version     zeigt die Version\n"
         "\n"
         "/L, /LB, /O und /D<Sekunden> beenden die Auswertung; was danach folgt, wird\n"
         "nicht gelesen. Unbekannte Schalter werden gemeldet und übergangen.\n";
}

}  // namespace krv
