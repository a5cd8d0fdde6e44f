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
  // Writes `content` (if any) to `name` ("a/b") in the temporary folder and returns its Windows path.
  std::string Put(std::string name, const std::string& content) {
    const std::filesystem::path native = std::filesystem::path(dir_.native()) / std::filesystem::u8path(name);
    std::filesystem::create_directories(native.parent_path());
    if (!content.empty()) std::ofstream(native, std::ios::binary) << content;
    std::replace(name.begin(), name.end(), '/', '\\');
#ifdef _WIN32
    return WinPathJoin(dir_.native(), name);
#else
    return WinPathJoin(NativeToWinPath(dir_.native()), name);
#endif
  }
  std::unique_ptr<DbConnection> Open(const std::string& path) { return db_->Open(path, &status_, &err_); }

  TempDir dir_;
  std::unique_ptr<Database> db_ = CreateOdbcDatabase();
  DbStatus status_ = DbStatus::kFailed;
  std::string err_;
};

TEST_F(DatabaseService, RunsStatementsOnARealSqliteFileInAFolderWithAnUmlaut) {
  auto db = Open(Put("Grün/daten.mdb", EmptySqliteFile()));
  ASSERT_TRUE(db) << err_;
  EXPECT_TRUE(db->Engine() == DbEngine::kSqlite && !db->ReadOnly());
  for (const char* sql : {"CREATE TABLE USysLock (Benutzer TEXT)", "INSERT INTO USysLock VALUES ('Jürgen')",
                          "INSERT INTO USysLock VALUES ('b')"}) {
    ASSERT_TRUE(db->Execute(sql, nullptr, &err_)) << err_;
  }
  std::string value;
  bool has_row = false, exists = false;
  ASSERT_TRUE(db->QueryValue("SELECT Benutzer FROM USysLock ORDER BY Benutzer", &value, &has_row, &err_));
  EXPECT_TRUE(has_row && value == "Jürgen") << value;
  EXPECT_TRUE(db->HasTable("USysLock", &exists, &err_) && exists) << err_;
  EXPECT_TRUE(db->HasTable("ADRESSEN", &exists, &err_) && !exists) << err_;
  ASSERT_TRUE(db->Execute("DELETE FROM USysLock", nullptr, &err_)) << err_;
  ASSERT_TRUE(db->QueryValue("SELECT Benutzer FROM USysLock", &value, &has_row, &err_));
  EXPECT_FALSE(has_row);
  EXPECT_FALSE(db->Execute("DELETE FROM Fehlt", nullptr, &err_));  // the driver's own diagnostic
  EXPECT_NE(err_.find("no such table"), std::string::npos) << err_;
}

TEST_F(DatabaseService, RefusesWhatIsNoUsableBackendAndCreatesNothing) {
  EXPECT_FALSE(Open(Put("fehlt.mdb", "")));
  EXPECT_EQ(status_, DbStatus::kFileMissing) << err_;
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir_.native()) / "fehlt.mdb"));
  EXPECT_FALSE(Open(Put("text.mdb", "Standard Jet DB stand-in\n")));
  EXPECT_EQ(status_, DbStatus::kNotDatabase) << err_;
  // The header decides the engine, never the name: this one goes to a Jet driver (MDBTools opens it read-only).
  auto jet = Open(Put("ace.mdb", std::string("\0\1\0\0Standard ACE DB\0", 20) + std::string(4096, '\0')));
  EXPECT_TRUE(jet ? jet->Engine() == DbEngine::kJet && jet->ReadOnly() : status_ != DbStatus::kNotDatabase) << err_;
}

}  // namespace
}  // namespace krv
