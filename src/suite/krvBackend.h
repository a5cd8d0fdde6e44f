// The interface library's backend object and its database service: the open
// data backend, what the loader asks of it, and the few statements it runs.
// The connection opens on first use and closes with Close(). Failures are
// raised as KrvError (kErrBackendDatabase) with a German text naming the
// backend and the driver's own diagnostic.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Database.h"
#include "platform/System.h"

namespace krv {

inline constexpr int32_t kErrBackendDatabase = -2147213304;  // 0x80042008

// Tables the starter relies on.
inline constexpr char kAddressTable[] = "ADRESSEN";
inline constexpr char kLockTable[] = "USysLock";
inline constexpr char kReplicaTable[] = "USysReplica";  // column "Expires", "yyyy-mm-dd"
inline constexpr char kIdentifierTable[] = "USysBackendId";

class krvBackend {
 public:
  // `db` may be null: every question then raises "no database service".
  krvBackend(Database* db, std::string path);

  // The full path, as the open database's Name.
  const std::string& Name() const { return path_; }
  const std::string& FullPath() const { return path_; }
  // "ADRESSEN" holds no records.
  bool IsEmpty();
  // A replica carries its set's expiry in "USysReplica"; none: no replica.
  bool IsReplica();
  std::optional<LocalTime> ReplicaExpiry();
  // A GUID kept in the backend where the engine can write one, else a hash
  // of the lower-case full path; stable per file.
  std::string Identifier();
  // True where lock records cannot be cleared (a read-only driver).
  bool LockCheck();

  // The database service.
  int64_t RecordCount(const std::string& table, const std::string& criterion);
  // The table can be read (its first row), and on SQLite the free pages stay
  // below a quarter of all pages. Never scans the whole file.
  bool TableTest(const std::string& table);
  // Deletes every record; with `fail_on_error` a failure is raised.
  void EmptyTable(const std::string& table, bool fail_on_error);

  // Closes the connection; the next question opens it again.
  void Close() { conn_.reset(); }

 private:
  DbConnection& Conn();
  [[noreturn]] void Raise(const std::string& what, const std::string& diagnostic) const;
  std::string Query(const std::string& sql, bool* has_row);
  std::string StoredGuid();

  Database* db_;
  std::string path_;
  std::unique_ptr<DbConnection> conn_;
  std::string id_;
};

// "{8-4-4-4-12}" upper-case hex from 16 random bytes.
std::string NewGuid();
// "P" + 16 hex digits of a 64-bit FNV-1a hash of the lower-case path.
std::string PathIdentifier(const std::string& path);

}  // namespace krv
