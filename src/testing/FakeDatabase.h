// An in-memory database service for tests. It understands the few statement
// shapes the backend object sends: COUNT(*) and DELETE on a table (an
// optional WHERE is recorded, not evaluated), SELECT of one column, CREATE
// TABLE, INSERT of one row, and the two page PRAGMAs.
#pragma once

#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "base/Text.h"
#include "platform/Database.h"

namespace krv {

struct FakeTable {
  int64_t rows = 0;
  std::map<std::string, std::string> first;  // column (lower case) -> value of the first row
  bool unreadable = false;                   // reading it fails
};

struct FakeDb {
  DbEngine engine = DbEngine::kSqlite;
  bool read_only = false;
  DbStatus open_status = DbStatus::kOk;
  std::string open_error;
  std::map<std::string, FakeTable> tables;  // name in lower case
  int64_t page_count = 100, freelist_count = 0;
  std::vector<std::string> statements;  // everything executed, in order
  int opens = 0, open_now = 0;
  FakeTable& Table(const std::string& name) { return tables[LowerCase(name)]; }
};

class FakeDatabase final : public Database {
 public:
  std::map<std::string, FakeDb> files;  // by lower-case path; a missing one is kFileMissing
  FakeDb& File(const std::string& path) { return files[LowerCase(path)]; }

  std::unique_ptr<DbConnection> Open(const std::string& path, DbStatus* status, std::string* err) override {
    auto it = files.find(LowerCase(path));
    *status = it == files.end() ? DbStatus::kFileMissing : it->second.open_status;
    if (*status != DbStatus::kOk) {
      *err = it == files.end() ? "open(" + path + "): No such file" : it->second.open_error;
      return nullptr;
    }
    ++it->second.opens;
    return std::make_unique<Conn>(it->second);
  }

 private:
  class Conn final : public DbConnection {
   public:
    explicit Conn(FakeDb& db) : db_(db) { ++db_.open_now; }
    ~Conn() override { --db_.open_now; }
    DbEngine Engine() const override { return db_.engine; }
    bool ReadOnly() const override { return db_.read_only; }
    bool HasTable(const std::string& name, bool* exists, std::string*) override {
      *exists = db_.tables.count(LowerCase(name)) > 0;
      return true;
    }
    bool Execute(const std::string& sql, int64_t* rows, std::string* err) override {
      db_.statements.push_back(sql);
      std::smatch m;
      int64_t changed = 0;
      if (std::regex_search(sql, m, std::regex(R"(^CREATE TABLE \[(\w+)\])"))) {
        db_.Table(m[1]);
      } else if (std::regex_search(sql, m, std::regex(R"(^INSERT INTO \[(\w+)\] \(\[(\w+)\]\) VALUES \('(.*)'\))"))) {
        FakeTable* t = Find(m[1], err);
        if (!t || db_.read_only) return Fail(err, "read-only or missing table");
        if (t->rows++ == 0) t->first[LowerCase(m[2].str())] = m[3];
        changed = 1;
      } else if (std::regex_search(sql, m, std::regex(R"(^DELETE FROM \[(\w+)\])"))) {
        FakeTable* t = Find(m[1], err);
        if (!t || db_.read_only) return Fail(err, "read-only or missing table");
        changed = t->rows;
        t->rows = 0;
      } else if (sql != "VACUUM") {
        return Fail(err, "unknown statement: " + sql);
      }
      if (rows) *rows = changed;
      return true;
    }
    bool QueryValue(const std::string& sql, std::string* value, bool* has_row, std::string* err) override {
      db_.statements.push_back(sql);
      std::smatch m;
      *has_row = true;
      if (sql == "PRAGMA page_count") return Set(value, db_.page_count);
      if (sql == "PRAGMA freelist_count") return Set(value, db_.freelist_count);
      if (std::regex_search(sql, m, std::regex(R"(^SELECT COUNT\(\*\) FROM \[(\w+)\])"))) {
        FakeTable* t = Find(m[1], err);
        return t && Set(value, t->rows);
      }
      if (std::regex_search(sql, m, std::regex(R"(^SELECT (?:TOP 1 )?(\[?\w+\]?|\*) FROM \[(\w+)\])"))) {
        FakeTable* t = Find(m[2], err);
        if (!t) return false;
        *has_row = t->rows > 0;
        std::string col = LowerCase(m[1].str());
        if (col.front() == '[') col = col.substr(1, col.size() - 2);
        *value = *has_row && t->first.count(col) ? t->first[col] : "";
        return true;
      }
      return Fail(err, "unknown query: " + sql);
    }

   private:
    FakeTable* Find(const std::string& name, std::string* err) {
      auto it = db_.tables.find(LowerCase(name));
      if (it == db_.tables.end() || it->second.unreadable) {
        *err = "no such table: " + name;
        return nullptr;
      }
      return &it->second;
    }
    static bool Fail(std::string* err, const std::string& why) {
      *err = why;
      return false;
    }
    static bool Set(std::string* value, int64_t n) {
      *value = std::to_string(n);
      return true;
    }
    FakeDb& db_;
  };
};

}  // namespace krv
