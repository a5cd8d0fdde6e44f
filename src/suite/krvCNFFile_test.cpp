#include "suite/krvCNFFile.h"

#include <gtest/gtest.h>

#include "testing/FakeFileSystem.h"

namespace krv {
namespace {

struct Case {
  const char* name;
  std::string text;
  bool comments, tabs;
  const char* section;
  const char* key;
  const char* expected;
};

TEST(krvCNFFile, ReadsValues) {
  const Case cases[] = {
      {"plain", "[Backend]\nVersion=2.5.0.3\n", true, true, "Backend", "Version", "2.5.0.3"},
      {"crlf and blanks", "[ Backend ]\r\n  Version = 2.5.0.3  \r\n", true, true, "Backend", "Version", "2.5.0.3"},
      {"cr only", "[Backend]\rVersion=1\rOther=2\r", true, true, "Backend", "Other", "2"},
      {"letter case", "[BACKEND]\nversion=7\n", true, true, "Backend", "Version", "7"},
      {"comment removed", "[Backend]\nVersion=2.5.0.3 ; Eingabe\n", true, true, "Backend", "Version", "2.5.0.3"},
      {"comment kept", "[Backend]\nVersion=2.5.0.3 ; Eingabe\n", false, true, "Backend", "Version",
       "2.5.0.3 ; Eingabe"},
      {"hash line", "[Backend]\n# Version=1\nVersion=2\n", true, true, "Backend", "Version", "2"},
      {"comment in header line", "; Kopf\n[Backend] ; Abschnitt\nVersion=3\n", true, true, "Backend", "Version", "3"},
      {"tabs removed", "[Backend]\nVersion=2.5\t\t\n", true, true, "Backend", "Version", "2.5"},
      {"tabs kept", "[Backend]\nVersion=2.5\t\t\n", true, false, "Backend", "Version", "2.5\t\t"},
      {"tabs before comment", "[Backend]\nVersion=2.5\t; x\n", true, true, "Backend", "Version", "2.5"},
      {"equals in value", "[Pfade]\nPfad=a=b\n", true, true, "Pfade", "Pfad", "a=b"},
      {"first key wins", "[Backend]\nVersion=1\nVersion=2\n", true, true, "Backend", "Version", "1"},
      {"repeated section adds", "[Backend]\nA=1\n[X]\n[backend]\nVersion=4\n", true, true, "Backend", "Version", "4"},
      {"key before section", "Version=9\n[Backend]\n", true, true, "Backend", "Version", ""},
      {"unclosed header", "[Backend]\nVersion=1\n[Neu\nVersion=2\n", true, true, "Backend", "Version", "1"},
      {"missing section", "[Frontend]\nVersion=1\n", true, true, "Backend", "Version", ""},
      {"no line end", "[Backend]\nVersion=5", true, true, "Backend", "Version", "5"},
      {"utf-8 bom", "\xEF\xBB\xBF[Backend]\nVersion=6\n", true, true, "Backend", "Version", "6"},
      {"windows-1252", "[Gr\xF6\xDF\x65]\nWert=\xC4nderung\n", true, true, "Größe", "Wert", "Änderung"},
      {"utf-8 umlauts", "[Größe]\nWert=Änderung\n", true, true, "GRÖßE", "Wert", "Änderung"},
      {"utf-16", std::string("\xFF\xFE[\0B\0]\0\n\0V\0=\0\xE4\0", 16), true, true, "B", "V", "ä"},
  };
  for (const Case& c : cases) {
    const CnfSections sections = krvCNFFile::Parse(c.text, c.comments, c.tabs);
    EXPECT_EQ(sections.Value(c.section, c.key), c.expected) << c.name;
  }
}

TEST(krvCNFFile, KeepsSectionsAndKeysInFileOrder) {
  const CnfSections sections = krvCNFFile::Parse("[A]\nx=1\ny=2\n[B]\n[a]\nz=3\n", true, true);
  ASSERT_EQ(sections.items.size(), 2u);
  EXPECT_EQ(sections.items[0].name, "A");
  EXPECT_EQ(sections.items[1].name, "B");
  ASSERT_EQ(sections.items[0].keys.size(), 3u);
  EXPECT_EQ(sections.items[0].keys[2].name, "z");
}

TEST(krvCNFFile, FileRead) {
  FakeFileSystem fs;
  fs.AddFile("C:\\Programme\\Korvella\\krvup25.cnf", "[Backend]\r\nVersion=2.5.0.3\t\r\n");
  krvCNFFile reader(fs);
  reader.Filename = "C:\\Programme\\Korvella\\krvup25.cnf";
  reader.RemoveComments = true;
  reader.RemoveTrailingTabs = true;
  auto sections = reader.FileRead();
  ASSERT_TRUE(sections);
  EXPECT_EQ(sections->Value("Backend", "Version"), "2.5.0.3");

  std::string err;
  reader.Filename = "C:\\Programme\\Korvella\\fehlt.cnf";
  EXPECT_FALSE(reader.FileRead(&err));
  EXPECT_FALSE(err.empty());

  fs.AddFile("C:\\gross.cnf", std::string((4u << 20) + 1, 'x'));
  reader.Filename = "C:\\gross.cnf";
  EXPECT_FALSE(reader.FileRead());
}

}  // namespace
}  // namespace krv
