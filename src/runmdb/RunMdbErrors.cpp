#include "runmdb/RunMdbErrors.h"

#include <algorithm>

namespace krv {
namespace {

// The texts as users know them; "##" is the argument, "@@" a line break.
const char* Template(int32_t code) {
  switch (code) {
    case 1:
      return "Der HKey wurde nicht angegeben.";
    case 2:
      return "Der Access-Pfad kann nicht aus der Registry ermittelt werden.";
    case 3:
      return "Die Datei '##' wurde nicht gefunden.";
    case 4:
      return "Der Schlüssellisten-Eintrag '##' ist fehlerhaft bzw. kann nicht interpretiert werden.";
    case 5:
      return "Die Datenbank '##' ist nicht vorhanden.";
    case 7:
      return "Kann den Eintrag des Profiles '##' nicht in der Registry finden.";
    case 8:
      return "Der Schlüssellisten-Eintrag '##' enthält keinen Verweis auf den HKey.";
    case 9:
      return "System-Datenbank '##' nicht gefunden.";
    case 10:
      return "Die Liste der Registryschlüssel für den Access-Pfad konnte nicht analysiert werden.";
    case 11:
      return "Die benutzerdefinierten Registryeinträge für den Access-Pfad sind nicht vorhanden, enthalten keinen "
             "Wert oder an den angegebenen Positionen wurde keine ausführbare Access-Datei gefunden.";
    case 12:
      return "Die Liste der Registryschlüssel für den Datenbank-Pfad konnte nicht analysiert werden.";
    case 13:
      return "Die benutzerdefinierten Registryeinträge für den Datenbank-Pfad sind nicht vorhanden, enthalten keinen "
             "Wert oder an den angegebenen Positionen wurde keine Datenbank gefunden.";
    case 14:
      return "Die Liste der Registryschlüssel für den Pfad der Systemdatenbank konnte nicht analysiert werden.";
    case 15:
      return "Die benutzerdefinierten Registryeinträge für den Pfad der Systemdatenbank sind nicht vorhanden, "
             "enthalten keinen Wert oder an den angegebenen Positionen wurde keine Systemdatenbank gefunden.";
    case 16:
      return "'##' ist kein zulässiger Wert.";
    case 17:
      return "'##' ist kein zulässiger Wert für die Eigenschaft 'AccVersion'.";
    case 18:
      return "Der Wert für '##' kann nicht an Access übergeben werden: Er enthält ein Anführungszeichen oder ein "
             "Steuerzeichen oder endet mit einem umgekehrten Schrägstrich.";
    default:
      return "";
  }
}

}  // namespace

std::string RunMdbErrorDescription(int32_t code, const std::string& arg, const std::string& exe_name) {
  if (code == kRunMdbNoDatabaseInfo) {
    return "Es sind keine Pfadinformationen für die zu startende Datenbank verfügbar.\r\nWenn Sie keinen Pfad "
           "angeben, muss sich eine Datenbank namens '" +
           exe_name + ".mdb/mde/mda' im Programmpfad befinden.";
  }
  // One pass over the template, so nothing inserted is searched again.
  const std::string text = Template(code);
  std::string out;
  size_t from = 0;
  for (;;) {
    const size_t hash = text.find("##", from);
    const size_t brk = text.find("@@", from);
    const size_t next = std::min(hash, brk);
    if (next == std::string::npos) break;
    out.append(text, from, next - from);
    out += next == hash ? arg : "\r\n";
    from = next + 2;
  }
  out.append(text, from);
  return out;
}

}  // namespace krv
