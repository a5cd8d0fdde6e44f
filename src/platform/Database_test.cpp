// The ODBC database service against real files in a temporary folder
// (natively, and under Wine through the host's driver manager).
#include "platform/Database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "base/WinPath.h"
#include "testing/SqliteFile.h"
#include "testing/TempDir.h"
#ifndef _WIN32
#include "platform/posix/NativePath_posix.h"
#endif

namespace krv {
namespace {

class DatabaseService : public ::testing::Test {
 protected:
  std::string P(const std::string& name) const {
#ifdef _WIN32
    return WinPathJoin(dir_.native(), name);
#else
    return WinPathJoin(NativeToWinPath(dir_.native()), name);
#endif
  }
  // Writes through the host path of the temporary folder; `name` ("a/b") may hold "ü".
  std::string Put(std::string name, const std::string& content) {
    const std::filesystem::path native = std::filesystem::path(dir_.native()) / std::filesystem::u8path(name);
    std::filesystem::create_directories(native.parent_path());
    std::ofstream(native, std::ios::binary) << content;
    std::replace(name.begin(), name.end(), '/', '\\');
    return P(name);
  }
  std::unique_ptr<DbConnection> Open(const std::string& path) { return db_->Open(path, &status_, &err_); }

  TempDir dir_;
  std::unique_ptr<Database> db_ = CreateOdbcDatabase();
  DbStatus status_ = DbStatus::kFailed;
  std::string err_;
};

TEST(EngineFromHeaderTest, TheHeaderDecidesNeverTheName) {
  const std::string jet = std::string("\0\1\0\0Standard Jet DB\0", 20);
  const std::string ace = std::string("\0\1\0\0Standard ACE DB\0", 20);
  const struct {
    std::string head;
    DbEngine engine;
  } cases[] = {{EmptySqliteFile(), DbEngine::kSqlite},
               {jet, DbEngine::kJet},
               {ace, DbEngine::kJet},
               {"SQLite format 3", DbEngine::kUnknown},  // without its NUL
               {"Standard Jet DB stand-in", DbEngine::kUnknown},
               {std::string("\0\1\0\0Standard Jet D", 18), DbEngine::kUnknown},
               {"", DbEngine::kUnknown}};
  for (const auto& c : cases) EXPECT_EQ(EngineFromHeader(c.head), c.engine) << c.head;
}

TEST_F(DatabaseService, RunsStatementsOnARealSqliteFileInAFolderWithAnUmlaut) {
  auto db = Open(Put("Grün/daten.mdb", EmptySqliteFile()));
  ASSERT_TRUE(db) << err_;
  EXPECT_EQ(db->Engine(), DbEngine::kSqlite);
  EXPECT_FALSE(db->ReadOnly());
  for (const char* sql : {"CREATE TABLE USysLock (Benutzer TEXT)", "INSERT INTO USysLock VALUES ('Jürgen')",
                          "INSERT INTO USysLock VALUES ('b')"}) {
    ASSERT_TRUE(db->Execute(sql, nullptr, &err_)) << err_;
  }
  std::string value;
  bool has_row = false, exists = false;
  ASSERT_TRUE(db->QueryValue("SELECT Benutzer FROM USysLock ORDER BY Benutzer", &value, &has_row, &err_));
  EXPECT_TRUE(has_row);
  EXPECT_EQ(value, "Jürgen");
  ASSERT_TRUE(db->HasTable("USysLock", &exists, &err_)) << err_;
  EXPECT_TRUE(exists);
  ASSERT_TRUE(db->HasTable("ADRESSEN", &exists, &err_)) << err_;
  EXPECT_FALSE(exists);
  int64_t rows = 0;
  ASSERT_TRUE(db->Execute("DELETE FROM USysLock", &rows, &err_)) << err_;
  EXPECT_EQ(rows, 2);
  ASSERT_TRUE(db->QueryValue("SELECT Benutzer FROM USysLock", &value, &has_row, &err_));
  EXPECT_FALSE(has_row);
  // The driver's own diagnostic, not one overwritten by a later call.
  EXPECT_FALSE(db->Execute("DELETE FROM Fehlt", &rows, &err_));
  EXPECT_NE(err_.find("no such table"), std::string::npos) << err_;
}

TEST_F(DatabaseService, RefusesWhatIsNoUsableBackendAndCreatesNothing) {
  const struct {
    std::string name, content;
    DbStatus status;
  } cases[] = {{"", "", DbStatus::kFileMissing},
               {"text.mdb", "Standard Jet DB stand-in\n", DbStatus::kNotDatabase},
               {"leer.mdb", "", DbStatus::kNotDatabase}};
  for (const auto& c : cases) {
    const std::string path = c.name.empty() ? P("fehlt.mdb") : Put(c.name, c.content);
    EXPECT_FALSE(Open(path)) << path;
    EXPECT_EQ(status_, c.status) << path << ": " << err_;
  }
  std::error_code ec;
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir_.native()) / "fehlt.mdb", ec));
}

TEST_F(DatabaseService, AJetHeaderGoesToTheJetDriver) {
  std::string jet(4096, '\0');
  jet.replace(4, 15, "Standard Jet DB");
  auto db = Open(Put("alt.mdb", jet));
  if (!db) {  // Access's own driver checks the file at once
    EXPECT_NE(status_, DbStatus::kNotDatabase) << err_;
    return;
  }
  EXPECT_EQ(db->Engine(), DbEngine::kJet);
  EXPECT_TRUE(db->ReadOnly()) << "MDBTools cannot write";
  std::string value;
  bool has_row = false;
  EXPECT_FALSE(db->QueryValue("SELECT COUNT(*) FROM [USysLock]", &value, &has_row, &err_));  // no real Jet file
}

}  // namespace
}  // namespace krv
