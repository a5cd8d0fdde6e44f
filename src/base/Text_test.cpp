#include "base/Text.h"

#include <gtest/gtest.h>

#include "base/WinPath.h"

namespace krv {
namespace {

TEST(TextTest, CaseFoldingCoversGermanUmlauts) {
  EXPECT_EQ(LowerCase("ÄÖÜ Straße ABC"), "äöü straße abc");
  EXPECT_EQ(UpperCase("äöü abc"), "ÄÖÜ ABC");
  EXPECT_TRUE(IEquals("SCHLÜSSEL", "schlüssel"));
  EXPECT_EQ(IFind("a%|SubDir|%b", "%|subdir|%"), 1u);
  EXPECT_EQ(IFind("Übel übel", "ÜBEL", 1), 6u);  // byte positions survive folding
  EXPECT_EQ(IFindLast("a\\b\\c", "\\"), 3u);
  EXPECT_TRUE(IEndsWith("KRV25.MDE", ".mde"));
}

TEST(TextTest, Utf16AndCp1252) {
  const std::string text = "Grüße \xF0\x9F\x98\x80";
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  EXPECT_EQ(Utf8ToUtf16("a\xFF").back(), u'\uFFFD');
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(Cp1252ToUtf8("\x80 \xE4\xF6\xFC\xDF"), "€ äöüß");
  EXPECT_EQ(Utf8ToCp1252("€ äöüß"), "\x80 \xE4\xF6\xFC\xDF");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x98\x83"), "?");  // snowman has no ANSI form
}

TEST(TextTest, TrimTakesTheBlanksAndEndsAsked) {
  EXPECT_EQ(Trim(" \t a b \t "), "a b");
  EXPECT_EQ(Trim("\ta ", " "), "\ta");
  EXPECT_EQ(Trim("\\\\k\\", "\\", TrimEnds::kRight), "\\\\k");
}

TEST(WinPathTest, SplitsJoinsAndMatchesWildcards) {
  EXPECT_EQ(WinPathFolder("C:\\a\\b.txt"), "C:\\a\\");
  EXPECT_EQ(WinPathFolder("C:\\a/b.txt", false, "\\"), "C:");
  EXPECT_EQ(WinPathName("C:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(WinPathStem("C:\\x.y\\krv25.exe"), "krv25");
  EXPECT_EQ(WinPathRemoveSeparator(WinPathAddSeparator("C:\\a\\\\")), "C:\\a\\");
  EXPECT_TRUE(WinPathIsUnc("\\/srv"));
  EXPECT_EQ(WinPathJoin("C:\\a\\", "\\b"), "C:\\a\\b");
  const struct {
    const char *pattern, *name;
    bool match;
  } cases[] = {{"*.ldb", "DATA.LDB", true},      {"*.ldb", "data.ldbx", false},
               {"krv??.mde", "krv25.mde", true}, {"*", "", true},
               {"a*b*c", "aXbYc", true},         {"a*b*c", "aXbY", false}};
  for (const auto& c : cases) EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(WinPathTest, UpStopsAtTheRootOrClimbsOnWithSlashes) {
  const struct {
    const char* path;
    int levels;
    const char* want;
  } cases[] = {{"C:\\a\\b\\c\\", 2, "C:\\a\\"},
               {"C:\\a\\b\\c", 5, "C:\\"},
               {"\\\\srv\\share\\a\\b", 9, "\\\\srv\\share\\"},
               {"//srv\\share\\a", 3, "//srv\\share\\"},
               {"a\\b", 4, "a\\b"}};  // "a\b" has three characters: taken for a drive root
  for (const auto& c : cases) EXPECT_EQ(WinPathUp(c.path, c.levels, '\\'), c.want) << c.path << " " << c.levels;
  EXPECT_EQ(WinPathUp("a/b", 3, '/'), "../../a/b/");  // above the start: "../" once more than the levels missing
}

TEST(TextTest, NumericValueReadsSettingsTexts) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"0", 0.0},       {" 2 ", 2.0},   {"-1", -1.0}, {"1.5", 1.5},    {"1,5", 1.5},  {"1e1", 10.0},
      {"&H1aF", 431.0}, {"&o17", 15.0}, {"  ", {}},   {"1x", {}},      {"1.2.3", {}}, {"&H", {}},
      {"&HFG", {}},     {"+", {}},      {"1e", {}},   {"1e99999", {}}, {".", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(NumericValue(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace krv
