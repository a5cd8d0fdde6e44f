#include "suite/BackendSwitch.h"

#include <gtest/gtest.h>

#include "suite/krvLibrary.h"
#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"
#include "testing/FakeSystem.h"

namespace krv {
namespace {

using namespace std::string_literals;

TEST(BackendSwitchTest, SwitchesOnlyToDatabases) {
  const struct {
    bool exists;
    std::string content;
    BackendKind kind;
    const char* why;  // part of the refusal, "" when switched
  } cases[] = {
      {true, "\x00\x01\x00\x00Standard Jet DB\x00"s, BackendKind::kJet, ""},
      {true, "\x00\x01\x00\x00Standard ACE DB\x00"s, BackendKind::kAce, ""},
      {true, "SQLite format 3\x00\x10\x00"s, BackendKind::kSqlite, ""},
      {true, "SQLite format 3", BackendKind::kNone, "ist kein Daten-Backend"},  // without its NUL
      {true, "Standard Jet DB", BackendKind::kNone, "ist kein Daten-Backend"},  // not at offset 4
      {true, "", BackendKind::kNone, "ist kein Daten-Backend"},
      {false, "", BackendKind::kNone, "ist nicht vorhanden"},
  };
  for (const auto& c : cases) {
    const std::string& content = c.content;
    FakeRegistry reg;
    FakeFileSystem fs;
    FakeSystem sys;
    krvLibrary lib(reg, fs, sys);
    if (c.exists) fs.AddFile("D:\\neu.db", content);
    EXPECT_EQ(BackendKindOfHeader(content), c.kind) << c.why;
    HeaderBackendProbe probe(fs);
    std::string why;
    const bool switched = SwitchBackend(lib, probe, "D:\\neu.db", &why);
    EXPECT_EQ(switched, *c.why == 0) << why;
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
    if (!switched) {
      EXPECT_NE(why.find("'D:\\neu.db'"), std::string::npos) << why;
    }
    EXPECT_EQ(reg.writes, switched ? 1 : 0);
  }
}

}  // namespace
}  // namespace krv
