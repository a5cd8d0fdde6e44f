// The database service: opens a data backend by its Windows path and runs
// statements on it. One ODBC implementation serves both targets; the engine
// (and so the driver) is chosen by the file's own header, never by its name.
// Nothing here throws; failures fill `err` with the driver's diagnostic.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace krv {

enum class DbEngine { kUnknown, kJet, kSqlite };

// Jet/ACE ("Standard Jet DB", "Standard ACE DB" at offset 4) or SQLite
// ("SQLite format 3" and a NUL at offset 0), from a file's first bytes.
DbEngine EngineFromHeader(std::string_view head);

// Why Open failed; the caller words the message.
enum class DbStatus { kOk, kFileMissing, kNotDatabase, kNoDriver, kLocked, kFailed };

class DbConnection {
 public:
  virtual ~DbConnection() = default;
  virtual DbEngine Engine() const = 0;
  // True where the driver cannot write (MDBTools).
  virtual bool ReadOnly() const = 0;
  // Runs a statement; `rows` (may be null) gets the rows it changed.
  virtual bool Execute(const std::string& sql, int64_t* rows, std::string* err) = 0;
  // First column of the first row as text; `has_row` false when there is none.
  virtual bool QueryValue(const std::string& sql, std::string* value, bool* has_row, std::string* err) = 0;
  // Whether a table of that name exists (asked of the driver's catalogue).
  virtual bool HasTable(const std::string& name, bool* exists, std::string* err) = 0;
};

class Database {
 public:
  virtual ~Database() = default;
  // Null on failure, with `status` and the diagnostic in `err`.
  virtual std::unique_ptr<DbConnection> Open(const std::string& path, DbStatus* status, std::string* err) = 0;
};

std::unique_ptr<Database> CreateOdbcDatabase();

}  // namespace krv
