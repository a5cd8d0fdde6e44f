#include "suite/BackendSwitch.h"

#include <gtest/gtest.h>

#include "suite/krvBackend.h"
#include "suite/krvLibrary.h"
#include "testing/FakeDatabase.h"
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
    bool opens;       // the database service opens it and finds the address table
    const char* why;  // part of the refusal, "" when switched
  } cases[] = {
      {true, "\x00\x01\x00\x00Standard Jet DB\x00"s, true, ""},
      {true, "\x00\x01\x00\x00Standard ACE DB\x00"s, true, ""},
      {true, "SQLite format 3\x00\x10\x00"s, true, ""},
      {true, "SQLite format 3\x00\x10\x00"s, false, "bleibt eingestellt"},  // no address table
      {true, "SQLite format 3", true, "ist kein Daten-Backend"},            // without its NUL
      {true, "Standard Jet DB", true, "ist kein Daten-Backend"},            // not at offset 4
      {true, "", true, "ist kein Daten-Backend"},
      {false, "", true, "ist nicht vorhanden"},
  };
  for (const auto& c : cases) {
    FakeRegistry reg;
    FakeFileSystem fs;
    FakeSystem sys;
    krvLibrary lib(reg, fs, sys);
    if (c.exists) fs.AddFile("D:\\neu.db", c.content);
    FakeDatabase db;
    FakeDb& file = db.File("D:\\neu.db");
    if (c.opens) file.Table(kAddressTable);
    OpenBackendProbe probe(fs, &db);
    std::string why;
    EXPECT_EQ(SwitchBackend(lib, probe, "D:\\neu.db", &why), *c.why == 0) << why;
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
    EXPECT_NE(why.find(*c.why ? "'D:\\neu.db'" : ""), std::string::npos) << why;  // a refusal names the file
    EXPECT_EQ(reg.writes, *c.why ? 0 : 1);
  }
}

}  // namespace
}  // namespace krv
