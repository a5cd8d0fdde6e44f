// The database service over ODBC, the same source for unixODBC and odbc32.
// The ANSI entry points are used on purpose: Wine only stubs the "...A" and
// the wide names map to them when UNICODE is defined, so it is undefined here.
#undef UNICODE
#undef _UNICODE
#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <cstring>
#include <vector>

#include "platform/Database.h"
#include "platform/OdbcFile.h"

namespace krv {
namespace {

constexpr size_t kHeadBytes = 32;

// The first diagnostic record of `handle` as "SQLSTATE: text"; must be read
// before any other call on the handle overwrites it.
std::string Diagnostic(SQLSMALLINT type, SQLHANDLE handle, std::string* state = nullptr) {
  SQLCHAR sqlstate[6] = {0};
  SQLCHAR text[1024] = {0};
  SQLINTEGER native = 0;
  SQLSMALLINT len = 0;
  const SQLRETURN rc = SQLGetDiagRec(type, handle, 1, sqlstate, &native, text, sizeof(text), &len);
  if (!SQL_SUCCEEDED(rc)) return "keine Diagnose des Treibers";
  if (state) *state = reinterpret_cast<char*>(sqlstate);
  return std::string(reinterpret_cast<char*>(sqlstate)) + ": " + reinterpret_cast<char*>(text);
}

// "Driver not found": IM002, or unixODBC's "Can't open lib" for a name it
// does not know (as Wine's odbc32 passes it on).
bool DriverMissing(const std::string& state, const std::string& diag) {
  return state == "IM002" || diag.find("Can't open lib") != std::string::npos;
}

bool LooksLocked(const std::string& diag) {
  return diag.find("locked") != std::string::npos || diag.find("busy") != std::string::npos;
}

class OdbcConnection final : public DbConnection {
 public:
  OdbcConnection(SQLHENV env, SQLHDBC dbc, DbEngine engine, bool read_only)
      : env_(env), dbc_(dbc), engine_(engine), read_only_(read_only) {}
  ~OdbcConnection() override {
    SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
  }
  DbEngine Engine() const override { return engine_; }
  bool ReadOnly() const override { return read_only_; }

  bool Execute(const std::string& sql, int64_t* rows, std::string* err) override {
    SQLHSTMT st = nullptr;
    if (!Run(sql, &st, err)) return false;
    SQLLEN n = 0;
    if (rows) *rows = SQL_SUCCEEDED(SQLRowCount(st, &n)) ? static_cast<int64_t>(n) : -1;
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    return true;
  }

  bool QueryValue(const std::string& sql, std::string* value, bool* has_row, std::string* err) override {
    SQLHSTMT st = nullptr;
    if (!Run(sql, &st, err)) return false;
    value->clear();
    *has_row = false;
    SQLRETURN rc = SQLFetch(st);
    bool ok = true;
    if (SQL_SUCCEEDED(rc)) {
      *has_row = true;
      ok = ReadColumn(st, value, err);
    } else if (rc != SQL_NO_DATA) {
      *err = "SQLFetch(" + sql + "): " + Diagnostic(SQL_HANDLE_STMT, st);
      ok = false;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    return ok;
  }

  bool HasTable(const std::string& name, bool* exists, std::string* err) override {
    SQLHSTMT st = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st))) {
      *err = "SQLAllocHandle: " + Diagnostic(SQL_HANDLE_DBC, dbc_);
      return false;
    }
    std::vector<SQLCHAR> table(name.begin(), name.end());
    table.push_back(0);
    SQLCHAR type[] = "TABLE";
    SQLRETURN rc = SQLTables(st, nullptr, 0, nullptr, 0, table.data(), SQL_NTS, type, SQL_NTS);
    if (SQL_SUCCEEDED(rc)) rc = SQLFetch(st);
    const bool ok = SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA;
    if (!ok) *err = "SQLTables(" + name + "): " + Diagnostic(SQL_HANDLE_STMT, st);
    *exists = SQL_SUCCEEDED(rc);
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    return ok;
  }

 private:
  bool Run(const std::string& sql, SQLHSTMT* st, std::string* err) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, st))) {
      *err = "SQLAllocHandle: " + Diagnostic(SQL_HANDLE_DBC, dbc_);
      return false;
    }
    std::vector<SQLCHAR> text(sql.begin(), sql.end());
    text.push_back(0);
    const SQLRETURN rc = SQLExecDirect(*st, text.data(), SQL_NTS);
    if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) return true;
    *err = "SQLExecDirect(" + sql + "): " + Diagnostic(SQL_HANDLE_STMT, *st);
    SQLFreeHandle(SQL_HANDLE_STMT, *st);
    return false;
  }

  static bool ReadColumn(SQLHSTMT st, std::string* value, std::string* err) {
    char buf[512];
    for (;;) {
      SQLLEN got = 0;
      const SQLRETURN rc = SQLGetData(st, 1, SQL_C_CHAR, buf, sizeof(buf), &got);
      if (rc == SQL_NO_DATA) return true;
      if (!SQL_SUCCEEDED(rc)) {
        *err = "SQLGetData: " + Diagnostic(SQL_HANDLE_STMT, st);
        return false;
      }
      if (got == SQL_NULL_DATA) return true;
      const size_t n =
          (got == SQL_NO_TOTAL || got >= static_cast<SQLLEN>(sizeof(buf))) ? sizeof(buf) - 1 : static_cast<size_t>(got);
      value->append(buf, n);
      if (rc == SQL_SUCCESS) return true;  // SQL_SUCCESS_WITH_INFO: more to come
    }
  }

  SQLHENV env_;
  SQLHDBC dbc_;
  DbEngine engine_;
  bool read_only_;
};

std::string ConnectionString(DbEngine engine, const std::string& driver, const std::string& path) {
  if (engine == DbEngine::kSqlite) return "Driver={" + driver + "};Database=" + path + ";NoCreat=1;Timeout=2000;";
  return "Driver={" + driver + "};DBQ=" + path + ";";
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "\"" : ", \"") + n + "\"";
  return out;
}

class OdbcDatabase final : public Database {
 public:
  std::unique_ptr<DbConnection> Open(const std::string& path, DbStatus* status, std::string* err) override {
    std::string head;
    *status = ReadFileHead(path, kHeadBytes, &head, err);
    if (*status != DbStatus::kOk) return nullptr;
    const DbEngine engine = EngineFromHeader(head);
    if (engine == DbEngine::kUnknown) {
      *status = DbStatus::kNotDatabase;
      *err = "weder Jet/ACE- noch SQLite-Datei";
      return nullptr;
    }
    std::string driver_path;
    if (!OdbcDriverPath(path, &driver_path, err)) {
      *status = DbStatus::kFailed;
      return nullptr;
    }
    const std::vector<std::string> drivers = OdbcDriverNames(engine);
    for (const std::string& driver : drivers) {
      std::string state;
      std::unique_ptr<DbConnection> c = Connect(engine, driver, driver_path, &state, err);
      if (c) return c;
      if (!DriverMissing(state, *err)) {  // the driver exists but refused the file
        *status = LooksLocked(*err) ? DbStatus::kLocked : DbStatus::kFailed;
        return nullptr;
      }
    }
    *status = DbStatus::kNoDriver;
    *err = "kein ODBC-Treiber gefunden (" + JoinNames(drivers) + ")";
    return nullptr;
  }

 private:
  static std::unique_ptr<DbConnection> Connect(DbEngine engine, const std::string& driver, const std::string& path,
                                               std::string* state, std::string* err) {
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
      *err = "SQLAllocHandle(ENV) fehlgeschlagen";
      return nullptr;
    }
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
      *err = "SQLAllocHandle(DBC): " + Diagnostic(SQL_HANDLE_ENV, env);
      SQLFreeHandle(SQL_HANDLE_ENV, env);
      return nullptr;
    }
    std::string conn = ConnectionString(engine, driver, path);
    std::vector<SQLCHAR> text(conn.begin(), conn.end());
    text.push_back(0);
    SQLCHAR out[1024];
    SQLSMALLINT out_len = 0;
    const SQLRETURN rc =
        SQLDriverConnect(dbc, nullptr, text.data(), SQL_NTS, out, sizeof(out), &out_len, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
      *err = "SQLDriverConnect(" + driver + "): " + Diagnostic(SQL_HANDLE_DBC, dbc, state);
      SQLFreeHandle(SQL_HANDLE_DBC, dbc);
      SQLFreeHandle(SQL_HANDLE_ENV, env);
      return nullptr;
    }
    return std::make_unique<OdbcConnection>(env, dbc, engine, driver == "MDBTools");
  }
};

}  // namespace

DbEngine EngineFromHeader(std::string_view head) {
  if (head.substr(0, 16) == std::string_view("SQLite format 3\0", 16)) return DbEngine::kSqlite;
  const std::string_view jet = head.size() > 4 ? head.substr(4, 15) : std::string_view();
  if (jet == "Standard Jet DB" || jet == "Standard ACE DB") return DbEngine::kJet;
  return DbEngine::kUnknown;
}

std::unique_ptr<Database> CreateOdbcDatabase() { return std::make_unique<OdbcDatabase>(); }

}  // namespace krv
