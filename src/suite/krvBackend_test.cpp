// What the backend object answers beyond what the loader's steps show, over
// the in-memory database service.
#include "suite/krvBackend.h"

#include <gtest/gtest.h>

#include "base/KrvError.h"
#include "testing/FakeDatabase.h"

namespace krv {
namespace {

constexpr char kPath[] = "D:\\Daten\\korvella.mdb";

std::string ErrorOf(const std::function<void()>& call) try { return call(), "(no error)"; } catch (const KrvError& e) {
  return std::to_string(e.number) + " " + e.description;
}

TEST(BackendTest, FailuresNameTheBackendAndTheDriversDiagnostic) {
  FakeDatabase db;
  FakeDb& file = db.File(kPath);
  file.open_error = "Treibertext 42";
  const struct {
    DbStatus status;
    std::function<void(krvBackend&)> call;
    const char* text;
  } cases[] = {
      {DbStatus::kFileMissing, [](krvBackend& b) { b.IsEmpty(); }, "ist nicht vorhanden"},
      {DbStatus::kNotDatabase, [](krvBackend& b) { b.IsEmpty(); }, "ist kein Daten-Backend"},
      {DbStatus::kNoDriver, [](krvBackend& b) { b.IsEmpty(); }, "kein passender ODBC-Treiber installiert"},
      {DbStatus::kLocked, [](krvBackend& b) { b.IsEmpty(); }, "von einem anderen Programm gesperrt"},
      {DbStatus::kFailed, [](krvBackend& b) { b.IsEmpty(); }, "kann nicht geöffnet werden"},
      {DbStatus::kOk, [](krvBackend& b) { b.IsEmpty(); }, "no such table: ADRESSEN"},
      {DbStatus::kOk, [](krvBackend& b) { b.IsReplica(); }, "ist ungültig: '31.01.2027'"},
  };
  file.Table("USysReplica") = FakeTable{1, {{"expires", "31.01.2027"}}};
  for (const auto& c : cases) {
    file.open_status = c.status;
    krvBackend backend(&db, kPath);
    const std::string text = ErrorOf([&] { c.call(backend); });
    EXPECT_NE(text.find(c.text), std::string::npos) << text;
    EXPECT_EQ(text.rfind(std::to_string(kErrBackendDatabase) + " ", 0), 0u) << text;
    EXPECT_NE(text.find(std::string(kPath) + "'"), std::string::npos) << text;
    EXPECT_EQ(text.find("Treibertext 42") != std::string::npos, c.status != DbStatus::kOk) << text;
  }
}

TEST(BackendTest, IdentifierAndTableTestOfReadOnlyAndJetFiles) {
  FakeDatabase db;
  db.File(kPath);
  const std::string id = krvBackend(&db, kPath).Identifier();
  EXPECT_EQ(krvBackend(&db, kPath).Identifier(), id) << "stable for the same file";
  db.File("D:\\Daten\\neu.mdb");
  EXPECT_NE(krvBackend(&db, "D:\\Daten\\neu.mdb").Identifier(), id);
  FakeDb& other = db.File("D:\\Daten\\andere.mdb");
  other.read_only = true;
  EXPECT_EQ(krvBackend(&db, "D:\\Daten\\andere.mdb").Identifier(), PathIdentifier("d:\\daten\\ANDERE.mdb"));
  EXPECT_NE(PathIdentifier("D:\\Daten\\andere.mdb"), PathIdentifier(kPath));
  EXPECT_FALSE(other.tables.count("usysbackendid"));
  other.engine = DbEngine::kJet;  // no page counts: reading the table is the whole test
  other.freelist_count = 90;
  EXPECT_FALSE(krvBackend(&db, "D:\\Daten\\andere.mdb").TableTest("ADRESSEN"));
  other.Table("ADRESSEN");
  EXPECT_TRUE(krvBackend(&db, "D:\\Daten\\andere.mdb").TableTest("ADRESSEN"));
}

}  // namespace
}  // namespace krv
