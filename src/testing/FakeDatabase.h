// An in-memory database service that understands the statement shapes the backend object sends
// (a WHERE is ignored, affected row counts are not reported).
#pragma once

#include <map>
#include <memory>
#include <regex>
#include <string>

#include "base/Text.h"
#include "platform/Database.h"

namespace krv {

struct FakeTable {
  int64_t rows = 0;
  std::map<std::string, std::string> first;  // column (lower case) -> value of the first row
};

struct FakeDb {
  DbEngine engine = DbEngine::kSqlite;
  bool read_only = false;
  DbStatus open_status = DbStatus::kOk;
  std::string open_error;
  std::map<std::string, FakeTable> tables;  // name in lower case
  int64_t page_count = 100, freelist_count = 0;
  FakeTable& Table(const std::string& name) { return tables[LowerCase(name)]; }
};

class FakeDatabase final : public Database {
 public:
  std::map<std::string, FakeDb> files;  // by lower-case path; a missing one is kFileMissing
  FakeDb& File(const std::string& path) { return files[LowerCase(path)]; }

  std::unique_ptr<DbConnection> Open(const std::string& path, DbStatus* status, std::string* err) override {
    auto it = files.find(LowerCase(path));
    *status = it == files.end() ? DbStatus::kFileMissing : it->second.open_status;
    if (*status == DbStatus::kOk) return std::make_unique<Conn>(it->second);
    *err = it == files.end() ? "open(" + path + "): No such file" : it->second.open_error;
    return nullptr;
  }

 private:
  class Conn final : public DbConnection {
   public:
    explicit Conn(FakeDb& db) : db_(db) {}
    DbEngine Engine() const override { return db_.engine; }
    bool ReadOnly() const override { return db_.read_only; }
    bool HasTable(const std::string& name, bool* exists, std::string*) override {
      *exists = db_.tables.count(LowerCase(name)) > 0;
      return true;
    }
    bool Execute(const std::string& sql, int64_t*, std::string* err) override {
      std::smatch m;
      if (!std::regex_search(
              sql, m,
              std::regex(R"(^(CREATE TABLE|INSERT INTO|DELETE FROM) \[(\w+)\](?: \(\[(\w+)\]\) VALUES \('(.*)'\))?)")))
        return Fail(err, sql);
      if (m[1] == "CREATE TABLE") return db_.Table(m[2]), true;
      FakeTable* t = Find(m[2], err);
      if (!t || db_.read_only) return Fail(err, "read-only or missing table");
      const bool insert = m[1] == "INSERT INTO";
      if (insert && t->rows == 0) t->first[LowerCase(m[3].str())] = m[4];
      t->rows = insert ? t->rows + 1 : 0;
      return true;
    }
    bool QueryValue(const std::string& sql, std::string* value, bool* has_row, std::string* err) override {
      std::smatch m;
      *has_row = true;
      if (sql.starts_with("PRAGMA ")) {
        *value = std::to_string(sql == "PRAGMA page_count" ? db_.page_count : db_.freelist_count);
        return true;
      }
      if (!std::regex_search(sql, m, std::regex(R"(^SELECT (COUNT\(\*\)|\[?(\w+|\*)\]?) FROM \[(\w+)\])")))
        return Fail(err, sql);
      FakeTable* t = Find(m[3], err);
      if (!t) return false;
      const bool count = m[1] == "COUNT(*)";
      *has_row = count || t->rows > 0;
      const auto cell = t->first.find(LowerCase(m[2].str()));
      *value = count ? std::to_string(t->rows) : *has_row && cell != t->first.end() ? cell->second : "";
      return true;
    }

   private:
    FakeTable* Find(const std::string& name, std::string* err) {
      auto it = db_.tables.find(LowerCase(name));
      if (it != db_.tables.end()) return &it->second;
      *err = "no such table: " + name;
      return nullptr;
    }
    static bool Fail(std::string* err, const std::string& why) { return *err = "refused: " + why, false; }
    FakeDb& db_;
  };
};

}  // namespace krv
