#include "suite/BackendSwitch.h"

#include "base/KrvError.h"
#include "suite/SuiteNames.h"
#include "suite/krvBackend.h"
#include "suite/krvLibrary.h"
#include "suite/muKRVFunctions.h"

namespace krv {
namespace {

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace

bool OpenBackendProbe::CanOpen(const std::string& path, std::string* why) {
  if (!fs_.FileExists(path)) {
    *why = "Das Daten-Backend " + Quoted(path) + " ist nicht vorhanden.";
    return false;
  }
  std::string head, err;
  if (!fs_.ReadFileRange(path, 0, kBackendHeaderSize, &head, &err)) {
    *why = "Die Datei " + Quoted(path) + " kann nicht gelesen werden:\r\n" + err;
    return false;
  }
  if (EngineFromHeader(head) == DbEngine::kUnknown) {
    *why = "Die Datei " + Quoted(path) +
           " ist kein Daten-Backend: Sie ist weder eine Access-Datenbank (Jet oder ACE) noch eine "
           "SQLite-Datenbank.\r\nDas bisherige Daten-Backend bleibt eingestellt.";
    return false;
  }
  if (!db_) return true;
  try {
    krvBackend(db_, path).IsEmpty();
  } catch (const KrvError& e) {
    *why = e.description + "\r\nDas bisherige Daten-Backend bleibt eingestellt.";
    return false;
  }
  return true;
}

bool SwitchBackend(krvLibrary& lib, BackendProbe& probe, const std::string& path, std::string* why) {
  if (!probe.CanOpen(path, why)) return false;
  // One value, written by the registry in one atomic step.
  if (SaveSetting(lib, kBackendPathSetting, path)) return true;
  *why = "Der Pfad des Daten-Backends " + Quoted(path) + " kann nicht gespeichert werden.";
  return false;
}

}  // namespace krv
