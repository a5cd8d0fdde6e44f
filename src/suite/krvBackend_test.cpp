// What the backend object answers, over the in-memory database service.
#include "suite/krvBackend.h"

#include <gtest/gtest.h>

#include "base/KrvError.h"
#include "testing/FakeDatabase.h"

namespace krv {
namespace {

constexpr char kPath[] = "D:\\Daten\\korvella.mdb";

class BackendTest : public ::testing::Test {
 protected:
  FakeDatabase db;
  FakeDb& file = db.File(kPath);
  krvBackend backend{&db, kPath};
};

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const KrvError& e) {
    EXPECT_EQ(e.number, kErrBackendDatabase);
    return e.description;
  }
  return "(no error)";
}

TEST_F(BackendTest, OpenFailuresNameTheBackendAndTheDriversDiagnostic) {
  const struct {
    DbStatus status;
    const char* text;
  } cases[] = {{DbStatus::kFileMissing, "ist nicht vorhanden"},
               {DbStatus::kNotDatabase, "ist kein Daten-Backend"},
               {DbStatus::kNoDriver, "kein passender ODBC-Treiber installiert"},
               {DbStatus::kLocked, "von einem anderen Programm gesperrt"},
               {DbStatus::kFailed, "kann nicht geöffnet werden"}};
  for (const auto& c : cases) {
    file.open_status = c.status;
    file.open_error = "Treibertext 42";
    const std::string text = ErrorOf([&] { krvBackend(&db, kPath).IsEmpty(); });
    EXPECT_NE(text.find(c.text), std::string::npos) << text;
    EXPECT_NE(text.find(kPath), std::string::npos) << text;
    EXPECT_NE(text.find("Treibertext 42"), std::string::npos) << text;
  }
  EXPECT_NE(ErrorOf([] { krvBackend(nullptr, kPath).LockCheck(); }).find(kPath), std::string::npos);
}

TEST_F(BackendTest, EmptyMeansNoAddressesAndAMissingAddressTableIsAnError) {
  file.Table("ADRESSEN").rows = 0;
  EXPECT_TRUE(backend.IsEmpty());
  file.Table("ADRESSEN").rows = 3;
  EXPECT_FALSE(backend.IsEmpty());
  EXPECT_EQ(backend.RecordCount("ADRESSEN", "Ort='Köln'"), 3);
  EXPECT_EQ(file.statements.back(), "SELECT COUNT(*) FROM [ADRESSEN] WHERE Ort='Köln'");
  file.tables.erase("adressen");
  EXPECT_NE(ErrorOf([&] { backend.IsEmpty(); }).find("no such table: ADRESSEN"), std::string::npos);
}

TEST_F(BackendTest, ReplicaOnlyWithAnExpiryInItsOwnTable) {
  EXPECT_FALSE(backend.IsReplica());
  FakeTable& replica = file.Table("USysReplica");
  EXPECT_FALSE(backend.IsReplica()) << "a table without a row";
  replica.rows = 1;
  replica.first["expires"] = "2027-01-31";
  ASSERT_TRUE(backend.IsReplica());
  EXPECT_EQ(backend.ReplicaExpiry()->day, 31);
  replica.first["expires"] = "31.01.2027";
  EXPECT_NE(ErrorOf([&] { backend.IsReplica(); }).find("'31.01.2027'"), std::string::npos);
}

TEST_F(BackendTest, IdentifierIsAStoredGuidWhereWritableElseAPathHash) {
  const std::string id = backend.Identifier();
  EXPECT_EQ(id.size(), 38u);
  EXPECT_EQ(file.Table("USysBackendId").first["id"], id);
  EXPECT_EQ(krvBackend(&db, kPath).Identifier(), id) << "stable for the same file";
  db.File("D:\\Daten\\neu.mdb");
  EXPECT_NE(krvBackend(&db, "D:\\Daten\\neu.mdb").Identifier(), id);
  FakeDb& other = db.File("D:\\Daten\\andere.mdb");
  other.read_only = true;
  const std::string hashed = krvBackend(&db, "D:\\Daten\\andere.mdb").Identifier();
  EXPECT_EQ(hashed, PathIdentifier("d:\\daten\\ANDERE.mdb"));
  EXPECT_NE(hashed, PathIdentifier(kPath));
  EXPECT_FALSE(other.tables.count("usysbackendid"));
}

TEST_F(BackendTest, TableTestReadsTheTableAndWeighsTheFreePages) {
  file.Table("ADRESSEN");
  const struct {
    DbEngine engine;
    int64_t pages, free_pages;
    bool unreadable, passes;
  } cases[] = {{DbEngine::kSqlite, 100, 24, false, true},
               {DbEngine::kSqlite, 100, 25, false, false},
               {DbEngine::kSqlite, 100, 0, true, false},
               {DbEngine::kJet, 100, 90, false, true},
               {DbEngine::kJet, 100, 0, true, false}};
  for (const auto& c : cases) {
    file.engine = c.engine;
    file.page_count = c.pages;
    file.freelist_count = c.free_pages;
    file.Table("ADRESSEN").unreadable = c.unreadable;
    EXPECT_EQ(krvBackend(&db, kPath).TableTest("ADRESSEN"), c.passes) << c.free_pages << " " << c.unreadable;
  }
}

TEST_F(BackendTest, EmptyingATableRaisesOnlyWithFailOnError) {
  file.Table("USysLock").rows = 2;
  backend.EmptyTable("USysLock", true);
  EXPECT_EQ(file.Table("USysLock").rows, 0);
  file.read_only = true;
  EXPECT_TRUE(backend.LockCheck());
  backend.EmptyTable("USysLock", false);
  EXPECT_NE(ErrorOf([&] { backend.EmptyTable("USysLock", true); }).find("USysLock"), std::string::npos);
}

}  // namespace
}  // namespace krv
