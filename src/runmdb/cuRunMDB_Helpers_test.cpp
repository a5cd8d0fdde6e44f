#include "runmdb/cuRunMDB_Helpers.h"

#include <gtest/gtest.h>

#include "testing/FakeFileSystem.h"
#include "testing/FakeRegistry.h"

namespace krv {
namespace {

using H = cuRunMDB_Helpers;

TEST(cuRunMDB_HelpersTest, AddToString) {
  struct Case {
    std::string text, add, sep;
    bool skip_empty;
    std::string want;
  } cases[] = {
      {"", "", ",", false, ""},  {"", "b", ",", true, "b"},         {"a", "", " ", false, "a "},
      {"a", "", " ", true, "a"}, {"a", "b", "%|%", false, "a%|%b"},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    H::AddToString(text, c.add, c.sep, c.skip_empty);
    EXPECT_EQ(text, c.want) << c.text << "+" << c.add;
  }
}

TEST(cuRunMDB_HelpersTest, CleanStringCutsAtNulOrTrims) {
  EXPECT_EQ(H::CleanString(std::string("abc\0   ", 7)), "abc");
  EXPECT_EQ(H::CleanString(std::string(" ab\0c", 5)), " ab");
  EXPECT_EQ(H::CleanString("  abc  "), "abc");
  EXPECT_EQ(H::CleanString(""), "");
}

TEST(cuRunMDB_HelpersTest, CountCharacter) {
  EXPECT_EQ(H::CountCharacter("a\\b\\C\\c", "c", false), 2);
  EXPECT_EQ(H::CountCharacter("a\\b\\C\\c", "c", true), 1);
  EXPECT_EQ(H::CountCharacter("Ärger ärgert", "ä", false), 2);
  EXPECT_EQ(H::CountCharacter("abab", "ab", false), 0);  // not a single character
  EXPECT_EQ(H::CountCharacter("abc", "", false), 0);
}

TEST(cuRunMDB_HelpersTest, PathPartsKeepTheirOwnRules) {
  EXPECT_EQ(H::DirUp("C:\\a\\b\\c", 1, false), "C:\\a\\b\\");
  EXPECT_EQ(H::DirUp("a/b/c/", 2, true), "a/");
  EXPECT_EQ(H::FileExtractName("a/b.txt", false), "a/b.txt");
  EXPECT_EQ(H::FileExtractName("a/b.txt", true), "b.txt");
  EXPECT_EQ(H::FileExtractPath("C:\\a\\b.txt", false, false), "C:\\a");
  EXPECT_EQ(H::FileExtractPath("C:\\a\\b.txt", false, true), "C:\\a\\");
  EXPECT_EQ(H::FileExtractPath("b.txt", false, true), "b.txt");  // no separator: the whole text
  EXPECT_EQ(H::FileExtractPath("x/y/z", true, false), "x/y");
  EXPECT_EQ(H::FileExtractRootName("/opt/a.b.mdb"), "a.b");
  EXPECT_EQ(H::FileExtractRootName("a/b\\c/d.x"), "c/d");  // a backslash wins over slashes
  EXPECT_TRUE(H::PathIsUNCName("//srv/share"));
  EXPECT_FALSE(H::PathIsUNCName("C:\\a"));
}

TEST(cuRunMDB_HelpersTest, InStrEx) {
  EXPECT_EQ(H::InStrEx("a\\b\\c\\d", "\\", 1), 2);
  EXPECT_EQ(H::InStrEx("a\\b\\c\\d", "\\", 3), 6);
  EXPECT_EQ(H::InStrEx("a\\b\\c\\d", "\\", 4), 0);
  EXPECT_EQ(H::InStrEx("a\\b", "\\", 0), 0);
  EXPECT_EQ(H::InStrEx("xAyaz", "a", 2), 4);  // letter case ignored
  EXPECT_EQ(H::InStrEx("äxäx", "X", 2), 4);   // characters, not bytes
}

TEST(cuRunMDB_HelpersTest, QuoteAndUnquote) {
  struct Case {
    std::string text;
    bool force, trim;
    std::string want, text_after;
  } cases[] = {
      {"a b", false, false, "\"a b\"", "a b"},     {" a ", false, true, "\"a\"", "a"},
      {" a ", false, false, "\" a \"", " a "},     {"\"a\"", false, true, "\"a\"", "\"a\""},
      {"\"a\"", true, true, "\"\"a\"\"", "\"a\""}, {"", false, true, "\"\"", ""},
  };
  for (Case c : cases) {
    EXPECT_EQ(H::QuoteString(c.text, c.force, c.trim), c.want);
    EXPECT_EQ(c.text, c.text_after);
  }
  std::string t = "  \"C:\\a b\"  ";
  EXPECT_EQ(H::UnQuoteString(t), "C:\\a b");
  EXPECT_EQ(t, "C:\\a b");
  t = "\"";
  EXPECT_EQ(H::UnQuoteString(t), "\"");  // a lone quote stays
  t = "\"\"";
  EXPECT_EQ(H::UnQuoteString(t), "");
}

TEST(cuRunMDB_HelpersTest, String2Array) {
  struct Case {
    std::string source, sep;
    std::vector<std::string> want;
  } cases[] = {
      {"a%|%b%|%", "%|%", {"a", "b"}},
      {"a%|%%|%b", "%|%", {"a", "", "b"}},
      {" a %|% b ", "%|%", {"a", "b"}},
      {"a%|%b%|%  ", "%|%", {"a", "b"}},
      {"a%|SUBDIR|%b", "%|SubDir|%", {"a", "b"}},
      {"only", "%|%", {"only"}},
      {"\\a\\b\\", "\\", {"a", "b"}},
      {"..\\..\\x\\", "\\", {"..", "..", "x"}},
      {",", ",", {""}},
      {"a,b", "", {"a,b"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> items;
    EXPECT_EQ(H::String2Array(c.source, &items, c.sep), static_cast<int32_t>(c.want.size())) << c.source;
    EXPECT_EQ(items, c.want) << c.source;
  }
  std::vector<std::string> untouched = {"keep"};
  EXPECT_EQ(H::String2Array("", &untouched, "%|%"), 0);
  EXPECT_EQ(untouched, std::vector<std::string>{"keep"});
}

TEST(cuRunMDB_HelpersTest, TerminateString) {
  EXPECT_EQ(H::TerminateString("", "\\"), "");
  EXPECT_EQ(H::TerminateString("C:\\a", "\\"), "C:\\a\\");
  EXPECT_EQ(H::TerminateString("C:\\a\\", "\\"), "C:\\a\\");
}

TEST(cuRunMDB_HelpersTest, FileExists) {
  FakeRegistry reg;
  FakeFileSystem fs;
  fs.AddFile("C:\\Daten\\krv.mdb");
  fs.AddFolder("C:\\Daten\\Ordner");
  const H h(reg, fs);
  EXPECT_TRUE(h.FileExists("C:\\Daten\\krv.mdb"));
  EXPECT_TRUE(h.FileExists(" \"C:\\daten\\KRV.mdb\" "));
  EXPECT_FALSE(h.FileExists("C:\\Daten\\Ordner"));
  EXPECT_FALSE(h.FileExists("C:\\Daten\\fehlt.mdb"));
  EXPECT_FALSE(h.FileExists(""));
}

TEST(cuRunMDB_HelpersTest, RegistryReads) {
  FakeRegistry reg;
  FakeFileSystem fs;
  const std::string key = "SOFTWARE\\Test";
  reg.SetString(Hive::LocalMachine, key, "Sz", "C:\\Office");
  reg.SetString(Hive::LocalMachine, key, "Blanks", "  x  ");
  reg.SetString(Hive::LocalMachine, key, "Nul", std::string("ab\0cd", 5));
  reg.SetDword(Hive::LocalMachine, key, "Dword", 7);
  std::string err;
  reg.WriteValue(Hive::LocalMachine, key, "Expand", RegValue::ExpandSz("%ProgramFiles%"), &err);
  const H h(reg, fs);
  const int32_t hklm = static_cast<int32_t>(0x80000002u);
  EXPECT_EQ(h.RegGetSettingString(hklm, key, "Sz", "def"), "C:\\Office");
  EXPECT_EQ(h.RegGetSettingString(hklm, key + "\\", "sz", "def"), "C:\\Office");
  EXPECT_EQ(h.RegGetSettingString(hklm, key, "Blanks", "def"), "  x  ");  // read as stored
  EXPECT_EQ(h.RegGetSettingString(hklm, key, "Nul", "def"), "ab");
  EXPECT_EQ(h.RegGetSettingString(hklm, key, "Expand", "def"), "def");
  EXPECT_EQ(h.RegGetSettingString(hklm, key, "Dword", "def"), "def");
  EXPECT_EQ(h.RegGetSettingString(hklm, key, "Missing", ""), "");
  EXPECT_EQ(h.RegGetSettingString(hklm, "SOFTWARE\\Nope", "Sz", "def"), "def");
  EXPECT_EQ(h.RegGetSettingString(static_cast<int32_t>(0x80000001u), key, "Sz", "def"), "def");
  EXPECT_EQ(h.RegGetSettingString(static_cast<int32_t>(0x80000005u), key, "Sz", "def"), "def");
  EXPECT_EQ(h.RegGetSettingString(-1, key, "Sz", "def"), "def");

  EXPECT_TRUE(h.RegValueExists(hklm, key, "DWORD"));
  EXPECT_TRUE(h.RegValueExists(hklm, key, "expand"));
  EXPECT_FALSE(h.RegValueExists(hklm, key, "Missing"));
  EXPECT_FALSE(h.RegValueExists(hklm, "SOFTWARE\\Nope", "Sz"));
  EXPECT_FALSE(h.RegValueExists(-1, key, "Sz"));
}

}  // namespace
}  // namespace krv
