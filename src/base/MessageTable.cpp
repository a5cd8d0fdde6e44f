// The starter's German messages by id. "##" placeholders are filled in order
// and "@@" is a line break (cuAppError::MsgParse). Id 124 is not used.
#include "base/MessageTable.h"

#include <map>

namespace krv {

namespace {

// Built once; three texts carry a download address.
const std::map<int32_t, std::string>& Table() {
  static const std::map<int32_t, std::string> table = {
      {101, "KORVELLA II kann nicht gestartet werden."},
      {102, "Der Parameter '##' ist unbekannt."},
      {103,
       "Es läuft bereits eine KORVELLA-Instanz.@@Bitte wählen Sie diese aus der Taskleiste aus oder beenden Sie sie "
       "zunächst."},
      {104, "Das KORVELLA-Kompressionsprogramm ist geöffnet.@@Bitte beenden Sie es, bevor Sie KORVELLA starten."},
      {105,
       "Es läuft zur Zeit eine Access-Anwendung.@@Wenn Sie diese nicht zuerst beenden, wird eine neue Instanz erstellt "
       "und Ihr System unnötig belastet.@@Möchten Sie trotzdem forfahren?"},
      {106,
       "## benötigt Microsoft® Access 97, um zu funktionieren.@@Auf Ihrem System wurde aber weder die normalerweise "
       "zum ##-Lieferumfang gehörende Access-Laufzeitkomponente noch eine Access-Vollversion gefunden."},
      {107, std::string("Es gibt folgende mögliche Ursachen für diesen Fehler:@@1. Sie haben eine Office "
                        "97-Standardversion installiert. Access 97 ist aber nur im Office 97-Professional "
                        "enthalten.@@2. Sie haben Ihr Office inzwischen deinstalliert, aber es wurden nicht alle "
                        "Registry-Einträge ordnungsgemäss gelöscht. Sie müssen es wieder installieren, um ## benutzen "
                        "zu können.@@3. Die Registry-Einträge für Office 97 sind nicht korrekt.@@4. Sie haben das "
                        "falsche Seupprogramm für ## aus dem Internet heruntergeladen. Laden Sie unter der Adresse ") +
                kSetupDownloadUrl + " das korrekt Setupprogramm (inkl. Access-Runtime) herunter."},
      {108,
       "5. Ihre ##-Installation ist defekt. Wenn Sie die anderen aufgeführten Fehler ausschließen können, installieren "
       "Sie ## neu."},
      {109, "Die Ausführung der Befehlszeile '##' ist fehlgeschlagen."},
      {110,
       "Fehler beim Laden der DLL '##'.@@Die DLL ist offensichtlich nicht korrekt registriert. Bitte installieren Sie "
       "KORVELLA neu."},
      {111, "Falsche Version der KORVELLA-Library '##'."},
      {112, "Fehler bei der Initialisierung der DLLs:"},
      {113, "(Soll: ## / Ist: ##)"},
      {114,
       "Der Ordner '##', den Sie als Zielordner für automatische Backups des Daten-Backends angegeben haben, existiert "
       "nicht.@@@@Es kann daher kein automatisches Backup angelegt werden. Möchten Sie den Pfad korrigieren?"},
      {115,
       "Es ist zu wenig Speichernplatz auf Laufwerk ## (##) vorhanden, um ein Backup des Daten-Backends anzulegen."},
      {116, std::string("Es befindet sich keine kompatible Office-Version auf Ihrem Rechner.@@KORVELLA benötigt eine "
                        "Access 97 Voll- oder Laufzeitversion. Die Laufzeitversion ist normalerweise im Lieferumfang "
                        "enthalten. Sie haben wahrscheinlich das falsche Setuprogramm ausgeführt oder aus dem Internet "
                        "heruntergeladen. Laden Sie bitte unter der Adresse ") +
                kSetupDownloadUrl +
                " das korrekt Setupprogramm (inkl. Access-Runtime) herunter und installieren Sie es anschließend."},
      {117,
       "Bitte ändern Sie die Einstellungen auf der Seite <Startoptionen> nur, wenn Sie sich über die Konsequenzen im "
       "Klaren sind, bzw. Sie vom Support dazu aufgefordert wurden.@@Falsche Einstellungen auf dieser Seite können zu "
       "Fehlfunktionen führen."},
      {118,
       "Der Retail-Schalter ist gesetzt, es wurde jedoch keine Access 97-Vollversion, sondern nur die Runtime "
       "gefunden.@@Bitte den Schalter in der Registry löschen.@@Fortfahren?"},
      {119,
       "Der Retail-Schalter ist gesetzt, es wurde jedoch weder eine Access 97-Vollversion noch die Runtime "
       "gefunden.@@Der Start wird abgebrochen."},
      {120,
       "Wenn das Befehlszeilenargument '/D' angegeben wird, muss auch die gewünschte Verzögerungszeit angegeben "
       "werden."},
      {121, "Dieses Programm kann nicht ausgeführt werden, wenn der Pfad des Backends nicht gesetzt wurde."},
      {122,
       "Das Daten-Backend '##' enthält (noch) keine Daten.@@@@Es wurde jedoch eine installierte KORVELLA 2000-Version "
       "auf Ihrem Computer gefunden. Soll das Upgrade-Programm gestartet werden, mit dessen Hilfe Sie die Daten Ihres "
       "KORVELLA 2000-Backends in ein Backend für KORVELLA II importieren können?"},
      {123,
       "Es wurde ein Administratorkennwort für KORVELLA definiert.@@Die Einstellungen können daher nur nach Eingabe "
       "des Kennworts bearbeitet werden.@@Möchten Sie das Kennwort erneut eingeben?"},
      {125,
       "Die AutoBackup-Funktion wird jetzt abgeschaltet, da kein Zielordner angegeben ist.@@@@Sie können die Funktion "
       "über die KORVELLA 'Adminstrator Tools' wieder aktivieren. Vergessen Sie nicht, bis dahin manuelle "
       "Sicherheitskopien Ihres Daten-Backends anzulegen!"},
      {126, "Sie können die Einstellungen nicht ändern, während KORVELLA geöffnet ist."},
      {127, "Sie können die Einstellungen nicht ändern, während der KORVELLA-Browser geöffnet ist."},
      {128, "Sie können die Einstellungen nicht ändern, während das Kompressionsprogramm geöffnet ist."},
      {129, "KORVELLA ist bereits geöffnet.@@Sie können den Browser und KORVELLA nicht gleichzeitig betreiben."},
      {130,
       "Das Kompressionsprogramm ist geladen.@@Sie können den Browser nicht starten, während das Kompressionsprogramm "
       "geöffnet ist."},
      {131, "Der Browser ist bereits geladen.@@Sie können nicht mehrere Instanzen gleichzeitig öffnen."},
      {132, "Kann die Datei '##' nicht finden."},
      {133, "Kommandozeile:@@##"},
      {134, "Beim Starten des Backend-Updateprogrammes ist Fehler Nr. ## aufgetreten:@@##"},
      {135, "Startoptionen auswerten ..."},
      {136, "Accessversion wird ermittelt ...."},
      {137, "Access wird gestartet ...."},
      {138, "AutoBackup-Einstellungen prüfen ..."},
      {139, "Sicherheitskopie vom Daten-Backend wird angelegt ..."},
      {140, "KORVELLA - Testmodus"},
      {141, "Wählen Sie den Ordner, in dem Sicherheitskopien angelegt werden sollen"},
      {142,
       "Das Daten-Backend konnte nicht wieder reaktiviert werden.@@@@Die ist ein schwerwiegender Fehler. Das Programm "
       "muss beendet werden. Kopieren Sie manuell ein funktionsfähiges Daten-Backend in Ihren Programmordner und "
       "starten Sie das Programm dann erneut."},
      {143, "Die Datei wurde erfolgreich kopiert.@@Das vorher eingebundene Daten-Backend wurde in '##' umbenannt."},
      {144,
       "Möchten Sie die gewählte Sicherheitskopie wirklich installieren?@@@@Das momentan aktive Daten-Backend '##' "
       "wird in '##' umbenannt."},
      {145, "Es läuft bereits eine Instanz des Startprogramms.@@Bitte wählen Sie diese aus der Taskleiste aus."},
      {146,
       "KORVELLA benötigt eine Minmal-Bildschirmauflösung von 1024 x 768.@@Das Programm kann in der aktuellen "
       "Auflösung von ## x ## nicht ausgerführt werden."},
      {147,
       "Ihre Grafikkarte scheint auf 'Große Schriftarten' eingestellt zu sein.@@@@In diesem Modus können Sie das "
       "Programm erst ab einer Auflösung von 1024x768 benutzen."},
      {148,
       "Ihre Grafikkarte scheint auf 'Große Schriftarten' eingestellt zu sein.@@In diesem Modus können Probleme mit "
       "der Positionierung diverser Formulare auftreten.@@Möchten Sie trotzdem fortfahren?"},
      {149, "Die Sicherheitskopie '##' wurde ordnungsgemäß erstellt."},
      {150, "Bitte geben Sie den Ordner an, in dem die Sicherheitskopie erstellt werden soll"},
      {151, "Die Funktion wird abgebrochen und die AutoBackup-Funktion ausgeschaltet."},
      {152, "Möchten Sie wirklich eine Sicherheitskopie des Daten-Backends anlegen?"},
      {153, "Beim Starten der Administrator Tools ist Fehler Nr. ## aufgetreten:@@##"},
      {154, "Sicherheitskopie vom Daten-Backend wird angelegt ..."},
      {155, "Sie können die Einstellungen nicht ändern, während das Backend Upgradeprogramm geöffnet ist."},
      {156,
       "Das Backend Upgradeprogramm ist geöffnet.@@Sie können den Browser nicht starten, während das Backend "
       "Upgradeprogramm geöffnet ist."},
      {157, "Das Backend Upgradeprogramm ist geöffnet.@@Bitte beenden Sie es, bevor Sie KORVELLA starten."},
      {158, "Sie können die Einstellungen nicht ändern, während das Installationsprogramm geöffnet ist."},
      {159,
       "Das Installationsprogramm ist geöffnet.@@Sie können den Browser nicht starten, während das "
       "Installationsprogramm geöffnet ist."},
      {160, "Das Installationsprogramm ist geöffnet.@@Bitte beenden Sie es, bevor Sie KORVELLA starten."},
      {161, "Wählen Sie den Ordner, in den Updates heruntergeladen werden sollen"},
      {162,
       "KORVELLA ist bereits geöffnet.@@Sie können das VersionsInfo-Programm und KORVELLA nicht gleichzeitig "
       "betreiben."},
      {163,
       "Das Kompressionsprogramm ist geladen.@@Sie können das VersionsInfo-Programm nicht starten, während das "
       "Kompressionsprogramm geöffnet ist."},
      {164,
       "Das Backend Upgradeprogramm ist geöffnet.@@Sie können das VersionsInfo-Programm nicht starten, während das "
       "Backend Upgradeprogramm geöffnet ist."},
      {165,
       "Das Installationsprogramm ist geöffnet.@@Sie können das VersionsInfo-Programm nicht starten, während das "
       "Installationsprogramm geöffnet ist."},
      {166,
       "Der KORVELLA Browser ist geladen.@@Sie können das VersionsInfo-Programm nicht starten, während der Browser "
       "geöffnet ist."},
      {167, "Wählen Sie ein Wörterbuch für die Rechtschreibprüfung"},
      {168,
       "Es ist offensichtlich keine kompatible Rechtschreibprüfung installiert. Installieren Sie die "
       "Rechtschreibprüfung von Microsoft Word, um diese Option zu verwenden."},
      {169, "Fehler Nr. ## beim Prüfen der Rechtsschreibungsoption: ##"},
      {170,
       "Es wird empfohlen, das Daten-Backend zu komprimieren.@@@@Die Dateigröße des Backends ist seit der letzten "
       "Aufzeichnung am ## deutlich gestiegen (##).@@@@Soll das Backend jetzt komprimiert werden?"},
      {171, "Beim Starten des Kompressionsprogramms ist Fehler Nr. ## aufgetreten:@@##"},
      {172, "von ## auf ##"},
      {173,
       "Bitte beachten Sie, dass das Zuweisen einer anderen Autokorrekturliste sich auch auf andere Office "
       "97-Programme (z.B. Word 97) auswirkt."},
      {174, "Wählen Sie eine Autokorrekturliste"},
      {175, "Sie können die Einstellungen nicht ändern, während die Replikationserweiterung geöffnet ist."},
      {176,
       "Die Replikationserweiterung ist geöffnet.@@Sie können den Browser nicht starten, während die "
       "Replikationserweiterung geöffnet ist."},
      {177,
       "Die Replikationserweiterung ist geöffnet.@@Sie können das VersionsInfo-Programm nicht starten, während die "
       "Replikationserweiterung geöffnet ist."},
      {178,
       "Die Replikationserweiterung ist geladen.@@Sie können KORVELLA nicht starten, während die "
       "Replikationserweiterung geöffnet ist."},
      {179,
       "Das Daten-Backend '##' ist fragmentiert und muss daher komprimiert werden.@@Komprimieren Sie jetzt bitte das "
       "Backend und starten Sie KORVELLA dann erneut."},
      {180,
       "Das aktuelle Daten-Backend '##' kann nicht komprimiert werden, da es auf einem Netzwerkserver liegt.@@Bitte "
       "führen Sie das Kompressionsprogramm entweder auf dem Computer '##' aus oder kopieren Sie das Backend zunächst "
       "auf eine lokale Festplatte, komprimieren es und kopieren es dann wieder auf den Server zurück."},
      {181, "Es wird die Rechtschreibprüfung von Microsoft Word verwendet."},
      {182,
       "Ihr Daten-Backend hat die Version ##, es wird jedoch die Version ## benötigt.@@Sie können dieses Backend daher "
       "in Ihrer aktuellen KORVELLA-Umgebung nicht verwenden, ohne es vorher auf die genannte Version zu "
       "aktualisieren.@@@@Es wurde festgestellt, dass Ihr vorhandenes Backend-Updateprogramm verwendet werden kann, um "
       "das Daten-Backend auf die korrekte Version zu aktualisieren. Möchten Sie die Aktualisierung jetzt vornehmen?"},
      {183,
       "Ihre AutoBackup-Einstellung ist fehlerhaft.@@@@Sie haben als Zielordner für Sicherheitskopien denjenigen "
       "Ordner angegeben, in dem das gerade verwendete Daten-Backend liegt ('##'). Dies ist nicht zulässig.@@@@Bitte "
       "klicken Sie im KORVELLA-Startmenü auf <Einstellungen>, dann auf die Registerkarte <AutoBackup> und geben Sie "
       "einen Pfad an, in dem ausschließlich Sicherheitskopien, aber keine 'regulären' Daten-Backends gespeichert "
       "werden."},
      {184,
       "Im gewählten Ordner liegt ein KORVELLA II-Backend. Dieser Ordner kann daher für Sicherheitskopien nicht "
       "verwendet werden.@@@@Bitte wählen Sie einen Ordner, indem ausschließlich (!) Sicherheitskopien gespeichert "
       "werden. Vermeiden Sie anschließend auf jeden Fall, im AutoBackup-Ordner zusätzlich 'reguläre' KORVELLA II "
       "Daten-Backends abzulegen."},
      {185, "Beim Starten des Patchprogramms ist Fehler Nr. ## aufgetreten:@@##"},
      {186,
       "Das System zeigt an, dass das KORVELLA-Patchprogramm gestartet werden muss.@@@@Dieses Programm prüft Ihre "
       "KORVELLA-Installation und nimmt ggf. einige Korrekturen vor. Der Prüfvorgang dauert nur einige "
       "Sekunden.@@@@Für die Ausführung des Patchprogramms sind Administratorrechte erforderlich. Wenn Sie nicht "
       "Administrator dieses Computers sind, sollten Sie das Programm jetzt beenden (klicken Sie dafür auf "
       "<Abbrechen>). Benachrichtigen Sie den Administrator und lassen Sie ihn das KORVELLA-Startprogramm (und damit "
       "das Patchprogramm) erneut ausführen.@@@@Soll das Patchprogramm jetzt gestartet werden?"},
      {187,
       "Die gewählte Sicherheitskopie kann mit der aktuell installierten KORVELLA-Version nicht verwendet werden "
       "(Ist-Version: ##, Soll-Version: ##)."},
      {188,
       "Sie müssen das Daten-Backend zuerst mit dem KORVELLA II Backend-Updateprogramm ('##') auf die Version '##' "
       "bringen, bevor sie es verwenden können. "},
      {189,
       "Kopieren Sie die Datei '##' daher mit dem Windows-Explorer in einen beliebigen temporären Ordner, nennen Sie "
       "sie in '##' um und verwenden Sie dann das KORVELLA II Backend-Updateprogramm, um das Daten-Backend auf die "
       "aktuelle Version zu bringen."},
      {190,
       "Die gewählte Sicherheitskopie sollte mit der aktuell installierten KORVELLA-Version nicht verwendet werden "
       "(Ist-Version: ##, Soll-Version: ##), da sie eine höhere Version hat als erwartet. Installieren Sie eine "
       "aktuellere KORVELLA-Version, um dieses Daten-Backend zu verwenden!"},
      {191, "Möchten Sie dennoch versuchen, diese Sicherheitskopie zu verwenden?"},
      {192, "Beim Starten des VersionsInfos ist Fehler Nr. ## aufgetreten:@@##"},
      {193,
       "Das letzte Online-Update liegt ## Tage zurück.@@Sie sollten regelmäßig prüfen, ob neue Updates vorhanden "
       "sind.@@Soll jetzt das VersionsInfo-Programm gestartet werden?"},
      {194, "Soll die Erinnerungsfunktion für Online-Updates abgeschaltet werden?"},
      {195, "Das Daten-Backend '##' ist nicht vorhanden."},
      {196,
       "Sie verwenden Replikation und das System zeigt an, dass die Gültigkeit Ihrer Replikationsgruppe am ## "
       "abläuft.@@Synchronisieren Sie Ihre Replikationsgruppe unbedingt bis zu diesem Termin, denn nach Ablauf der "
       "Gültigkeit ist keine Synchronisation mehr möglich."},
      {197,
       "Das Backend Upgradeprogramm ist geöffnet.@@Sie können dasKompressionsprogramm nicht starten, während das "
       "Backend Upgradeprogramm geöffnet ist."},
      {198, "Sie können das Kompressionsprogramm nicht starten, während KORVELLA geöffnet ist."},
      {199,
       "Das Installationsprogramm ist geöffnet.@@Sie können das Kompressionsprogrammrogramm nicht starten, während das "
       "Installationsprogramm geöffnet ist."},
      {200,
       "Der KORVELLA Browser ist geladen.@@Sie können das Kompressionsprogramm nicht starten, während der Browser "
       "geöffnet ist."},
      {201,
       "Die Replikationserweiterung ist geöffnet.@@Sie können das Kompressionsprogramm nicht starten, während die "
       "Replikationserweiterung geöffnet ist."},
      {202, "Das Kompressionsprogramm ist bereits geladen.@@Sie können nicht mehrere Instanzen gleichzeitig öffnen."},
      {203,
       "Soll diese Meldung beim nächsten Start erneut angezeigt werden, wenn das Backend nicht inzwischen manuell "
       "komprimiert wurde? "},
      {204,
       "Für die gewünschte Funktion ist Administratorberechtigung erforderlich.@@Führen Sie dieses Programm 'als "
       "Administrator' aus oder benachrichtigen Sie den Administrator, damit dieser die gewünschten Einstellungen "
       "vornimmt."},
      {205,
       "Das letzte Online-Update liegt ## Tage zurück.@@Sie sollten regelmäßig prüfen, ob neue Updates vorhanden "
       "sind.@@Verwenden Sie das Programm 'VersionsInfo', um nach Updates zu suchen bzw. sie zu "
       "installieren.@@Beachten Sie, dass Administratorrechte nötig sind, um Updates zu installieren. Sie müssen das "
       "VersionsInfo daher explizit 'als ein Administrator' starten.@@@@Soll diese Meldung weiterhin angezeigt "
       "werden?"},
      {206,
       "Installationsfehler: Es konnte keine Instanz der KORVELLA HelperDLL erstellt werden. Bitte installieren Sie "
       "KORVELLA neu."},
      {207, "Die Komponente '##' ist nicht korrekt registriert. Installieren Sie KORVELLA neu."},
      {208, "Fehler Nr. ## beim Erstellen der Komponente '##':@@##.@@@@Bitte installieren Sie KORVELLA neu."},
      {209,
       "Das aktuelle Benutzerkonto hat kein Schreibrecht für den Ordner '##', der als Zielordner für die "
       "AutoBackup-Funktion festgelegt wurde. Bitte ändern Sie die Rechte für den genannten Ordner oder korrigieren "
       "Sie die AutoBackup-Einstellungen."},
      {210,
       "Der Ordner '##', der als Zielordner für automatische Backups des Daten-Backends angegeben wurde, existiert "
       "nicht.@@@@Es kann daher keine automatische Sicherheitskopie angelegt werden."},
      {211, "Die Datei '##' ist nicht vorhanden."},
      {212,
       "Das System zeigt an, dass das KORVELLA-Patchprogramm gestartet werden muss.@@@@Dieses Programm prüft Ihre "
       "KORVELLA-Installation und nimmt ggf. einige Korrekturen vor. Der Prüfvorgang dauert nur einige "
       "Sekunden.@@@@Soll das Patchprogramm jetzt gestartet werden (empfohlen)?"},
      {213, "Die Datei '##' wurde nicht gefunden."},
      {214,
       "Das KORVELLA Dienstprogramm, das anschließend gestartet wird, wird Administratorrechte von Ihnen "
       "anfordern.@@Möchten Sie fortfahren?"},
      {215,
       "Das Startprogramm wird nun beendet und das KORVELLA-Dienstprogramm wird gestartet, um die Berechtigungen "
       "freizugeben.@@Fortfahren?"},
      {216,
       "Bitte beachten Sie, dass Sie diese Überprüfung in den Einstellungen auf der Seite <Weitere Optionen> ggf. "
       "wieder einschalten können."},
      {217,
       "KORVELLA erfordert eine Microsoft Access Voll- oder Laufzeit-Version (ab Access 2002/XP).@@Bitte geben Sie "
       "zunächst in den Einstellungen an, welche Access-Version verwendet werden soll.@@Starten Sie das KORVELLA "
       "Startprogramm danach bitte erneut."},
      {218,
       "KORVELLA erfordert eine Microsoft Access Voll- oder Laufzeit-Version (ab Access 2002/XP).@@Sie müssen zunächst "
       "in den KORVELLA-Einstellungen angeben, welche Access-Version verwendet werden soll.@@@@Hierzu sind allerdings "
       "Administrator-Rechte erforderlich, die Sie momentan nicht besitzen. Bitte starten Sie daher dieses Programm "
       "erneut mit der Option \"als ein Administrator\"."},
      {219, "Beim Starten der Administrator Tools ist Fehler Nr. ## aufgetreten:@@##"},
      {220, std::string("KORVELLA kann keine kompatible Microsoft Access-Version auf Ihrem Computer finden.@@@@Es ist "
                        "eine Microsoft Access Voll- oder Laufzeit-Version ab Access 2002/XP erforderlich.@@@@Sie "
                        "können eine Access-Laufzeitversion kostenlos unter ") +
                kAccessRuntimeDownloadUrl + " herunterladen."},
      {221, "Die Funktion wird abgebrochen."},
      {222,
       "Zum Ändern der AutoBackup-Einstellungen sind Administratorrechte erforderlich.@@Bitte starten Sie die "
       "'KORVELLA Administrator-Tools', um die AutoBackup-Einstellungen zu korrigieren und zu vermeiden, dass diese "
       "Fehlermeldung bei jedem KORVELLA-Start erscheint."},
      {223,
       "Das Daten-Backend '##' enthält (noch) keine Daten.@@@@Es wurde jedoch eine installierte KORVELLA II-Version "
       "auf Ihrem Computer gefunden. Soll das Upgrade-Programm gestartet werden, mit dessen Hilfe Sie die Daten Ihres "
       "KORVELLA II-Backends in ein Backend für KORVELLA II.5 importieren können?"},
      {224,
       "## Systemkomponenten sind veraltet.@@Es kann nicht gewährleistet werden, dass KORVELLA mit den nachfolgend "
       "aufgeführten Komponentenversionen ordnungsgemäß funktioniert.@@Bitte installieren Sie KORVELLA neu oder "
       "versuchen Sie es alternativ mit einem Windows-Update.@@Dies sind die betroffenen Dateien:"},
      {225, "Klciken Sie auif <OK>, wenn Sie KORVELLA trotz dieses Konflikts starten möchten."},
      {226,
       "Die KORVELLA Administrator-Tools werden ausgeführt.@@Bitte beenden Sie diese, bevor Sie weitere "
       "KORVELLA-Funktionen verwenden."},
      {227, "Beim Starten des Kompressionsprogramms ist Fehler Nr. ## aufgetreten:@@##"},
      {500, "Datei nicht gefunden: ##"},
      {501, "Der Pfad kann nicht geändert werden, da KORVELLA geöffnet ist."},
      {502, "Der Pfad kann nur vom Administrator geändert werden."},
      {503, "Sollen wirklich alle Änderungen verworfen werden?"},
      {504,
       "Wenn Sie die Adminstrator-Tools starten, wird das aktuelle Programm geschlossen.@@Sollen Ihre Änderungen "
       "übernommen werden?"},
  };
  return table;
}

}  // namespace

const std::string* FindMessage(int32_t id) {
  const auto& table = Table();
  const auto it = table.find(id);
  return it == table.end() ? nullptr : &it->second;
}

std::vector<int32_t> MessageIds() {
  std::vector<int32_t> ids;
  for (const auto& entry : Table()) ids.push_back(entry.first);
  return ids;
}

}  // namespace krv
