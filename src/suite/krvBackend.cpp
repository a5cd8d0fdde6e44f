#include "suite/krvBackend.h"

#include <cstdio>
#include <random>

#include "base/KrvError.h"
#include "base/Text.h"

namespace krv {
namespace {

constexpr char kSource[] = "IObjects: Backend";
constexpr int kMaxFreePercent = 25;

std::string Bracket(const std::string& table) { return "[" + table + "]"; }

std::string OpenFailureText(DbStatus status, const std::string& path) {
  switch (status) {
    case DbStatus::kFileMissing:
      return "Das Daten-Backend '" + path + "' ist nicht vorhanden.";
    case DbStatus::kNotDatabase:
      return "Die Datei '" + path + "' ist kein Daten-Backend (keine Jet-, ACE- oder SQLite-Datenbank).";
    case DbStatus::kNoDriver:
      return "Für das Daten-Backend '" + path + "' ist kein passender ODBC-Treiber installiert.";
    case DbStatus::kLocked:
      return "Das Daten-Backend '" + path + "' ist von einem anderen Programm gesperrt.";
    default:
      return "Das Daten-Backend '" + path + "' kann nicht geöffnet werden.";
  }
}

// A statement whose first row the driver delivers without reading the rest.
std::string FirstRow(DbEngine engine, const std::string& table) {
  return engine == DbEngine::kSqlite ? "SELECT * FROM " + Bracket(table) + " LIMIT 1"
                                     : "SELECT * FROM " + Bracket(table);
}

std::optional<LocalTime> ParseIsoDate(const std::string& text) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) < 3 || m < 1 || m > 12 || d < 1 || d > 31)
    return std::nullopt;
  LocalTime t;
  t.year = y;
  t.month = m;
  t.day = d;
  return t;
}

}  // namespace

krvBackend::krvBackend(Database* db, std::string path) : db_(db), path_(std::move(path)) {}

void krvBackend::Raise(const std::string& what, const std::string& diagnostic) const {
  throw KrvError(kErrBackendDatabase, kSource,
                 diagnostic.empty() ? what : what + "\r\n\r\nMeldung des Treibers: " + diagnostic);
}

DbConnection& krvBackend::Conn() {
  if (conn_) return *conn_;
  if (!db_) Raise("Für das Daten-Backend '" + path_ + "' steht kein Datenbankdienst zur Verfügung.", "");
  DbStatus status = DbStatus::kFailed;
  std::string err;
  conn_ = db_->Open(path_, &status, &err);
  if (!conn_) Raise(OpenFailureText(status, path_), err);
  return *conn_;
}

std::string krvBackend::Query(const std::string& sql, bool* has_row) {
  std::string value, err;
  if (!Conn().QueryValue(sql, &value, has_row, &err)) Raise("Fehler im Daten-Backend '" + path_ + "'.", err);
  return value;
}

int64_t krvBackend::RecordCount(const std::string& table, const std::string& criterion) {
  bool has_row = false;
  const std::string n =
      Query("SELECT COUNT(*) FROM " + Bracket(table) + (criterion.empty() ? "" : " WHERE " + criterion), &has_row);
  const std::optional<double> value = NumericValue(n);
  if (!has_row || !value) Raise("Fehler im Daten-Backend '" + path_ + "': keine Anzahl für " + table + ".", n);
  return static_cast<int64_t>(*value);
}

// The first row only: counting would read the whole table of a large backend.
bool krvBackend::IsEmpty() {
  bool has_row = false;
  Query(FirstRow(Conn().Engine(), kAddressTable), &has_row);
  return !has_row;
}

bool krvBackend::LockCheck() { return Conn().ReadOnly(); }

bool krvBackend::IsReplica() { return ReplicaExpiry().has_value(); }

std::optional<LocalTime> krvBackend::ReplicaExpiry() {
  bool exists = false;
  std::string err;
  if (!Conn().HasTable(kReplicaTable, &exists, &err)) Raise("Fehler im Daten-Backend '" + path_ + "'.", err);
  if (!exists) return std::nullopt;
  bool has_row = false;
  const std::string text = Query("SELECT [Expires] FROM " + Bracket(kReplicaTable), &has_row);
  if (!has_row) return std::nullopt;
  std::optional<LocalTime> date = ParseIsoDate(text);
  if (!date)
    Raise("Das Ablaufdatum der Replikation im Daten-Backend '" + path_ + "' ist ungültig: '" + text + "'.", "");
  return date;
}

bool krvBackend::TableTest(const std::string& table) {
  DbConnection& c = Conn();
  std::string value, err;
  bool has_row = false;
  if (!c.QueryValue(FirstRow(c.Engine(), table), &value, &has_row, &err)) return false;
  if (c.Engine() != DbEngine::kSqlite) return true;
  const std::optional<double> pages = NumericValue(Query("PRAGMA page_count", &has_row));
  const std::optional<double> free_pages = NumericValue(Query("PRAGMA freelist_count", &has_row));
  if (!pages || !free_pages) Raise("Die Seitenzahlen des Daten-Backends '" + path_ + "' sind nicht lesbar.", "");
  return *free_pages * 100 < *pages * kMaxFreePercent;
}

void krvBackend::EmptyTable(const std::string& table, bool fail_on_error) {
  std::string err;
  if (!Conn().Execute("DELETE FROM " + Bracket(table), nullptr, &err) && fail_on_error)
    Raise("Die Tabelle " + table + " im Daten-Backend '" + path_ + "' kann nicht geleert werden.", err);
}

std::string krvBackend::StoredGuid() {
  DbConnection& c = Conn();
  if (c.ReadOnly()) return {};
  bool exists = false, has_row = false;
  std::string value, err;
  if (!c.HasTable(kIdentifierTable, &exists, &err)) return {};
  if (exists && c.QueryValue("SELECT [ID] FROM " + Bracket(kIdentifierTable), &value, &has_row, &err) && !value.empty())
    return value;
  if (!exists && !c.Execute("CREATE TABLE " + Bracket(kIdentifierTable) + " ([ID] TEXT)", nullptr, &err)) return {};
  const std::string guid = NewGuid();
  if (!c.Execute("INSERT INTO " + Bracket(kIdentifierTable) + " ([ID]) VALUES ('" + guid + "')", nullptr, &err))
    return {};
  return guid;
}

std::string krvBackend::Identifier() {
  if (id_.empty()) id_ = StoredGuid();
  if (id_.empty()) id_ = PathIdentifier(path_);
  return id_;
}

std::string NewGuid() {
  std::random_device rd;
  unsigned char b[16];
  for (unsigned char& x : b) x = static_cast<unsigned char>(rd());
  char out[40];
  std::snprintf(out, sizeof(out), "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[0], b[1],
                b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  return out;
}

std::string PathIdentifier(const std::string& path) {
  uint64_t h = 14695981039346656037ull;
  for (const char ch : LowerCase(path)) {
    h ^= static_cast<unsigned char>(ch);
    h *= 1099511628211ull;
  }
  char out[24];
  std::snprintf(out, sizeof(out), "P%016llX", static_cast<unsigned long long>(h));
  return out;
}

}  // namespace krv
