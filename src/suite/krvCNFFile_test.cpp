#include "suite/krvCNFFile.h"

#include <gtest/gtest.h>

#include "testing/FakeFileSystem.h"

namespace krv {
namespace {

TEST(krvCNFFile, ReadsValues) {
  const struct {
    std::string text;
    bool comments, tabs;
    const char *section, *expected;
  } cases[] = {
      {"[ Backend ]\r\n  Version = 2.5.0.3  \r\n", true, true, "backend", "2.5.0.3"},
      {"[Backend]\rA=1\rVersion=2\r", true, true, "Backend", "2"},
      {"[Backend]\nVersion=2.5\t; Eingabe\n", true, true, "Backend", "2.5"},
      {"[Backend]\nVersion=2.5 ; Eingabe\n", false, true, "Backend", "2.5 ; Eingabe"},
      {"[Backend]\n# Version=1\nVersion=a=b\nVersion=3", true, true, "Backend", "a=b"},
      {"; Kopf\n[Backend] ; Abschnitt\nVersion=3\n", true, true, "Backend", "3"},
      {"[Backend]\nVersion=2.5\t\t\n", true, false, "Backend", "2.5\t\t"},
      {"[Backend]\nA=1\n[X]\n[backend]\nVersion=4\n", true, true, "Backend", "4"},
      {"Version=9\n[Backend]\n", true, true, "Backend", ""},
      {"[Backend]\nVersion=1\n[Neu\nVersion=2\n", true, true, "Backend", "1"},
      {"\xEF\xBB\xBF[Backend]\nVersion=6\n", true, true, "Backend", "6"},
      {"[Gr\xF6\xDF\x65]\nVersion=\xC4nderung\n", true, true, "GRÖßE", "Änderung"},
      {std::string("\xFF\xFE[\0B\0]\0\n\0V\0e\0r\0s\0i\0o\0n\0=\0\xE4\0", 28), true, true, "B", "ä"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(krvCNFFile::Parse(c.text, c.comments, c.tabs).Value(c.section, "Version"), c.expected) << c.text;
  }
}

TEST(krvCNFFile, FileReadRefusesMissingAndHugeFiles) {
  FakeFileSystem fs;
  fs.AddFile("C:\\krvup25.cnf", "[Backend]\r\nVersion=2.5.0.3\t\r\n");
  fs.AddFile("C:\\gross.cnf", std::string((4u << 20) + 1, 'x'));
  krvCNFFile reader(fs);
  reader.Filename = "C:\\krvup25.cnf";
  reader.RemoveTrailingTabs = true;
  ASSERT_TRUE(reader.FileRead());
  EXPECT_EQ(reader.FileRead()->Value("Backend", "Version"), "2.5.0.3");
  std::string err;
  reader.Filename = "C:\\fehlt.cnf";
  EXPECT_FALSE(reader.FileRead(&err));
  EXPECT_FALSE(err.empty());
  reader.Filename = "C:\\gross.cnf";
  EXPECT_FALSE(reader.FileRead());
}

}  // namespace
}  // namespace krv
