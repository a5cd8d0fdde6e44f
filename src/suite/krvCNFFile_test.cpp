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
      {"; Kopf\r\n[ Backend ] ; x\r\n  Version = 2.5.0.3  \r\n", true, true, "backend", "2.5.0.3"},
      {"[Backend]\rA=1\rVersion=2.5\t; Eingabe\r", true, true, "Backend", "2.5"},
      {"[Backend]\nVersion=2.5 ; E\t\t\n", false, false, "Backend", "2.5 ; E\t\t"},
      {"[Backend]\n# Version=1\nVersion=a=b\nVersion=3", true, true, "Backend", "a=b"},
      {"Version=9\n[Backend]\nA=1\n[X]\n[backend]\nVersion=4\n[Neu\nVersion=2\n", true, true, "Backend", "4"},
      {"\xEF\xBB\xBF[Gr\xC3\xB6\xC3\x9F\x65]\nVersion=6\n", true, true, "GRÖßE", "6"},
      {"[Gr\xF6\xDF\x65]\nVersion=\xC4nderung\n", true, true, "GRÖßE", "Änderung"},
      {std::string("\xFF\xFE[\0B\0]\0\n\0V\0e\0r\0s\0i\0o\0n\0=\0\xE4\0", 28), true, true, "B", "ä"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(krvCNFFile::Parse(c.text, c.comments, c.tabs).Value(c.section, "Version"), c.expected) << c.text;
  }
}

// The elements of collection "Components" in section "qmKrvStarter", as "name=text|...".
std::string Elements(const std::string& text) {
  const CnfSections sections = krvCNFFile::Parse(text, true, true);
  const CnfSection* section = sections.Section("qmkrvstarter");
  const CnfCollection* collection = section ? section->Collection("components") : nullptr;
  if (!collection) return "-";
  std::string out;
  for (const CnfKey& e : collection->elements) out += e.name + "=" + e.value + "|";
  return out;
}

TEST(krvCNFFile, ReadsNamedCollectionsInsideASection) {
  const struct {
    const char *text, *expected;
  } cases[] = {
      {"[qmKrvStarter]\r\n{Components}\r\na.dll = A|1|{G}|WinSys|2.0 ; x\r\nb.ocx=B\r\n",
       "a.dll=A|1|{G}|WinSys|2.0|b.ocx=B|"},
      {"[qmKrvStarter]\n{ Components }\na=1\n{Other}\nb=2\n{components}\nc=3\n", "a=1|c=3|"},
      {"[qmKrvStarter]\n{Components}\na=1\n[X]\nb=2\n", "a=1|"},
      {"[qmKrvStarter]\n{Components}\na=1\n{}\nb=2\n", "a=1|"},
      {"{Components}\na=1\n[qmKrvStarter]\nb=2\n", "-"},
      {"[qmKrvStarter]\n{Components}=x\n", "-"},
      {"[qmKrvStarter]\n{Components\na=1\n", "-"},
  };
  for (const auto& c : cases) EXPECT_EQ(Elements(c.text), c.expected) << c.text;
  // Elements are no keys of the section.
  EXPECT_EQ(krvCNFFile::Parse("[S]\nV=1\n{C}\nV=2\nW=3\n", true, true).Value("S", "W"), "");
}

TEST(krvCNFFile, FileReadRefusesMissingAndHugeFiles) {
  FakeFileSystem fs;
  fs.AddFile("C:\\k.cnf", "[B]\r\nVersion=2.5\t\r\n");
  fs.AddFile("C:\\gross.cnf", std::string((4u << 20) + 1, 'x'));
  krvCNFFile reader(fs);
  reader.RemoveTrailingTabs = true;
  for (const auto& [file, want] : {std::pair{"C:\\k.cnf", "2.5"}, {"C:\\fehlt.cnf", "-"}, {"C:\\gross.cnf", "-"}}) {
    reader.Filename = file;
    std::string err;
    const auto read = reader.FileRead(&err);
    EXPECT_EQ(read ? read->Value("B", "Version") : (err.empty() ? "" : "-"), want) << file;
  }
}

}  // namespace
}  // namespace krv
